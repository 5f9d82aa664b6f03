#pragma once

// Stand-ins for the desktop's search sources, written from the published interfaces
// (org.gnome.Shell.SearchProvider2, org.kde.krunner1), served from the test program or a bench.
#include "RunnerTypes.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

// Answers texts beginning with `trigger` (any text when it is empty) with the results "alpha"
// and "beta", after delayMs when given. "alpha" comes with pixel data, a red square of
// StandInProvider::Side pixels whose rows are padded; "beta" with a serialized themed icon.
class StandInProvider : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")
public:
    static constexpr int Side = 6;
    static constexpr int Rowstride = Side * 4 + 8;
    inline static const QString ThemedIcon = QStringLiteral("zqxj-beta-result");

    StandInProvider(QString prefix, int delayMs, QString trigger = QStringLiteral("zqxj"))
        : mPrefix(std::move(prefix))
        , mDelayMs(delayMs)
        , mTrigger(std::move(trigger))
    {
    }
    QStringList activated; // "id terms"
    QStringList launched;
    uint lastTimestamp = 0;
    int questions = 0;

public slots:
    QStringList GetInitialResultSet(const QStringList &terms) { return results(terms); }
    QStringList GetSubsearchResultSet(const QStringList &, const QStringList &terms)
    {
        return results(terms);
    }
    QList<QVariantMap> GetResultMetas(const QStringList &ids)
    {
        QList<QVariantMap> metas;
        for (const QString &id : ids) {
            QVariantMap meta{{"id", id},
                             {"name", QStringLiteral("Zqxj %1 %2").arg(mPrefix, id)},
                             {"description", QStringLiteral("about %1").arg(id)}};
            if (id == QLatin1String("alpha"))
                meta.insert("icon-data", QVariant::fromValue(redSquare()));
            else if (id == QLatin1String("beta"))
                meta.insert("icon", QVariant::fromValue(themed()));
            metas.append(meta);
        }
        return metas;
    }
    void ActivateResult(const QString &id, const QStringList &terms, uint timestamp)
    {
        activated.append(id + ' ' + terms.join(','));
        lastTimestamp = timestamp;
    }
    void LaunchSearch(const QStringList &terms, uint timestamp)
    {
        launched.append(terms.join(','));
        lastTimestamp = timestamp;
    }

private:
    // (iiibiiay): width, height, rowstride, has alpha, bits per sample, channels, data.
    static QDBusArgument redSquare()
    {
        QByteArray data(Rowstride * Side, '\0');
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x)
                data.replace(y * Rowstride + x * 4, 4, QByteArray("\xff\x00\x00\xff", 4));
        QDBusArgument pixels;
        pixels.beginStructure();
        pixels << Side << Side << Rowstride << true << 8 << 4 << data;
        pixels.endStructure();
        return pixels;
    }
    // g_icon_serialize's ('themed', <['name', ...]>).
    static QDBusArgument themed()
    {
        QDBusArgument icon;
        icon.beginStructure();
        icon << QStringLiteral("themed")
             << QDBusVariant(QStringList{ThemedIcon, QStringLiteral("zqxj-missing")});
        icon.endStructure();
        return icon;
    }

    QStringList results(const QStringList &terms)
    {
        ++questions;
        const QStringList ids =
            terms.join(' ').startsWith(mTrigger) ? QStringList{"alpha", "beta"} : QStringList();
        if (mDelayMs == 0)
            return ids;
        setDelayedReply(true);
        QTimer::singleShot(mDelayMs, this,
                           [bus = connection(), reply = message().createReply(QVariant(ids))] {
                               bus.send(reply);
                           });
        return {};
    }

    QString mPrefix;
    int mDelayMs = 0;
    QString mTrigger;
};

// One match for texts beginning with "zqxj", offering the first of the runner's two actions.
class StandInRunner : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")
public:
    inline static const QString OfferedAction = QStringLiteral("Zqxj copy the row");
    inline static const QString OtherAction = QStringLiteral("Zqxj not for this row");

    QStringList ran; // "id action"
    int teardowns = 0;

public slots:
    RunnerActions Actions()
    {
        return {{"copy", OfferedAction, "edit-copy"}, {"other", OtherAction, "edit-delete"}};
    }
    RunnerMatches Match(const QString &query)
    {
        if (!query.startsWith(QLatin1String("zqxj")))
            return {};
        return {{"r1",
                 "Zqxj runner row",
                 "system-run",
                 100,
                 1.0,
                 {{"subtext", "ran here"}, {"actions", QStringList{"copy"}}}}};
    }
    void Run(const QString &id, const QString &action) { ran.append(id + ' ' + action); }
    QVariantMap Config() { return {}; }
    void Teardown() { ++teardowns; }
};
