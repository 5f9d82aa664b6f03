#include "BrowserItem.h"

#include "QOR_StringUtils.h"
#include "TextMatching.h"

#include <QFileInfo>

#include <algorithm>

BrowserItem::BrowserItem(const QString &path, const std::optional<QString> &name,
                         bool showInvisible, bool showPackageContents)
    : mPath(path)
    , mShowPackageContents(showPackageContents)
    , mShowInvisible(showInvisible)
{
    if (name && name->contains(QLatin1Char('/'))) {
        mLocalizedName = *name;
    } else if (name) {
        mLocalizedName = displayNameOf(path, *name);
    } else {
        const QString last = QFileInfo(path).fileName();
        mLocalizedName = last.isEmpty() ? path : displayNameOf(path, last);
    }
    setDirectoryFlag(BrowserListing::typeAt(path), !name.has_value());
}

BrowserItem::BrowserItem(BrowserItem *parent, const QString &path, const QString &name,
                         BrowserListing::Type type)
    : mPath(path)
    , mLocalizedName(displayNameOf(path, name))
    , mShowPackageContents(parent->mShowPackageContents)
    , mShowInvisible(parent->mShowInvisible)
    , mParent(parent)
{
    // readdir's own type spares a stat per child; only file systems without one need it.
    setDirectoryFlag(type == BrowserListing::Type::Unknown ? BrowserListing::typeAt(path) : type,
                     false);
}

QString BrowserItem::displayNameOf(const QString &path, const QString &entryName)
{
    // Only desktop entries have a name of their own; the others need no second look.
    if (entryName.endsWith(QLatin1String(".desktop")))
        return QOR_StringUtils::localizedNameAtPath(path);
    return entryName;
}

void BrowserItem::setDirectoryFlag(BrowserListing::Type ownType, bool isRoot)
{
    // A link to a folder is a leaf in the outline; the root alone is followed through its link,
    // so that the browser can be opened on a linked folder and show its contents.
    if (isRoot)
        mIsDirectory = QFileInfo(mPath).isDir();
    else
        mIsDirectory = ownType == BrowserListing::Type::Directory;
    // A package is a leaf unless its contents are shown; the root never counts as one, so the
    // browser can be rooted inside a bundle.
    if (mIsDirectory && !mShowPackageContents && !isRoot
        && BrowserListing::isPackageName(QFileInfo(mPath).fileName()))
        mIsDirectory = false;
}

const BrowserItem::Children *BrowserItem::children()
{
    if (!mIsDirectory)
        return nullptr;
    if (!mChildren) {
        mChildren.emplace();
        const QList<BrowserListing::Entry> entries = BrowserListing::read(mPath, mShowInvisible);
        mChildren->reserve(std::size_t(entries.size()));
        const QString prefix = mPath.endsWith(QLatin1Char('/')) ? mPath : mPath + QLatin1Char('/');
        for (const BrowserListing::Entry &entry : entries) {
            // The constructor is private to the tree: make_unique cannot reach it.
            mChildren->push_back(std::unique_ptr<BrowserItem>(
                new BrowserItem(this, prefix + entry.name, entry.name, entry.type)));
        }
        sortList();
    }
    return &*mChildren;
}

int BrowserItem::numberOfChildren()
{
    const Children *list = children();
    return list ? int(list->size()) : 0;
}

BrowserItem *BrowserItem::childAtIndex(int index) const
{
    if (!mChildren || index < 0 || std::size_t(index) >= mChildren->size())
        return nullptr;
    return (*mChildren)[std::size_t(index)].get();
}

void BrowserItem::changeName(const QString &newName)
{
    const QString folder = QFileInfo(mPath).path();
    const QString oldPath = mPath;
    mPath = (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')) + newName;
    mLocalizedName = newName;
    // A renamed folder's listed rows follow it, so that a selected child renamed after its
    // folder in the same run is still found.
    movePaths(oldPath, mPath);
}

void BrowserItem::movePaths(const QString &oldFolder, const QString &newFolder)
{
    if (!mChildren)
        return;
    for (const std::unique_ptr<BrowserItem> &child : *mChildren) {
        child->mPath = newFolder + child->mPath.mid(oldFolder.size());
        child->movePaths(oldFolder, newFolder);
    }
}

void BrowserItem::sortList()
{
    std::stable_sort(
        mChildren->begin(), mChildren->end(),
        [](const std::unique_ptr<BrowserItem> &a, const std::unique_ptr<BrowserItem> &b) {
            return TextMatching::compareTitles(QStringView(a->mLocalizedName),
                                               QStringView(b->mLocalizedName))
                < 0;
        });
    for (std::size_t i = 0; i < mChildren->size(); ++i)
        (*mChildren)[i]->mRow = int(i);
}

void BrowserItem::sortChildren()
{
    if (!mIsDirectory || !mChildren)
        return;
    sortList();
    for (const std::unique_ptr<BrowserItem> &child : *mChildren)
        child->sortChildren();
}
