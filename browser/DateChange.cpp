#include "DateChange.h"

#include "BrowserItem.h"
#include "NativeFileName.h"

#include <QFile>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr qint64 NsPerSecond = 1000000000;

bool changeOnce(const QString &path, QSet<QString> &done)
{
    if (done.contains(path))
        return false;
    done.insert(path);
    return true;
}

} // namespace

QDateTime DateChange::modificationDate(const QString &path)
{
    struct stat status {
    };
    if (::lstat(NativeFileName::toNative(path).constData(), &status) != 0)
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(status.st_mtim.tv_sec) * 1000
                                          + status.st_mtim.tv_nsec / 1000000);
}

bool DateChange::modifyObjectDate(const QString &path, const QDateTime &date, bool absolute,
                                  double variation, QString *error)
{
    const QByteArray name = NativeFileName::toNative(path);
    struct stat status {
    };
    if (::lstat(name.constData(), &status) != 0)
        return true;
    qint64 ns = date.toMSecsSinceEpoch() * 1000000;
    if (!absolute)
        ns = qint64(status.st_mtim.tv_sec) * NsPerSecond + status.st_mtim.tv_nsec
            + qint64(std::llround(variation * double(NsPerSecond)));
    struct timespec times[2]{};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(ns / NsPerSecond);
    times[1].tv_nsec = long(ns % NsPerSecond);
    if (times[1].tv_nsec < 0) {
        times[1].tv_nsec += NsPerSecond;
        times[1].tv_sec -= 1;
    }
    if (::utimensat(AT_FDCWD, name.constData(), times, AT_SYMLINK_NOFOLLOW) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

void DateChange::modifyDateToChildrenOf(BrowserItem *node, const QDateTime &date, bool absolute,
                                        double variation, QList<Failure> &failures,
                                        QSet<QString> &done)
{
    const BrowserItem::Children *children = node->children();
    if (!children)
        return;
    for (const std::unique_ptr<BrowserItem> &child : *children) {
        const QString path = child->getPath();
        QString error;
        if (changeOnce(path, done) && !modifyObjectDate(path, date, absolute, variation, &error))
            failures.append({path, error});
        if (child->isDirectory())
            modifyDateToChildrenOf(child.get(), date, absolute, variation, failures, done);
    }
}

QList<DateChange::Failure> DateChange::run(const QList<BrowserItem *> &items,
                                           const QDateTime &chosen, bool absolute, double variation,
                                           bool insideFolders)
{
    QList<Failure> failures;
    QSet<QString> done;
    for (BrowserItem *item : items) {
        const QString path = item->getPath();
        QString error;
        if (changeOnce(path, done) && !modifyObjectDate(path, chosen, absolute, variation, &error))
            failures.append({path, error});
        if (insideFolders && item->isDirectory())
            modifyDateToChildrenOf(item, chosen, absolute, variation, failures, done);
    }
    return failures;
}
