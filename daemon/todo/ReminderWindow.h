#pragma once

#include <QTimer>
#include <QWidget>

#include <optional>

class SharedPreferences;
class QToolButton;

// The small reminder window: a yellow rounded note without a frame that the user moves by its
// background; a click shows or hides the list beside it, its × hides it. It stays when the
// agent is hidden and remembers its frame under "reminderWindow".
class ReminderWindow : public QWidget
{
    Q_OBJECT
public:
    static const QString FrameKey;
    static constexpr int CornerRadius = 3;
    static constexpr int EdgeMargin = 16;

    // The note's place before the user moves it, in the available area `room`.
    static QRect defaultFrame(const QRect &room, const QSize &size);

    explicit ReminderWindow(SharedPreferences *preferences, QWidget *parent = nullptr);

    void setCount(int count);
    // Back inside the screen's usable area when any part of it is outside.
    void moveInsideScreen();
    // A move still waiting to be saved is saved now (the agent is ending).
    void savePendingFrame();

signals:
    void listToggleRequested();
    void hideRequested();
    void moved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void saveFrame();

    SharedPreferences *mPreferences;
    QToolButton *mClose;
    int mCount = 0;
    std::optional<QPoint> mPressedAt;
    bool mDragged = false;
    QTimer mSaveFrameTimer;
};
