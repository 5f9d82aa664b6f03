#include "SourcesRead.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QVariantMap>

#include <algorithm>

namespace {

QMutex &mutex()
{
    static QMutex lock;
    return lock;
}

QList<SourcesRead::Source> &current()
{
    static QList<SourcesRead::Source> sources;
    return sources;
}

QString originName(SourcesRead::Origin origin)
{
    switch (origin) {
    case SourcesRead::Origin::Eds:
        return QStringLiteral("eds");
    case SourcesRead::Origin::EdsFiles:
        return QStringLiteral("edsFiles");
    case SourcesRead::Origin::Thunderbird:
        return QStringLiteral("thunderbird");
    case SourcesRead::Origin::Kde:
        return QStringLiteral("kde");
    case SourcesRead::Origin::User:
        break;
    }
    return QStringLiteral("user");
}

} // namespace

void SourcesRead::replace(Kind kind, const QList<Source> &sources)
{
    const QMutexLocker lock(&mutex());
    QList<Source> kept;
    for (const Source &source : std::as_const(current())) {
        if (source.kind != kind)
            kept.append(source);
    }
    kept += sources;
    std::stable_sort(kept.begin(), kept.end(), [](const Source &a, const Source &b) {
        return a.kind == Kind::Contacts && b.kind == Kind::Calendar;
    });
    current() = std::move(kept);
}

QList<SourcesRead::Source> SourcesRead::all()
{
    const QMutexLocker lock(&mutex());
    return current();
}

QVariantList SourcesRead::toVariantList(const QList<Source> &sources)
{
    QVariantList list;
    for (const Source &source : sources) {
        list.append(QVariantMap{{QStringLiteral("kind"),
                                 source.kind == Kind::Contacts ? QStringLiteral("contacts")
                                                               : QStringLiteral("calendar")},
                                {QStringLiteral("origin"), originName(source.origin)},
                                {QStringLiteral("name"), source.name},
                                {QStringLiteral("count"), source.count}});
    }
    return list;
}

QString SourcesRead::displayPath(const QString &path)
{
    const QString home = QDir::homePath();
    const QString clean = QDir::cleanPath(path);
    if (clean == home)
        return QStringLiteral("~");
    if (clean.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + clean.mid(home.size());
    return clean;
}

QString SourcesRead::thunderbirdName(const QString &store)
{
    const QFileInfo file(store);
    QDir folder = file.dir();
    // The calendars are one folder down, in "calendar-data".
    if (folder.dirName() == QLatin1String("calendar-data"))
        folder.cdUp();
    // Profile folders are named "<random>.<profile name>".
    const QString profile = folder.dirName();
    const qsizetype dot = profile.indexOf(QLatin1Char('.'));
    const QString name = dot >= 0 && dot + 1 < profile.size() ? profile.mid(dot + 1) : profile;
    return name + QStringLiteral(" · ") + file.fileName();
}
