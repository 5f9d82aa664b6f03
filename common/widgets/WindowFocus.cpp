#include "WindowFocus.h"

#include "platform/DisplayAvailability.h"
#include "platform/X11Windows.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace {

// The keyboard of an XWayland server whose window manager hands the focus to no X client: the
// window last brought to the front holds it through a grab (which the X server ends when that
// window is hidden). A pop-up menu takes the grab while it is open and Qt lets it go when the menu
// closes; then it comes back to that window.
class GrabbedKeyboard : public QObject
{
public:
    static GrabbedKeyboard &instance()
    {
        static auto *keyboard = new GrabbedKeyboard(qApp);
        return *keyboard;
    }

    void setHandOver(std::function<void()> handOver) { mHandOver = std::move(handOver); }

    void grabFor(QWindow *window)
    {
        if (mHandOver)
            mHandOver();
        if (!mWatchingMenus) {
            mWatchingMenus = true;
            qApp->installEventFilter(this);
        }
        if (!window->setKeyboardGrabEnabled(true))
            return;
        mHolder = window;
        // The grab's focus-in makes the window Qt's focus window again; but when it already was
        // (it was hidden with the grab, which gave Qt no focus-out), Qt's widgets stay inactive.
        // Qt 6.5 deprecates the call that mends it (Debian 12 has 6.4); there such a window may
        // come back inactive.
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
        if (QGuiApplication::focusWindow() != window)
            return;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == window && !widget->isActiveWindow())
                QApplication::setActiveWindow(widget);
        }
#endif
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->windowType() == Qt::Popup) {
            // After the hide, Qt lets the grab go.
            QTimer::singleShot(0, this, [this] {
                if (mHolder && mHolder->isVisible() && !QApplication::activePopupWidget())
                    mHolder->setKeyboardGrabEnabled(true);
            });
        }
        return false;
    }

private:
    explicit GrabbedKeyboard(QObject *parent)
        : QObject(parent)
    {
    }

    QPointer<QWindow> mHolder;
    std::function<void()> mHandOver;
    bool mWatchingMenus = false;
};

QByteArray &pendingToken()
{
    static QByteArray token;
    return token;
}

void askToActivate(QWindow *window, const QByteArray &token);

// Asks again at the window's first exposure: the X server gives no focus to a window that is not
// viewable yet.
class ActivateWhenExposed : public QObject
{
public:
    ActivateWhenExposed(QWindow *window, QByteArray token)
        : QObject(window)
        , mToken(std::move(token))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWindow *>(watched);
        const bool exposed = event->type() == QEvent::Expose && window->isExposed();
        if (exposed || event->type() == QEvent::Hide) {
            window->removeEventFilter(this);
            deleteLater();
            if (exposed)
                askToActivate(window, mToken);
        }
        return false;
    }

private:
    QByteArray mToken;
};

void askToActivate(QWindow *window, const QByteArray &token)
{
    // A window just shown is mapped by the window manager in its own time: no asking before.
    const X11Windows::KeyboardFocus focus = window->isExposed()
        ? X11Windows::askToActivate(window->winId(), token)
        : X11Windows::KeyboardFocus::NotViewable;
    switch (focus) {
    case X11Windows::KeyboardFocus::Free:
        GrabbedKeyboard::instance().grabFor(window);
        break;
    case X11Windows::KeyboardFocus::NotViewable:
        // One watcher a window: a second request before the first exposure adds nothing.
        if (!window->findChild<ActivateWhenExposed *>(QString(), Qt::FindDirectChildrenOnly))
            new ActivateWhenExposed(window, token);
        break;
    case X11Windows::KeyboardFocus::Managed:
    case X11Windows::KeyboardFocus::NoDisplay:
        break;
    }
}

} // namespace

namespace WindowFocus {

bool onXWayland()
{
    static const bool xwayland = DisplayAvailability::isWaylandSession()
        && QGuiApplication::platformName() == QLatin1String("xcb");
    return xwayland;
}

void setActivationToken(const QByteArray &token)
{
    pendingToken() = token;
}

QByteArray pendingActivationToken()
{
    return pendingToken();
}

void setKeyboardHandOver(std::function<void()> handOver)
{
    GrabbedKeyboard::instance().setHandOver(std::move(handOver));
}

void activate(QWidget *window)
{
    window = window->window();
    window->activateWindow();
    if (!onXWayland())
        return;
    // The native window exists from here on, so a window not shown yet is watched too.
    window->winId();
    if (QWindow *handle = window->windowHandle())
        askToActivate(handle, std::exchange(pendingToken(), {}));
}

void bringToFront(QWidget *window)
{
    window->window()->raise();
    activate(window);
}

} // namespace WindowFocus
