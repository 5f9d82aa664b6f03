#include "PointerSource.h"
#include "X11Connection.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>

// Xlib last: its macros (None, Bool, KeyPress...) must not reach the Qt headers.
#include <X11/Xlib.h>

namespace {

class X11PointerSource final : public PointerSource
{
public:
    explicit X11PointerSource(X11Connection connection)
        : mConnection(std::move(connection))
        , mDisplay(mConnection.display())
    {
    }

    QPointF location() override
    {
        const Query query = queryPointer();
        return fromX11(QPointF(query.x, query.y), mainScreenInX11());
    }

    bool buttonPressed() override
    {
        return (queryPointer().mask & (Button1Mask | Button2Mask | Button3Mask)) != 0;
    }

    State state() override
    {
        const Query query = queryPointer();
        return {fromX11(QPointF(query.x, query.y), mainScreenInX11()),
                (query.mask & (Button1Mask | Button2Mask | Button3Mask)) != 0};
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
        return query;
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

    std::mutex mMutex;
    X11Connection mConnection;
    Display *mDisplay;
};

} // namespace

PointerSource::Creation PointerSource::createX11()
{
    X11Connection connection;
    if (!connection)
        return {nullptr, connection.why()};
    return {std::make_unique<X11PointerSource>(std::move(connection)), {}};
}
