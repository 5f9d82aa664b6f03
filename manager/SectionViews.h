#pragma once

#include "ListSectionView.h"
#include "ManagerListFilter.h"

#include <QMenu>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedLayout;

// The folders the application scan walks ("AppsFoldersList").
class ApplicationFoldersView : public ListSectionView
{
    Q_OBJECT
public:
    explicit ApplicationFoldersView(QWidget *parent = nullptr);
    void setFolders(const QStringList &folders);

signals:
    void addRequested();
    void removeRequested(const QList<int> &rows);

private:
    QPushButton *mRemove;
};

// The applications found, filtered by words and by how recently they were used.
class ApplicationsFoundView : public ListSectionView
{
    Q_OBJECT
public:
    explicit ApplicationsFoundView(QWidget *parent = nullptr);
    void setApplications(const QVariantList &list, const QList<int> &shown, const QString &counter);
    QString searchText() const;
    void clearSearch();
    int activityChoice() const;
    void setActivityChoiceEnabled(bool enabled);
    // The levels behind each row's activity picture (mAppsActivity), and the line telling over
    // how many days use was recorded (mApplicationsFoundActivityInfo).
    void setActivity(const ManagerListFilter::ActivityMap &activity);
    void setActivityInfo(const QString &text);
    QLabel *activityInfoLabel() const { return mActivityInfo; }
    QComboBox *activityMenu() const { return mActivity; }

    QLineEdit *searchField() const { return mSearch; }
    QLabel *counterLabel() const { return mCounter; }
    // Rescan Applications: the section's button and the window's menu entry (with its key).
    QAction *rescanAction() const { return mRescan; }

signals:
    void filterChanged();
    void rescanRequested();
    // A click on the activity line, with the keys then held.
    void activityRequested(Qt::KeyboardModifiers modifiers);
    // The row's application looked up with a web search service's address template.
    void webSearchRequested(int row, const QString &addressTemplate);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *mSearch;
    QPushButton *mWebSearch;
    QComboBox *mActivity;
    QLabel *mCounter;
    QLabel *mActivityInfo;
    ManagerListFilter::ActivityMap mAppsActivity;
    QLabel *mEmpty;
    QStackedLayout *mPages;
    QPushButton *mEdit;
    QAction *mRescan;
};

// The user's own files and folders ("FilesList").
class FilesView : public ListSectionView
{
    Q_OBJECT
public:
    explicit FilesView(QWidget *parent = nullptr);
    void setFiles(const QVariantList &files);

signals:
    // A file (folder false) or a folder to choose in a dialog.
    void addRequested(bool folder);
    void removeRequested(const QList<int> &rows);
    void includeContentsRequested(const QList<int> &rows, bool include);

public:
    // The menu of a row (selected first): the contents entry, offered for folders only, since
    // it does nothing to a file. Nothing for a file.
    std::unique_ptr<QMenu> contextMenuForRow(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether the first folder among the rows has its contents included; nothing without a folder.
    std::optional<bool> folderContentsIncluded(const QList<int> &rows) const;
    void showContextMenu(const QPoint &position);
    QPushButton *mRemove;
    QPushButton *mEdit;
    QPushButton *mInclude;
};
