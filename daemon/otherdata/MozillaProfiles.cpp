#include "MozillaProfiles.h"

#include "BoundedFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

QStringList profilesNamedIn(const QString &root)
{
    const QString ini = root + QStringLiteral("/profiles.ini");
    const BoundedFile::Result read = BoundedFile::read(ini, BoundedFile::Limit::FirefoxProfiles);
    BoundedFile::logFailure(ini, read);
    QStringList profiles;
    bool inProfile = false;
    QString path;
    bool relative = true;
    const auto finish = [&] {
        if (inProfile && !path.isEmpty())
            profiles << (relative ? root + QLatin1Char('/') + path : path);
        path.clear();
        relative = true;
    };
    for (const QByteArray &raw : read.bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            finish();
            inProfile = line.startsWith(QLatin1String("[Profile"));
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inProfile || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Path"))
            path = value;
        else if (key == QLatin1String("IsRelative"))
            relative = value != QLatin1String("0");
    }
    finish();
    return profiles;
}

} // namespace

QStringList MozillaProfiles::folders(const QStringList &roots)
{
    QStringList folders;
    QSet<QString> seen;
    const auto add = [&](const QString &folder) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (!canonical.isEmpty() && !seen.contains(canonical)) {
            seen.insert(canonical);
            folders << canonical;
        }
    };
    for (const QString &root : roots) {
        for (const QString &profile : profilesNamedIn(root))
            add(profile);
        const QDir dir(root);
        for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (name.endsWith(QLatin1String(".default"))
                || name.endsWith(QLatin1String(".default-release")))
                add(dir.filePath(name));
        }
    }
    return folders;
}

QStringList MozillaProfiles::thunderbirdRoots()
{
    const QString home = QDir::homePath();
    return {home + QStringLiteral("/.thunderbird"),
            home + QStringLiteral("/.var/app/org.mozilla.Thunderbird/.thunderbird"),
            home + QStringLiteral("/snap/thunderbird/common/.thunderbird")};
}
