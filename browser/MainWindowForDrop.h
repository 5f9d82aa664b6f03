#pragma once

#include <QStringList>
#include <QWidget>

class OutlineView;
class QLineEdit;
class QMenu;
class QToolButton;

// The browser's one window: the root's location above (a field: a path typed there, with folder
// names completed, re-roots the browser), the action menu button beside it, and the outline. File
// names dropped anywhere on it re-root the browser; closing it quits.
class MainWindowForDrop : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindowForDrop(QWidget *parent = nullptr);

    OutlineView *outline() const { return mOutline; }
    QLineEdit *pathField() const { return mPath; }
    QToolButton *menuButton() const { return mMenuButton; }
    QMenu *actionMenu() const { return mActionMenu; }
    // The location the path field shows when nobody is typing in it.
    void showLocation(const QString &path);
    QString shownLocation() const { return mShownLocation; }

signals:
    void filesDropped(const QStringList &paths);
    void closed();
    void moved(); // moved or resized
    void spacePressed();
    // A path typed into the location field and confirmed with Return, "~" already expanded.
    void locationEntered(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addCompletion();

    QLineEdit *mPath;
    QString mShownLocation;
    QToolButton *mMenuButton;
    QMenu *mActionMenu;
    OutlineView *mOutline;
};
