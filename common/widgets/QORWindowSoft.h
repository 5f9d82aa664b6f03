#pragma once

#include "WindowFade.h"

// Fades a window in and, after a delay, out again, without making the caller wait. The object
// deletes itself when the fade is over (signal finished()); it does not keep a deleted window
// alive, it simply stops.
class QORWindowSoftShow : public WindowFade
{
    Q_OBJECT
public:
    // Fade in over 1.0 s and stay.
    static void showWindow(QWidget *window);
    // `duration`: fade-in time; `delay`: time fully shown before fading out over `closeDuration`
    // (0: stay shown). Starts at once.
    QORWindowSoftShow(QWidget *window, double duration, double delay = 0, double closeDuration = 0);

    double mDuration;
    double mDelay;
    double mCloseDuration;
};

// Fades a visible window out, hides it and gives it back full alpha, without making the caller
// wait. Deletes itself when done.
class QORWindowSoftClose : public WindowFade
{
    Q_OBJECT
public:
    static void closeWindow(QWidget *window, double duration = 1.0);
    QORWindowSoftClose(QWidget *window, double duration);

    double mDuration;
};
