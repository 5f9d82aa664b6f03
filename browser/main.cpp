#include "BrowserController.h"
#include "DesktopIcons.h"
#include "KorvaleLog.h"
#include "MainWindowForDrop.h"
#include "QOR_StringUtils.h"
#include "SaveFailureAlert.h"
#include "WindowFocus.h"
#include "platform/DisplayAvailability.h"
#include "platform/SessionInstance.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

int main(int argc, char **argv)
{
    if (const std::optional<QString> why = DisplayAvailability::problem()) {
        KorvaleLog::line(QStringLiteral("korvale-browser cannot start: %1").arg(*why));
        return 1;
    }
    // On XWayland in a Wayland session: see docs/platform.md.
    DisplayAvailability::QtArguments qtArguments(argc, argv);
    QApplication app(qtArguments.argc(), qtArguments.argv());
    WindowFocus::setActivationToken(qtArguments.launchToken());
    QApplication::setApplicationName(QStringLiteral("korvale-browser"));
    QApplication::setOrganizationName(QStringLiteral("Korvale"));
    QApplication::setApplicationVersion(QStringLiteral(KORVALE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("korvale-browser"));
    QApplication::setQuitOnLastWindowClosed(false); // closing the window quits, after 0.1 s
    QOR_StringUtils::installTranslations();
    DesktopIcons::useDesktopIconTheme();
    SaveFailureAlert::install();

    // One browser per session: a second start brings the first one's window up; what to show
    // comes on the agent's notification, which the first one hears.
    SessionInstance instance(QStringLiteral("org.korvale.Browser"));
    if (instance.claim() == SessionInstance::Claim::HandedOver)
        return 0;

    BrowserController controller(BrowserController::Environment{});
    QObject::connect(&instance, &SessionInstance::activationRequested, &controller, [&controller] {
        if (controller.window()->isVisible()) {
            WindowFocus::bringToFront(controller.window());
        }
    });
    instance.setStatusProvider([&controller] { return controller.status(); });
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &controller,
                     &BrowserController::browserQuit);
    controller.awakeFromNib();
    controller.applicationDidFinishLaunching();
    return app.exec();
}
