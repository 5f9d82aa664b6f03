#include "InstallerController.h"
#include "InstallerSystem.h"
#include "KorvaleLog.h"
#include "QOR_StringUtils.h"
#include "SaveFailureAlert.h"
#include "WindowFocus.h"
#include "platform/DisplayAvailability.h"
#include "platform/TerminationSignals.h"
#include "platform/Workspace.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    if (const std::optional<QString> why = DisplayAvailability::problem()) {
        KorvaleLog::line(QStringLiteral("qor-installer cannot start: %1").arg(*why));
        return 1;
    }
    // On XWayland in a Wayland session: see docs/platform.md.
    DisplayAvailability::QtArguments qtArguments(argc, argv);
    QApplication app(qtArguments.argc(), qtArguments.argv());
    WindowFocus::setActivationToken(qtArguments.launchToken());
    QApplication::setApplicationName(QStringLiteral("qor-installer"));
    QApplication::setOrganizationName(QStringLiteral("Korvale"));
    QApplication::setQuitOnLastWindowClosed(false); // closing the window quits, after 1 s
    QOR_StringUtils::installTranslations();
    SaveFailureAlert::install();

    // The installer carries its script and the product in the folder beside it.
    const QString resources =
        QDir(QApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("resources"));
    InstallerController controller(resources, std::make_unique<InstallerSystem>(),
                                   Workspace::createLinux());
    QObject::connect(&controller, &InstallerController::quitRequested, &app, &QApplication::quit);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &controller,
                     &InstallerController::quitForSignal);
    controller.setUpWindow();
    return app.exec();
}
