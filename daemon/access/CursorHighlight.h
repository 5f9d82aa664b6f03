#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>
#include <QWidget>

#include <functional>

// Briefly marks the mouse pointer with a round translucent ring: shown at the centre of the
// screen, it glides to the pointer after 0.1 s and fades out over 0.5 s half a second later.
// The ring never takes the focus or the mouse. Main thread only.
class CursorHighlight : public QObject
{
    Q_OBJECT
public:
    using PointerLocation = std::function<QPoint()>; // global Qt coordinates

    explicit CursorHighlight(QObject *parent = nullptr);
    // For tests: where the pointer is, instead of asking the window system.
    explicit CursorHighlight(PointerLocation pointer, QObject *parent = nullptr);
    ~CursorHighlight() override;

    // Starts over when the ring is already showing.
    void highlightCursor();
    void moveCursorHighlight();
    void closeCursorHighlight();

    QWidget *highlightWindow() const { return mWindow; }

    static constexpr int Diameter = 96;
    static constexpr int MoveDelayMilliseconds = 100;
    static constexpr int MoveMilliseconds = 250;
    static constexpr int CloseDelayMilliseconds = 500;
    static constexpr double FadeOutSeconds = 0.5;

private:
    PointerLocation mPointer;
    QPointer<QWidget> mWindow;
    QTimer mMoveTimer;
    QTimer mCloseTimer;
    QPropertyAnimation *mMove = nullptr;
};
