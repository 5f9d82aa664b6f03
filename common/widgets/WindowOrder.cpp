#include "WindowOrder.h"

#include <QApplication>
#include <QWindow>

namespace {

bool isOrdinaryWindow(const QWidget *widget)
{
    const Qt::WindowType type = widget->windowType();
    return widget->isWindow() && widget->isVisible() && type != Qt::Popup && type != Qt::ToolTip
        && type != Qt::Desktop;
}

} // namespace

WindowOrder *WindowOrder::instance()
{
    static QPointer<WindowOrder> order;
    if (!order && qApp)
        order = new WindowOrder(qApp);
    return order;
}

WindowOrder::WindowOrder(QObject *parent)
    : QObject(parent)
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *focused) {
        if (!focused)
            return;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == focused) {
                windowActivated(widget);
                return;
            }
        }
    });
    if (QWidget *active = QApplication::activeWindow())
        windowActivated(active);
}

void WindowOrder::windowActivated(QWidget *window)
{
    mRecentlyActive.removeIf([window](const QPointer<QWidget> &w) { return !w || w == window; });
    mRecentlyActive.prepend(window);
}

QList<QWidget *> WindowOrder::visibleWindowsFrontToBack() const
{
    QList<QWidget *> windows;
    if (QWidget *active = QApplication::activeWindow(); active && isOrdinaryWindow(active))
        windows.append(active);
    for (const QPointer<QWidget> &window : mRecentlyActive) {
        if (window && isOrdinaryWindow(window) && !windows.contains(window.data()))
            windows.append(window.data());
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (isOrdinaryWindow(window) && !windows.contains(window))
            windows.append(window);
    }
    return windows;
}
