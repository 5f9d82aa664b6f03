#pragma once

// Stand-ins for the desktop's search sources, written from the published interfaces
// (org.gnome.Shell.SearchProvider2, org.kde.krunner1), served from the test program.
#include "RunnerTypes.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

// Answers "zqxj" with two results, after delayMs when given.
class StandInProvider : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")
public:
    StandInProvider(QString prefix, int delayMs)
        : mPrefix(std::move(prefix))
        , mDelayMs(delayMs)
    {
    }
    QStringList activated; // "id terms"
    QStringList launched;
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
        for (const QString &id : ids)
            metas.append({{"id", id},
                          {"name", QStringLiteral("Zqxj %1 %2").arg(mPrefix, id)},
                          {"description", QStringLiteral("about %1").arg(id)}});
        return metas;
    }
    void ActivateResult(const QString &id, const QStringList &terms, uint)
    {
        activated.append(id + ' ' + terms.join(','));
    }
    void LaunchSearch(const QStringList &terms, uint) { launched.append(terms.join(',')); }

private:
    QStringList results(const QStringList &terms)
    {
        ++questions;
        const QStringList ids = terms.join(' ').startsWith(QLatin1String("zqxj"))
            ? QStringList{"alpha", "beta"}
            : QStringList();
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
};

class StandInRunner : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")
public:
    QStringList ran; // "id action"

public slots:
    RunnerActions Actions() { return {}; }
    RunnerMatches Match(const QString &query)
    {
        if (!query.startsWith(QLatin1String("zqxj")))
            return {};
        return {{"r1", "Zqxj runner row", "system-run", 100, 1.0, {{"subtext", "ran here"}}}};
    }
    void Run(const QString &id, const QString &action) { ran.append(id + ' ' + action); }
};
