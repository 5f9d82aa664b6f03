#pragma once

#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <optional>

class AccessMenus;
class FilterButtons;
class QLabel;
class QToolButton;
class SearchField;
class SharedPreferences;
class TableView;

// The access window: a borderless, rounded panel drawn with the palette, holding the search field,
// the filter buttons and menus, the table of found items, the counter line and the e-mail button.
// It moves by its background and remembers its frame under "korvaleDaemonWindow".
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    static const QString FrameKey;
    static constexpr int CornerRadius = 10;

    explicit MainWindow(SharedPreferences *preferences, QWidget *parent = nullptr);
    ~MainWindow() override;

    SearchField *searchField() const { return mSearchField; }
    TableView *tableView() const { return mTable; }
    FilterButtons *filterButtons() const { return mFilterButtons; }
    AccessMenus *menus() const { return mMenus; }
    QLabel *counterLine() const { return mCounter; }
    QToolButton *emailButton() const { return mEmailButton; }
    QToolButton *filterMenuButton() const { return mFilterMenuButton; }
    QToolButton *actionMenuButton() const { return mActionMenuButton; }

    void setSelectionInformation(const QString &text);
    // The current filter's name beside the filter buttons.
    void showFilterTitle(const QString &title);

    // The frame as the frame string "x y w h".
    QString frameString() const;
    static std::optional<QRect> parseFrameString(const QString &text);
    void saveFrame();
    // A move still waiting to be saved is saved now (the agent is ending).
    void savePendingFrame();
    // Sets the saved frame when it still lies on a screen; false otherwise.
    bool restoreFrame();

signals:
    // Closed by other means than the controller (the window manager's close).
    void windowWillClose();
    void emailButtonClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    SharedPreferences *mPreferences;
    SearchField *mSearchField;
    TableView *mTable;
    FilterButtons *mFilterButtons;
    AccessMenus *mMenus;
    QLabel *mCounter;
    QToolButton *mEmailButton;
    QToolButton *mFilterMenuButton;
    QToolButton *mActionMenuButton;
    QTimer mSaveFrameTimer;
    std::optional<QPoint> mDragOffset;
};
