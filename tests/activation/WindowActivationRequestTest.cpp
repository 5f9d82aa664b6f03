// What a window of ours asks of the window manager when it wants the keyboard, read as another
// client of the display reads it: the startup-notification message that hands over an activation
// token, and the pager's activation request.
#include "platform/X11Windows.h"

#include <QByteArray>
#include <QThread>

#include <gtest/gtest.h>

#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

class WindowActivationRequest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        if (!display)
            GTEST_SKIP() << "needs an X display: run under scripts/with-session.sh";
        root = DefaultRootWindow(display);
        XSelectInput(display, root, PropertyChangeMask | SubstructureNotifyMask);
        window = XCreateSimpleWindow(display, root, 10, 10, 50, 50, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }
    void TearDown() override
    {
        if (!display)
            return;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }

    // The startup-notification messages sent to the root window, put together again.
    QByteArray startupMessages()
    {
        const Atom begin = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
        const Atom more = XInternAtom(display, "_NET_STARTUP_INFO", False);
        const Atom activeWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        QByteArray text;
        XSync(display, False);
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != ClientMessage)
                continue;
            if (event.xclient.message_type == activeWindow && event.xclient.window == window) {
                activationSources.push_back(event.xclient.data.l[0]);
                continue;
            }
            if (event.xclient.format != 8)
                continue;
            if (event.xclient.message_type == begin)
                text.clear();
            else if (event.xclient.message_type != more)
                continue;
            text.append(event.xclient.data.b, 20);
        }
        return text.left(text.indexOf('\0'));
    }

    bool viewable()
    {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display, window, &attributes)
            && attributes.map_state == IsViewable;
    }

    Display *display = nullptr;
    Window root = 0;
    Window window = 0;
    // The source of each activation request seen for the window (2: a pager, for the user).
    std::vector<long> activationSources;
};

} // namespace

TEST_F(WindowActivationRequest, ATokenIsHandedOverWholeInPiecesOfTwentyBytes)
{
    // The window manager maps it in its own time.
    for (int i = 0; i < 100 && !viewable(); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(viewable());
    const QByteArray token = "korvale-token_1234567890-with a \"quote\" and \\";
    ASSERT_NE(X11Windows::askToActivate(window, token), X11Windows::KeyboardFocus::NotViewable);
    EXPECT_EQ(startupMessages(),
              QByteArray(R"(remove: ID="korvale-token_1234567890-with a \"quote\" and \\")"));

    ASSERT_NE(X11Windows::askToActivate(window, "plain-token"),
              X11Windows::KeyboardFocus::NotViewable);
    EXPECT_EQ(startupMessages(), QByteArray("remove: ID=plain-token"));
    // After the token, the window asks as a pager asks: the user wanted it.
    EXPECT_EQ(activationSources, (std::vector<long>{2, 2}));
}

TEST_F(WindowActivationRequest, AWindowNotMappedIsToBeAskedForAgainOnceShown)
{
    const Window hidden = XCreateSimpleWindow(display, root, 10, 10, 50, 50, 0, 0, 0);
    XSync(display, False);
    EXPECT_EQ(X11Windows::askToActivate(hidden, "token"), X11Windows::KeyboardFocus::NotViewable);
    // Nothing is handed over or asked for a window that cannot have the focus yet.
    EXPECT_EQ(startupMessages(), QByteArray());
    EXPECT_TRUE(activationSources.empty());
    XDestroyWindow(display, hidden);
}
