#include "UserEventTime.h"

#include <QEvent>
#include <QGuiApplication>
#include <QInputEvent>

namespace {

quint32 &noted()
{
    static quint32 time = 0;
    return time;
}

class Watcher : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            // Qt's X11 platform stamps input events with the server's time of the event.
            noted() = quint32(static_cast<QInputEvent *>(event)->timestamp());
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void UserEventTime::watch(QGuiApplication *application)
{
    if (!application || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    static Watcher *watcher = nullptr;
    if (watcher)
        return;
    watcher = new Watcher(application);
    application->installEventFilter(watcher);
}

quint32 UserEventTime::last()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") ? noted() : 0;
}
