#include "DaemonHooks.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
// The program's string table, with the key itself as the fallback text.
QString localized(const char *key)
{
    return QCoreApplication::translate("Korvale", key);
}
} // namespace

bool DaemonHooks::confirmQuit()
{
    bringAgentToFront();
    QMessageBox alert(QMessageBox::Information, localized("QuitTitle"), localized("QuitText"));
    QPushButton *quit = alert.addButton(localized("QuitButton"), QMessageBox::AcceptRole);
    alert.addButton(localized("CancelButton"), QMessageBox::RejectRole);
    alert.setDefaultButton(quit);
    alert.setWindowFlag(Qt::WindowStaysOnTopHint);
    alert.exec();
    return alert.clickedButton() == quit;
}
