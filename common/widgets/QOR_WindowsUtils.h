#pragma once

#include "QORWindowSoft.h"

#include <QMetaObject>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

class SharedPreferences;

// Placement by screen fractions, alerts, fades and the shake shared by every program with
// windows. Qt coordinates throughout (origin at the top left, y downwards); only the vertical
// fraction of placeWindow is counted from the screen's bottom, as the suite's windows have always
// been placed. Main thread only.
class QOR_WindowsUtils
{
public:
    QOR_WindowsUtils() = delete;

    // The primary screen's usable rectangle: its whole width and, in height, from the top of the
    // available area (below a top bar) to the screen's bottom. Empty without a screen.
    static QRect getScreenRect();
    // A frame string "x y width height" as the agent stores and sends it; nothing when it is
    // not four integers with a positive size.
    static std::optional<QRect> parseFrameString(const QString &text);
    static QString frameString(const QRect &frame);
    // A window's frame kept under a preference key; writes only when it changed, since every
    // write is a sync of the shared file.
    static void storeFrame(SharedPreferences *preferences, const QString &key, const QRect &frame);
    static std::optional<QRect> storedFrame(SharedPreferences *preferences, const QString &key);
    // Puts the window's centre at (fx of the width, fy of the height counted from the bottom) of
    // getScreenRect(). A window already at the computed place is left alone.
    static void placeWindow(QWidget *window, double fx, double fy);
    static void centerWindow(QWidget *window);
    // Puts the window on the frontmost other visible window of the same class, shifted down and
    // right by CascadeOffset; nothing when there is none.
    static void cascadeWindow(QWidget *window);
    static constexpr int CascadeOffset = 24;

    // Where a window's frame (decorations included) goes to lie on `room`: moved as little as
    // possible; a frame larger than the room keeps its top-left corner, the title bar, inside.
    static QRect frameKeptInside(const QRect &frame, const QRect &room);
    // A window of `size` beside `anchor`, `gap` apart, top edges aligned: on its right when it
    // fits in `room`, else on its left; then kept inside `room` (lifted when it would end below).
    // Every window the agent opens beside its access window is placed so.
    static QRect frameBeside(const QRect &anchor, const QSize &size, const QRect &room,
                             int gap = 2);
    // Frames for windows of these sizes (decorations included) that open together: side by side
    // when their widths fit in `room`, else one above the other when their heights do, else side
    // by side made narrower, but never below their `minimums`; `gap` apart, centred in `room` as a
    // group, never overlapping and never beyond `room`. Only a room too small for the minimums
    // gets them cascaded, each still whole in it.
    static QList<QRect> framesApart(const QList<QSize> &sizes, const QList<QSize> &minimums,
                                    const QRect &room, int gap);
    // Places these windows by framesApart on the screen of `decorated` (a window already shown),
    // counting the decorations it has.
    static void placeApart(const QList<QWidget *> &windows, const QWidget *decorated);

    // The available area of the screen holding most of `frame`, else the primary screen's.
    static QRect availableRoomFor(const QRect &frame);
    // Keeps the window's frame, title bar included, on a screen: now, and again whenever the
    // window manager gives it other decorations (their size is unknown until it is shown).
    static void keepFrameOnScreen(QWidget *window);

    // The frontmost visible window of a class (or a subclass), else nullptr.
    static QWidget *getFrontMostWindowOfClass(const QMetaObject &windowClass);
    template <class T> static T *getFrontMostWindowOfClass()
    {
        return static_cast<T *>(getFrontMostWindowOfClass(T::staticMetaObject));
    }
    // The window itself when it is of that class, else nullptr.
    static QWidget *getDelegateOfClassForWindow(const QMetaObject &windowClass, QWidget *window);
    // Asks every visible window of the class to close, as its close button would, back to front.
    static void closeAllWindowsOfClass(const QMetaObject &windowClass);
    template <class T> static void closeAllWindowsOfClass()
    {
        closeAllWindowsOfClass(T::staticMetaObject);
    }
    // Raises every visible window of the program, the frontmost last; true when there was one.
    static bool showAllVisibleWindows();
    // Starts following which window is in front (done on first use otherwise); for main().
    static void trackWindowOrder();

    // Asks a question and waits for the answer: 1 for the default button, 0 for the alternate
    // button, -1 for the other button. Empty titles leave a button out (the default button then
    // reads "OK"). The alert is modal to `window` when it has no such alert already, else to the
    // whole program. Returns 0 when the alert goes away without an answer.
    static int modalAlertForWindow(QWidget *window, const QString &title, const QString &msg,
                                   const QString &defaultButton, const QString &alternateButton,
                                   const QString &otherButton);
    // The same with the caution look, for questions about losing something.
    static int modalCriticalAlertForWindow(QWidget *window, const QString &title,
                                           const QString &msg, const QString &defaultButton,
                                           const QString &alternateButton,
                                           const QString &otherButton);

    // The shake that answers a wrong password: runs on its own and returns at once; the window
    // ends where it started.
    static void shakeWindow(QWidget *window);

    // Fades the window in to `alpha` and returns when done (a visible window is only brought to
    // the front). Events keep flowing meanwhile, except user input, which waits for the end.
    static void showWindowSoft(QWidget *window, double alpha = 1.0, double duration = 0.6);
    // Fades a visible window out (lowering `otherWindow` with it), hides it, gives it back full
    // alpha, hides `otherWindow` too, and returns when done.
    static void closeWindowSoft(QWidget *window, QWidget *otherWindow = nullptr,
                                double duration = 1.0);
    // Stops a fade running on the window, leaving it as it stands.
    static void stopSoftFade(QWidget *window);

    // Makes a window a floating overlay: frameless, translucent, above the others, never taking
    // the keyboard focus or the mouse. Call before the window is shown.
    static void setOverlayWindow(QWidget *window);

private:
    static int runAlert(QWidget *window, bool critical, const QString &title, const QString &msg,
                        const QString &defaultButton, const QString &alternateButton,
                        const QString &otherButton);
    static void waitFor(WindowFade *fade);
};
