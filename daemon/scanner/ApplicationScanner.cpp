#include "ApplicationScanner.h"

#include "ApplicationFolderWalk.h"
#include "CommonKorvaleClass.h"
#include "ItemEditing.h"
#include "ItemRecord.h"
#include "TextMatching.h"

#include <QEventLoop>
#include <QHash>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int RescanFoldersRetryMs = 2000;

std::optional<QString> titleOf(const QVariantMap &record)
{
    const auto title = record.constFind(ItemRecord::KeyTitle);
    if (title == record.constEnd())
        return std::nullopt;
    return title->toString();
}

} // namespace

ApplicationScanner::ApplicationScanner(QObject *parent)
    : QObject(parent)
    , mOwnFile(DataFileName::Applications, &ListMerge::byPath, &ItemEditing::sortApplications)
    , mScanCache(std::make_shared<ApplicationScanCache>())
{
    mScanPool.setMaxThreadCount(1);
}

ApplicationScanner::~ApplicationScanner()
{
    mScanFuture.waitForFinished();
}

void ApplicationScanner::setApplicationsFolders(const QStringList &folders)
{
    mApplicationsFolders = folders;
}

bool ApplicationScanner::launchScanApplicationsProcess()
{
    if (mScanningForApplications)
        return false;
    mScanningForApplications = true;
    const QStringList folders = mApplicationsFolders;
    mScanFuture = QtConcurrent::run(&mScanPool, [this, folders, cache = mScanCache] {
        QVariantList found = scanFolders(folders, cache);
        // The flag is cleared on this object's thread once the list is merged, so a request
        // arriving in between still sees the scan running. Dropped if the scanner is gone.
        QMetaObject::invokeMethod(
            this,
            [this, found = std::move(found)] {
                const bool changed = scanCompleted(found);
                mScanningForApplications = false;
                emit scanFinished(changed);
            },
            Qt::QueuedConnection);
    });
    return true;
}

QVariantList ApplicationScanner::scanFolders(const QStringList &folders,
                                             std::shared_ptr<ApplicationScanCache> cache)
{
    QVariantList found;
    ApplicationFolderWalk walk(std::move(cache));
    for (const QString &folder : folders)
        walk.scanFolder(folder, found);
    walk.finish();
    return found;
}

int ApplicationScanner::sortTitleFunction(const QVariantMap &a, const QVariantMap &b)
{
    const std::weak_ordering order = TextMatching::compareTitles(titleOf(a), titleOf(b));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

QVariantList ApplicationScanner::mergeScannedList(QVariantList newList, const QVariantList &oldList)
{
    // Titles taken out once: the sort compares each many times.
    struct Titled {
        std::optional<QString> title;
        QVariant record;
    };
    std::vector<Titled> titled;
    titled.reserve(std::size_t(newList.size()));
    for (const QVariant &item : std::as_const(newList))
        titled.push_back({titleOf(item.toMap()), item});
    std::stable_sort(titled.begin(), titled.end(), [](const Titled &a, const Titled &b) {
        return TextMatching::compareTitles(a.title, b.title) < 0;
    });
    for (std::size_t i = 0; i < titled.size(); ++i)
        newList[qsizetype(i)] = std::move(titled[i].record);

    QHash<QString, qsizetype> oldByPath;
    oldByPath.reserve(oldList.size());
    for (qsizetype i = 0; i < oldList.size(); ++i) {
        const QString path = oldList.at(i).toMap().value(ItemRecord::KeyPath).toString();
        if (!oldByPath.contains(path))
            oldByPath.insert(path, i);
    }
    for (QVariant &item : newList) {
        const QVariantMap scanned = item.toMap();
        const auto old = oldByPath.constFind(scanned.value(ItemRecord::KeyPath).toString());
        if (old == oldByPath.constEnd())
            continue;
        QVariantMap kept = oldList.at(*old).toMap();
        // An application renamed by an update, or shown in another language, gets its new
        // title; everything else the record carries stays as it was.
        const QVariant title = scanned.value(ItemRecord::KeyTitle);
        if (kept.value(ItemRecord::KeyTitle) != title)
            kept.insert(ItemRecord::KeyTitle, title);
        item = kept;
    }
    return newList;
}

bool ApplicationScanner::scanCompleted(const QVariantList &newList)
{
    const QVariantList oldList = mCurrentListSource ? mCurrentListSource() : mApplicationsList;
    QVariantList merged = mergeScannedList(newList, oldList);
    if (merged == oldList) {
        mApplicationsList = merged;
        return false;
    }
    applicationsFile().save(merged);
    mApplicationsList = merged;
    emit applicationsListChanged(merged);
    return true;
}

void ApplicationScanner::rescanFolders()
{
    if (mScanningForApplications) {
        QTimer::singleShot(RescanFoldersRetryMs, this, &ApplicationScanner::rescanFolders);
        return;
    }
    launchScanDocumentsProcess();
}

void ApplicationScanner::launchScanDocumentsProcess()
{
    // Folder contents are listed live by the menus; there is no document list to build.
    emit documentsScanned();
}

bool ApplicationScanner::waitForScan(int timeoutMs)
{
    if (!mScanningForApplications)
        return true;
    QEventLoop loop;
    connect(this, &ApplicationScanner::scanFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return !mScanningForApplications;
}
