#include "DocumentFolderWalk.h"

#include "FolderEntries.h"

#include "BoundedFile.h"
#include "ItemRecord.h"
#include "NativeFileName.h"
#include "QOR_StringUtils.h"

#include <QVariantMap>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

namespace {

// A folder's ".hidden" edited in place leaves the folder's own times as they were: its times
// are part of the folder's.
DocumentWalkCache::Status statusOf(const QByteArray &path, const struct stat &info)
{
    DocumentWalkCache::Status status{info.st_dev, info.st_ino, info.st_mtim, info.st_ctim, 0, {}};
    struct stat hidden {
    };
    if (stat((path + "/.hidden").constData(), &hidden) == 0) {
        status.hiddenListInode = hidden.st_ino;
        status.hiddenListChanged = hidden.st_ctim;
    }
    return status;
}

// Folders that only programs fill, by name; ".git" and the like are hidden already.
bool isCacheFolderName(const QByteArray &name)
{
    return name == "node_modules" || name == "__pycache__";
}

QSet<QByteArray> hiddenNames(const QByteArray &folder)
{
    QSet<QByteArray> names;
    const BoundedFile::Result read =
        BoundedFile::readNative(folder + "/.hidden", BoundedFile::Limit::HiddenList);
    if (!read.isRead())
        return names;
    for (const QByteArray &line : read.bytes.split('\n')) {
        const QByteArray name = line.endsWith('\r') ? line.chopped(1) : line;
        if (!name.isEmpty())
            names.insert(name);
    }
    return names;
}

// The visible names of a folder, links resolved to what they lead to (a link to a folder is left
// out: following it could loop).
bool readFolder(const QByteArray &path, DocumentWalkCache::Folder &folder)
{
    bool hasHiddenList = false;
    const bool read = FolderEntries::read(
        path,
        [&folder](const char *entryName, unsigned char type, int fd) {
            if (type == DT_UNKNOWN || type == DT_LNK) {
                struct stat info {
                };
                const int flags = type == DT_LNK ? 0 : AT_SYMLINK_NOFOLLOW;
                if (fstatat(fd, entryName, &info, flags) != 0)
                    return;
                if (type == DT_LNK)
                    type = S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
                else
                    type = S_ISDIR(info.st_mode) ? DT_DIR
                        : S_ISREG(info.st_mode)  ? DT_REG
                                                 : DT_UNKNOWN;
            }
            if (type != DT_DIR && type != DT_REG)
                return;
            const QByteArray name(entryName);
            if (type == DT_DIR && isCacheFolderName(name))
                return;
            if (type == DT_REG && name == "CACHEDIR.TAG")
                folder.cacheTagged = true;
            folder.children.append({name, type == DT_DIR});
        },
        [&hasHiddenList](const char *name) {
            hasHiddenList = hasHiddenList || qstrcmp(name, ".hidden") == 0;
        });
    if (!read)
        return false;
    if (hasHiddenList) {
        const QSet<QByteArray> hidden = hiddenNames(path);
        folder.children.removeIf([&hidden](const DocumentWalkCache::Child &child) {
            return hidden.contains(child.name);
        });
    }
    std::sort(folder.children.begin(), folder.children.end(),
              [](const auto &a, const auto &b) { return a.name < b.name; });
    return true;
}

QByteArray withoutTrailingSlashes(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

} // namespace

bool DocumentWalkCache::Status::operator==(const Status &other) const
{
    return device == other.device && inode == other.inode
        && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
        && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec
        && hiddenListInode == other.hiddenListInode
        && hiddenListChanged.tv_sec == other.hiddenListChanged.tv_sec
        && hiddenListChanged.tv_nsec == other.hiddenListChanged.tv_nsec;
}

DocumentFolderWalk::DocumentFolderWalk(DocumentWalkLimits limits,
                                       std::shared_ptr<DocumentWalkCache> cache)
    : mLimits(limits)
    , mCache(cache ? std::move(cache) : std::make_shared<DocumentWalkCache>())
{
}

QVariantMap DocumentFolderWalk::record(const QByteArray &nativePath, const QByteArray &name,
                                       bool isFolder)
{
    using namespace ItemRecord;
    const QString path = NativeFileName::fromNative(nativePath);
    QVariantMap record{{KeyKind, int(KindFile)},
                       {KeyTitle, NativeFileName::forDisplay(NativeFileName::fromNative(name))},
                       {KeyPath, path},
                       {KeyIsFolder, isFolder ? 1 : 0}};
    if (NativeFileName::hasEscapes(path))
        record.insert(QStringLiteral("N"), nativePath);
    return record;
}

void DocumentFolderWalk::restoreNativePaths(QVariantList &records)
{
    const QString key = QStringLiteral("N");
    for (QVariant &item : records) {
        // Most records have no such key: only those are copied.
        if (!item.toMap().contains(key))
            continue;
        QVariantMap record = item.toMap();
        record.insert(ItemRecord::KeyPath,
                      NativeFileName::fromNative(record.value(key).toByteArray()));
        item = record;
    }
}

QStringList DocumentFolderWalk::includedFolders(const QVariantList &filesList)
{
    QStringList folders;
    for (const QVariant &item : filesList) {
        const QVariantMap record = item.toMap();
        const QString path = record.value(ItemRecord::KeyPath).toString();
        if (record.value(ItemRecord::KeyIsFolder).toInt() != 0
            && record.value(ItemRecord::KeyFolderContents).toInt() == 1 && !path.isEmpty()
            && !folders.contains(path))
            folders << path;
    }
    return folders;
}

QString DocumentFolderWalk::cutText(const DocumentWalkCut &cut)
{
    switch (cut.reason) {
    case DocumentWalkCut::Reason::Depth:
        return QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("DocumentsCutDepth"))
            .arg(cut.where);
    case DocumentWalkCut::Reason::Total:
        return QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("DocumentsCutTotal"))
            .arg(cut.where);
    case DocumentWalkCut::Reason::None:
        break;
    }
    return {};
}

bool DocumentFolderWalk::isUnchanged(const QStringList &roots) const
{
    if (!mCache->complete || mCache->roots != roots || mCache->limits.maxDepth != mLimits.maxDepth
        || mCache->limits.maxEntries != mLimits.maxEntries)
        return false;
    for (auto it = mCache->folders.cbegin(); it != mCache->folders.cend(); ++it) {
        struct stat info {
        };
        if (stopping() || stat(it.key().constData(), &info) != 0 || !S_ISDIR(info.st_mode)
            || !(statusOf(it.key(), info) == it->status))
            return false;
    }
    // An included folder that was missing may have come.
    for (const DocumentFolderReport &report : std::as_const(mCache->reports)) {
        if (!mCache->folders.contains(
                withoutTrailingSlashes(NativeFileName::toNative(report.folder))))
            if (access(NativeFileName::toNative(report.folder).constData(), F_OK) == 0)
                return false;
    }
    return true;
}

DocumentFolderWalk::Result DocumentFolderWalk::walk(const QStringList &roots)
{
    Result result;
    if (isUnchanged(roots)) {
        result.unchanged = true;
        result.folders = mCache->reports;
        if (mVisitor) {
            for (auto it = mCache->folders.cbegin(); it != mCache->folders.cend(); ++it)
                mVisitor(it.key());
        }
        return result;
    }
    mCache->complete = false;
    for (const QString &root : roots)
        mRoots.insert(withoutTrailingSlashes(NativeFileName::toNative(root)));

    for (const QString &root : roots) {
        DocumentFolderReport report{root, 0, {}};
        const QByteArray path = withoutTrailingSlashes(NativeFileName::toNative(root));
        struct stat info {
        };
        // The included folder itself may be a link (a home on another disk); only what lies
        // inside it is held to the rules.
        if (!mStopped && stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode))
            walkFolder(path, 0, info.st_dev, report, result.records);
        result.folders << report;
    }

    result.stopped = mStopped;
    if (!mStopped) {
        for (auto it = mCache->folders.begin(); it != mCache->folders.end();)
            it = mSeen.contains(it.key()) ? std::next(it) : mCache->folders.erase(it);
        mCache->roots = roots;
        mCache->limits = mLimits;
        mCache->reports = result.folders;
        mCache->complete = true;
    }
    return result;
}

const DocumentWalkCache::Folder *
DocumentFolderWalk::listFolder(const QByteArray &path, const DocumentWalkCache::Status &status)
{
    mSeen.insert(path);
    auto cached = mCache->folders.find(path);
    if (cached != mCache->folders.end() && cached->status == status)
        return &*cached;
    DocumentWalkCache::Folder folder{status, {}, false};
    if (!readFolder(path, folder)) {
        mCache->folders.remove(path);
        mSeen.remove(path);
        return nullptr;
    }
    return &*mCache->folders.insert(path, std::move(folder));
}

void DocumentFolderWalk::walkFolder(const QByteArray &path, int depth, dev_t device,
                                    DocumentFolderReport &report, QVariantList &records)
{
    if (stopping()) {
        mStopped = true;
        return;
    }
    struct stat info {
    };
    if (stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return;
    // Another disk mounted below an included folder is only walked when it is included itself;
    // bind mounts can loop without any link.
    const std::pair<dev_t, ino_t> identity{info.st_dev, info.st_ino};
    if (info.st_dev != device || mEntered.contains(identity))
        return;
    mEntered.insert(identity);
    const DocumentWalkCache::Folder *listed = listFolder(path, statusOf(path, info));
    if (!listed)
        return;
    if (mVisitor)
        mVisitor(path);
    if (listed->cacheTagged)
        return;
    // The cache may grow while the subfolders are walked.
    const QList<DocumentWalkCache::Child> children = listed->children;

    const QByteArray prefix = path == "/" ? path : path + '/';
    for (const DocumentWalkCache::Child &child : children) {
        const QByteArray childPath = prefix + child.name;
        if (mTotal >= mLimits.maxEntries) {
            if (report.cut.reason == DocumentWalkCut::Reason::None)
                report.cut = {DocumentWalkCut::Reason::Total, NativeFileName::fromNative(path)};
            return;
        }
        // A folder included on its own is listed there, not twice.
        if (child.isFolder && mRoots.contains(childPath))
            continue;
        records.append(record(childPath, child.name, child.isFolder));
        ++mTotal;
        ++report.entries;
        if (mProgress && (mTotal & 1023) == 0)
            mProgress->store(mTotal, std::memory_order_relaxed);
        if (!child.isFolder)
            continue;
        if (depth + 1 > mLimits.maxDepth) {
            if (report.cut.reason == DocumentWalkCut::Reason::None)
                report.cut = {DocumentWalkCut::Reason::Depth,
                              NativeFileName::fromNative(childPath)};
            continue;
        }
        walkFolder(childPath, depth + 1, device, report, records);
        if (mStopped)
            return;
    }
    if (mProgress)
        mProgress->store(mTotal, std::memory_order_relaxed);
}
