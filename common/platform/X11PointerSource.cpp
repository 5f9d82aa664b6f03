#include "PointerSource.h"
#include "X11Connection.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>

// Xlib last: its macros (None, Bool, KeyPress...) must not reach the Qt headers.
#include <X11/Xlib.h>
#include <X11/extensions/XI2.h>

namespace {

constexpr unsigned ButtonBits = Button1Mask | Button2Mask | Button3Mask;

class X11PointerSource final : public PointerSource
{
public:
    // `xinputOpcode` 0: the server cannot tell button changes, every answer is asked for.
    X11PointerSource(X11Connection connection, int xinputOpcode)
        : mConnection(std::move(connection))
        , mDisplay(mConnection.display())
        , mXInputOpcode(xinputOpcode)
    {
        if (mXInputOpcode == 0)
            return;
        // Selected before the first query, so that no change falls between the two.
        mConnection.selectRawEvents(mXInputOpcode, {XI_RawButtonPress, XI_RawButtonRelease});
        queryPointer();
    }

    QPointF location() override
    {
        const Query query = queryPointer();
        return fromX11(QPointF(query.x, query.y), mainScreenInX11());
    }

    bool buttonPressed() override { return (queryPointer().mask & ButtonBits) != 0; }

    State state() override
    {
        const Query query = queryPointer();
        return {fromX11(QPointF(query.x, query.y), mainScreenInX11()),
                (query.mask & ButtonBits) != 0};
    }

    bool hearsButtons() const override { return mXInputOpcode != 0; }

    // A read of what has come on the connection, without a request: the server is not woken.
    bool lastHeardButtonPressed() override
    {
        if (mXInputOpcode == 0)
            return buttonPressed();
        std::lock_guard lock(mMutex);
        applyHeardButtons(true);
        return (mHeardMask & ButtonBits) != 0;
    }

    int heardButtonsDescriptor() const override
    {
        return mXInputOpcode != 0 ? ConnectionNumber(mDisplay) : -1;
    }

    QRectF mainScreenFrame() override
    {
        const QRectF frame = mainScreenInX11();
        return {0, 0, frame.width(), frame.height()};
    }

private:
    struct Query {
        int x = 0;
        int y = 0;
        unsigned int mask = 0;
    };

    Query queryPointer()
    {
        std::lock_guard lock(mMutex);
        Window root = 0;
        Window child = 0;
        int windowX = 0;
        int windowY = 0;
        Query query;
        XQueryPointer(mDisplay, DefaultRootWindow(mDisplay), &root, &child, &query.x, &query.y,
                      &windowX, &windowY, &query.mask);
        // Changes that came before the answer are older than it: the answer holds. This also
        // mends a release never heard (a mouse unplugged with a button down).
        if (mXInputOpcode != 0) {
            applyHeardButtons(false);
            mHeardMask = query.mask;
        }
        return query;
    }

    // Under the lock: applies the raw button events waiting (readSocket: what has come on the
    // socket is read first, without blocking).
    void applyHeardButtons(bool readSocket)
    {
        X11Connection::RawEvent event;
        while (mConnection.nextRawEvent(mXInputOpcode, readSocket, event)) {
            const bool down = event.type == XI_RawButtonPress;
            const bool known = down || event.type == XI_RawButtonRelease;
            // Wheel steps (4 to 7) and extra buttons are not presses of the three buttons.
            if (!known || event.detail < 1 || event.detail > 3)
                continue;
            const unsigned bit = Button1Mask << unsigned(event.detail - 1);
            mHeardMask = down ? (mHeardMask | bit) : (mHeardMask & ~bit);
        }
    }

    // The primary monitor as Qt knows it when Qt itself runs on X11 (and only then, from the
    // main thread); otherwise the whole root window.
    QRectF mainScreenInX11()
    {
        if (qGuiApp && qGuiApp->thread() == QThread::currentThread()
            && QGuiApplication::platformName() == QLatin1String("xcb")) {
            if (const QScreen *screen = QGuiApplication::primaryScreen()) {
                const QRect geometry = screen->geometry();
                const qreal ratio = screen->devicePixelRatio();
                return {geometry.x() * ratio, geometry.y() * ratio, geometry.width() * ratio,
                        geometry.height() * ratio};
            }
        }
        std::lock_guard lock(mMutex);
        const int screen = DefaultScreen(mDisplay);
        return {0, 0, qreal(DisplayWidth(mDisplay, screen)),
                qreal(DisplayHeight(mDisplay, screen))};
    }

    std::mutex mMutex; // the connection, mHeardMask
    X11Connection mConnection;
    Display *mDisplay;
    int mXInputOpcode;
    unsigned mHeardMask = 0;
};

// Raw button events reach every client that selected them, even during another's grab, from
// XInput 2.1 on; 0 when the server has no such version.
int rawButtonOpcode(const X11Connection &connection)
{
    if (qEnvironmentVariableIntValue("KORVALE_POINTER_SAMPLING") != 0)
        return 0;
    QString whyNot;
    return connection.rawEventsOpcode(&whyNot);
}

} // namespace

PointerSource::Creation PointerSource::createX11()
{
    X11Connection connection;
    if (!connection)
        return {nullptr, connection.why()};
    const int opcode = rawButtonOpcode(connection);
    return {std::make_unique<X11PointerSource>(std::move(connection), opcode), {}};
}
