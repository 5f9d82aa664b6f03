#include "ActivityReportWindow.h"
#include "DesktopIcons.h"
#include "KorvaleLog.h"
#include "MainController.h"
#include "ManagerWindow.h"
#include "QOR_StringUtils.h"
#include "SaveFailureAlert.h"
#include "WindowFocus.h"
#include "platform/DisplayAvailability.h"
#include "platform/SessionInstance.h"
#include "platform/SessionPrograms.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QVersionNumber>

namespace {

// The oldest Qt the manager runs on; an older library at run time is refused with an alert.
constexpr int RequiredQtMajor = 6;
constexpr int RequiredQtMinor = 4;

bool qtIsRecentEnough()
{
    const QVersionNumber running = QVersionNumber::fromString(QString::fromLatin1(qVersion()));
    return running >= QVersionNumber(RequiredQtMajor, RequiredQtMinor);
}

} // namespace

int main(int argc, char **argv)
{
    if (const std::optional<QString> why = DisplayAvailability::problem()) {
        KorvaleLog::line(QStringLiteral("korvale-manager cannot start: %1").arg(*why));
        return 1;
    }
    // On XWayland in a Wayland session: see docs/platform.md.
    DisplayAvailability::QtArguments qtArguments(argc, argv);
    QApplication app(qtArguments.argc(), qtArguments.argv());
    WindowFocus::setActivationToken(qtArguments.launchToken());
    QApplication::setApplicationName(QStringLiteral("korvale-manager"));
    QApplication::setOrganizationName(QStringLiteral("Korvale"));
    QApplication::setApplicationVersion(QStringLiteral(KORVALE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("korvale-manager"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvale.svg")));
    QOR_StringUtils::installTranslations();
    DesktopIcons::useDesktopIconTheme();
    SaveFailureAlert::install();

    if (!qtIsRecentEnough()) {
        QMessageBox alert(
            QMessageBox::Critical,
            QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("InvalidSystemTitle")),
            QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("SystemRequiredLeopard"))
                .arg(QStringLiteral("%1.%2").arg(RequiredQtMajor).arg(RequiredQtMinor),
                     QString::fromLatin1(qVersion())));
        alert.addButton(
            QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("SystemQuitButton")),
            QMessageBox::AcceptRole);
        alert.exec();
        return 0;
    }

    // korvale-manager FILE: a use file opens its activity; other files are ignored. A second
    // start hands its files to the first, whose window comes forward.
    QStringList files;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        files << QFileInfo(arguments.at(i)).absoluteFilePath();
    SessionInstance instance(SessionProgram::manager().service);
    if (instance.claim(files) == SessionInstance::Claim::HandedOver)
        return 0;

    MainController controller({});
    // The licence sheet shown at start runs an event loop of its own: the signals are heard there.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &controller,
                     &MainController::quitForSignal);
    QObject::connect(&instance, &SessionInstance::activationRequested, &controller, [&controller] {
        controller.window()->show();
        controller.window()->raise();
        controller.window()->activateWindow();
    });
    QObject::connect(&instance, &SessionInstance::filesOpenRequested, &controller,
                     [&controller](const QStringList &paths) {
                         for (const QString &path : paths)
                             controller.openFile(path);
                     });
    instance.setStatusProvider([&controller] {
        QVariantMap status{{QStringLiteral("pid"), qint64(QCoreApplication::applicationPid())},
                           {QStringLiteral("activityFile"), controller.activityFile()}};
        if (const ActivityReportWindow *report = controller.activityReportWindow()) {
            QStringList rows;
            for (const ActivityData::ReportRow &row : report->rows())
                rows << row.name;
            status.insert(QStringLiteral("activityReportNames"), rows);
            status.insert(QStringLiteral("activityLoading"), report->isLoading());
        }
        return status;
    });
    controller.awakeFromNib();
    if (!controller.applicationDidFinishLaunching())
        return 0;
    for (const QString &file : std::as_const(files))
        controller.openFile(file);
    return app.exec();
}
