#include "QOR_WindowsUtils.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace {

const char *const AlertProperty = "_korvale_windowAlert";

// Whether the window already shows one of our window-modal alerts.
bool hasWindowModalAlert(const QWidget *window)
{
    const QList<QMessageBox *> boxes =
        window->findChildren<QMessageBox *>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(boxes.begin(), boxes.end(), [](const QMessageBox *box) {
        return box->isVisible() && box->property(AlertProperty).toBool();
    });
}

} // namespace

int QOR_WindowsUtils::modalAlertForWindow(QWidget *window, const QString &title, const QString &msg,
                                          const QString &defaultButton,
                                          const QString &alternateButton,
                                          const QString &otherButton)
{
    return runAlert(window, false, title, msg, defaultButton, alternateButton, otherButton);
}

int QOR_WindowsUtils::modalCriticalAlertForWindow(QWidget *window, const QString &title,
                                                  const QString &msg, const QString &defaultButton,
                                                  const QString &alternateButton,
                                                  const QString &otherButton)
{
    return runAlert(window, true, title, msg, defaultButton, alternateButton, otherButton);
}

int QOR_WindowsUtils::runAlert(QWidget *window, bool critical, const QString &title,
                               const QString &msg, const QString &defaultButton,
                               const QString &alternateButton, const QString &otherButton)
{
    if (window)
        window = window->window();
    const bool attached = window && window->isVisible() && !hasWindowModalAlert(window);

    // Deleted with its parent window if that goes away while the alert waits.
    QPointer<QMessageBox> box = new QMessageBox(attached ? window : nullptr);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setProperty(AlertProperty, attached);
    box->setWindowModality(attached ? Qt::WindowModal : Qt::ApplicationModal);
    // The title is the box's own text; in the title bar, where a window manager cuts a long
    // title in the middle, goes the program's name: the suite's, unless the program gave a
    // display name of its own (Qt falls back to the command name, "korvale-daemon").
    const QString displayName = QGuiApplication::applicationDisplayName();
    box->setWindowTitle(displayName == QCoreApplication::applicationName()
                            ? QStringLiteral("Korvale")
                            : displayName);
    box->setText(title);
    box->setInformativeText(msg);
    if (critical) {
        box->setIcon(QMessageBox::Warning);
    } else if (!QApplication::windowIcon().isNull()) {
        box->setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    } else {
        box->setIcon(QMessageBox::Information);
    }

    QPushButton *defaultChoice = defaultButton.isEmpty()
        ? box->addButton(QMessageBox::Ok)
        : box->addButton(defaultButton, QMessageBox::AcceptRole);
    QPushButton *alternateChoice = alternateButton.isEmpty()
        ? nullptr
        : box->addButton(alternateButton, QMessageBox::RejectRole);
    QPushButton *otherChoice =
        otherButton.isEmpty() ? nullptr : box->addButton(otherButton, QMessageBox::ActionRole);
    box->setDefaultButton(defaultChoice);
    // Escape answers with the alternate button (usually "Cancel"); with none, with the default.
    box->setEscapeButton(alternateChoice ? alternateChoice : defaultChoice);

    box->exec();
    if (!box)
        return 0;
    const QAbstractButton *chosen = box->clickedButton();
    const int answer = !chosen ? 0 : chosen == defaultChoice ? 1 : chosen == otherChoice ? -1 : 0;
    delete box;
    return answer;
}
