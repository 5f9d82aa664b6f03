#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <sys/stat.h>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

// Where a walk stopped short, and why: said in the log and shown beside the folder.
struct DocumentWalkCut {
    enum class Reason { None, Depth, Total };
    Reason reason = Reason::None;
    QString where; // the first folder not entered (or not listed) because of it

    bool operator==(const DocumentWalkCut &) const = default;
};

// What the walk found under one included folder.
struct DocumentFolderReport {
    QString folder;
    int entries = 0;
    DocumentWalkCut cut;

    bool operator==(const DocumentFolderReport &) const = default;
};

struct DocumentWalkLimits {
    // Levels of folders below an included folder; deeper folders are listed, not entered.
    int maxDepth = 24;
    // Entries of all included folders together.
    int maxEntries = 200000;
};

// What one walk saw, for the next one: a rescan first checks every folder seen, and when none
// changed (same identity, same change times) the result is the one already held.
struct DocumentWalkCache {
    struct Status {
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
        timespec changed{};
        ino_t hiddenListInode = 0; // the folder's ".hidden", 0 without one
        timespec hiddenListChanged{};
        bool operator==(const Status &other) const;
    };
    struct Child {
        QByteArray name;
        bool isFolder = false;
    };
    struct Folder {
        Status status;
        QList<Child> children; // the visible ones, sorted by name
        bool cacheTagged = false;
    };

    QHash<QByteArray, Folder> folders; // by native path
    QStringList roots;
    DocumentWalkLimits limits;
    QList<DocumentFolderReport> reports;
    bool complete = false; // set by a walk that ran to its end
};

// Lists the files and folders inside the included folders ("FilesList" folders whose "F" is 1),
// as kind 2 records, under the rules of docs/documents.md: no hidden entries (a leading "." or
// named in the folder's ".hidden"), no link to a folder followed, no other file system entered,
// no cache folder entered (CACHEDIR.TAG, ".git", "node_modules", "__pycache__"), a depth limit
// and a cap on the whole. Any thread; one walk at a time per cache.
class DocumentFolderWalk
{
public:
    struct Result {
        QVariantList records;
        QList<DocumentFolderReport> folders; // one per included folder, in order
        bool unchanged = false; // nothing seen changed since the cache's walk: records are empty
        bool stopped = false;
    };

    // Called with the native path of every folder entered (the watch follows them).
    using FolderVisitor = std::function<void(const QByteArray &path)>;

    explicit DocumentFolderWalk(DocumentWalkLimits limits = {},
                                std::shared_ptr<DocumentWalkCache> cache = {});

    // The walk stops early (result `stopped`) once `stop` is set; `progress` counts the entries
    // found so far.
    void setStopFlag(const std::atomic<bool> *stop) { mStop = stop; }
    void setProgress(std::atomic<int> *progress) { mProgress = progress; }
    void setFolderVisitor(FolderVisitor visitor) { mVisitor = std::move(visitor); }

    Result walk(const QStringList &roots);

    // The record of one entry: "x" 2, "T" its name as shown, "P" its path, "D" 1 or 0, and for a
    // path that is not UTF-8 "N", its bytes (the archive's text strings cannot carry them).
    static QVariantMap record(const QByteArray &nativePath, const QByteArray &name, bool isFolder);
    // Puts back in "P" the bytes kept in "N", after a read of the stored list.
    static void restoreNativePaths(QVariantList &records);
    // The included folders of a "FilesList": the folder records whose "F" is 1.
    static QStringList includedFolders(const QVariantList &filesList);
    static QString cutText(const DocumentWalkCut &cut);

private:
    bool isUnchanged(const QStringList &roots) const;
    void walkFolder(const QByteArray &path, int depth, dev_t device, DocumentFolderReport &report,
                    QVariantList &records);
    const DocumentWalkCache::Folder *listFolder(const QByteArray &path,
                                                const DocumentWalkCache::Status &status);
    bool stopping() const { return mStop && mStop->load(std::memory_order_relaxed); }

    DocumentWalkLimits mLimits;
    std::shared_ptr<DocumentWalkCache> mCache;
    const std::atomic<bool> *mStop = nullptr;
    std::atomic<int> *mProgress = nullptr;
    FolderVisitor mVisitor;
    QSet<QByteArray> mRoots;
    QSet<QByteArray> mSeen;
    QSet<std::pair<dev_t, ino_t>> mEntered;
    int mTotal = 0;
    bool mStopped = false;
};
