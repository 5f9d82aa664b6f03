// The manager: from its start to the main window painted with 5,000 applications and 1,000
// files in the lists, and one keystroke of the applications filter over 5,000 records.
#include "BenchUtils.h"

#include "CommonKorvaleClass.h"
#include "MainController.h"
#include "ManagerWindow.h"
#include "QOR_StringUtils.h"
#include "SectionViews.h"
#include "SharedPreferences.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    QApplication app(argc, argv);
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));

    const QStringList words = {"Sketch", "Photo", "Mail", "Note",   "Zephyr", "Term",   "Audio",
                               "Video",  "Calc",  "Draw", "Office", "Studio", "Reader", "Viewer"};
    QVariantList applications;
    for (int i = 0; i < 5000; ++i) {
        const QString title =
            QStringLiteral("%1 %2 %3")
                .arg(words.at(i % words.size()), words.at((i / 14) % words.size()))
                .arg(i);
        applications << QVariantMap{
            {"x", 1},
            {"T", title},
            {"P", QStringLiteral("/usr/share/applications/app%1.desktop").arg(i)},
            {"K", i % 3 == 0 ? QStringLiteral("graphics editor") : QString()}};
    }
    CommonKorvaleClass::saveListInFile(applications, DataFileName::Applications);
    QVariantList files;
    for (int i = 0; i < 1000; ++i)
        files << QVariantMap{{"x", 2},
                             {"T", QStringLiteral("file %1.txt").arg(i)},
                             {"P", home.path() + QStringLiteral("/docs/file %1.txt").arg(i)},
                             {"D", 0}};
    SharedPreferences preferences;
    preferences.setValue("FilesList", files);
    preferences.setValue("AppsFoldersList", QStringList{home.path()});
    preferences.setValue("Version", "bench");
    preferences.setValue("DaemonActivated", 0);
    preferences.synchronize();

    std::vector<double> starts;
    std::unique_ptr<NotificationCenter> notifications = NotificationCenter::createLocalCenter();
    for (int run = 0; run < 11; ++run) {
        QElapsedTimer timer;
        timer.start();
        MainController::Environment environment;
        environment.notifications = notifications.get();
        environment.interactive = false;
        environment.version = QStringLiteral("bench");
        environment.daemonPath = home.path() + "/no-agent";
        MainController manager(environment);
        manager.awakeFromNib();
        PaintWatch watch;
        manager.window()->installEventFilter(&watch);
        manager.applicationDidFinishLaunching();
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        starts.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (run + 1 == 11) {
            manager.window()->selectSection(ManagerWindow::ApplicationsFound);
            QLineEdit *field = manager.applicationsView()->searchField();
            const QStringList keystrokes = {"s",         "sk",        "ske",     "sket",
                                            "sketc",     "sketch",    "sketch ", "sketch p",
                                            "sketch ph", "sketch pho"};
            std::vector<double> filters;
            for (int round = 0; round < 5; ++round) {
                for (const QString &text : keystrokes) {
                    QElapsedTimer keystroke;
                    keystroke.start();
                    field->setText(text);
                    filters.push_back(double(keystroke.nsecsElapsed()) / 1e6);
                }
                field->clear();
            }
            const Bench::Stats filter = Bench::stats(filters);
            Bench::print("manager_filter_keystroke_5000_median", filter.median, "ms");
            Bench::print("manager_filter_keystroke_5000_p95", filter.p95, "ms");
        }
    }
    const Bench::Stats start = Bench::stats(starts);
    Bench::print("manager_start_to_paint_5000_apps_1000_files_median", start.median, "ms");
    Bench::print("manager_start_to_paint_5000_apps_1000_files_p95", start.p95, "ms");
    return 0;
}
