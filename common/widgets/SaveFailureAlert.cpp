#include "SaveFailureAlert.h"

#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"
#include "SaveFailures.h"

#include <QApplication>
#include <QWidget>

void SaveFailureAlert::install()
{
    SaveFailures::setPresenter([](const QString &path, const SaveFailure &failure) {
        QWidget *over = QApplication::activeModalWidget();
        if (!over)
            over = QApplication::activeWindow();
        QOR_WindowsUtils::modalCriticalAlertForWindow(
            over, failure.title(path), failure.text(),
            QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("OKButton")), {}, {});
    });
}
