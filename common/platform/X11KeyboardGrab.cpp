#include "KeyboardGrab.h"
#include "X11Connection.h"

// Xlib last: its macros (None, Bool, KeyPress...) must not reach the Qt headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

// Latin-1 keysyms are their own code points and Unicode ones carry theirs; the legacy national
// keysym blocks are not mapped (the search field takes those keys once it has the focus).
QString textOfKeysym(KeySym keysym)
{
    if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff))
        return QString(QChar(char16_t(keysym)));
    if (keysym >= 0x1000100 && keysym <= 0x110ffff) {
        const char32_t codePoint = char32_t(keysym - 0x1000000);
        return QString::fromUcs4(&codePoint, 1);
    }
    return {};
}

// A connection of its own: the events of the grab arrive here, not in the toolkit's queue.
class X11KeyboardGrab final : public KeyboardGrab
{
public:
    explicit X11KeyboardGrab(X11Connection connection)
        : mConnection(std::move(connection))
        , mDisplay(mConnection.display())
    {
    }
    ~X11KeyboardGrab() override
    {
        if (mActive)
            end();
    }

    bool begin() override
    {
        if (mActive)
            return true;
        const int status = XGrabKeyboard(mDisplay, DefaultRootWindow(mDisplay), False,
                                         GrabModeAsync, GrabModeAsync, CurrentTime);
        XFlush(mDisplay);
        mActive = status == GrabSuccess;
        return mActive;
    }

    bool isActive() const override { return mActive; }

    QString end() override
    {
        if (!mActive)
            return {};
        // Released first, then synced: every key the server sent us before the release is then
        // in our queue, and every later one goes to the focused window. Reading before the
        // release lost the keys typed between the reading and the release. The sync also makes
        // the release done before the caller goes on: a window of the program may grab the
        // keyboard next, on a connection of its own, which the server might otherwise serve first.
        XUngrabKeyboard(mDisplay, CurrentTime);
        XSync(mDisplay, False);
        mActive = false;
        return pendingText();
    }

private:
    QString pendingText()
    {
        QString text;
        while (XPending(mDisplay) > 0) {
            XEvent event;
            XNextEvent(mDisplay, &event);
            if (event.type != KeyPress)
                continue;
            // Shortcuts are not text: a key typed with Control or Super held is dropped.
            if (event.xkey.state & (ControlMask | Mod4Mask))
                continue;
            char buffer[32];
            KeySym keysym = NoSymbol;
            XLookupString(&event.xkey, buffer, int(sizeof buffer), &keysym, nullptr);
            if (keysym == XK_BackSpace)
                text.chop(1);
            else
                text.append(textOfKeysym(keysym));
        }
        return text;
    }

    X11Connection mConnection;
    Display *mDisplay;
    bool mActive = false;
};

} // namespace

KeyboardGrab::Creation KeyboardGrab::createX11()
{
    X11Connection connection;
    if (!connection)
        return {nullptr, connection.why()};
    return {std::make_unique<X11KeyboardGrab>(std::move(connection)), {}};
}
