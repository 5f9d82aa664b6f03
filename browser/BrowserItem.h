#pragma once

#include "BrowserListing.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

// One row of the browser's outline: a file-system object that lists its own children the first
// time they are asked for and keeps that list for its life. The two display options are fixed
// per node and passed on to every child; changing one means building a new tree. Main thread.
class BrowserItem
{
public:
    using Children = std::vector<std::unique_ptr<BrowserItem>>;

    // The root is made with no name; children with their entry name.
    BrowserItem(const QString &path, const std::optional<QString> &name, bool showInvisible,
                bool showPackageContents);
    BrowserItem(const BrowserItem &) = delete;
    BrowserItem &operator=(const BrowserItem &) = delete;

    // The cached list, listing the folder on the first call; nullptr for a node that is not a
    // directory.
    const Children *children();
    // 0 for a leaf, else the count of children() (so asking lists the folder).
    int numberOfChildren();
    // The child at that index of the cached list; nullptr when never listed or out of range.
    BrowserItem *childAtIndex(int index) const;

    bool isDirectory() const { return mIsDirectory; }
    QString getPath() const { return mPath; }
    QString localizedName() const { return mLocalizedName; }
    bool isListed() const { return mChildren.has_value(); }

    // Renames in place: the path becomes the parent folder plus the new name, and the name is
    // shown as given. Listed descendants move with it.
    void changeName(const QString &newName);
    // Re-sorts the cached children, recursively; folders never listed stay unlisted.
    void sortChildren();

    // Where the node sits in the tree, for the item model.
    BrowserItem *parent() const { return mParent; }
    int row() const { return mRow; }

    // The name a child is shown by: a desktop entry's own Name, else the file name.
    static QString displayNameOf(const QString &path, const QString &entryName);

private:
    BrowserItem(BrowserItem *parent, const QString &path, const QString &name,
                BrowserListing::Type type);
    void setDirectoryFlag(BrowserListing::Type ownType, bool isRoot);
    void sortList();
    void movePaths(const QString &oldFolder, const QString &newFolder);

    std::optional<Children> mChildren;
    QString mPath;
    QString mLocalizedName;
    bool mShowPackageContents;
    bool mShowInvisible;
    bool mIsDirectory = false;
    BrowserItem *mParent = nullptr;
    int mRow = 0;
};
