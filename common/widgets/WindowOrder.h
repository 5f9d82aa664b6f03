#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Which of the program's windows is in front. Qt does not tell the stacking order of top-level
// windows, so this follows the order in which they were last activated, counted from the first
// use (the active window is always first). Windows never activated since then come last, in no
// particular order.
class WindowOrder : public QObject
{
    Q_OBJECT
public:
    static WindowOrder *instance(); // main thread, once the application object exists

    // The program's visible top-level windows (not menus or tool tips), front to back.
    QList<QWidget *> visibleWindowsFrontToBack() const;

private:
    explicit WindowOrder(QObject *parent);
    void windowActivated(QWidget *window);

    QList<QPointer<QWidget>> mRecentlyActive; // most recent first
};
