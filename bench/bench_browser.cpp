// The browser off screen: showing a folder of 10,000 entries, expanding a folder of 10,000
// entries, and renaming 1,000 files by a scheme.
#include "BenchUtils.h"

#include "BatchRename.h"
#include "BrowserController.h"
#include "BrowserItem.h"
#include "BrowserModel.h"
#include "MainWindowForDrop.h"
#include "OutlineView.h"
#include "SharedPreferences.h"
#include "platform/FakeWorkspace.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void touch(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

// 10,000 entries: a tenth folders, the rest of eight file types.
void fill(const QString &folder)
{
    static const QStringList extensions = {"txt",     "pdf", "odt", "png",
                                           "desktop", "sh",  "ods", "mp3"};
    QDir().mkpath(folder);
    for (int i = 0; i < 10000; ++i) {
        if (i % 10 == 0)
            QDir().mkdir(folder + QStringLiteral("/folder %1").arg(i));
        else
            touch(folder
                  + QStringLiteral("/file %1.%2").arg(i).arg(extensions.at(i % extensions.size())));
    }
}

void report(const char *name, const std::vector<double> &samples)
{
    const Bench::Stats figures = Bench::stats(samples);
    Bench::print((std::string(name) + "_median").c_str(), figures.median, "ms");
    Bench::print((std::string(name) + "_p95").c_str(), figures.p95, "ms");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir tree;
    // The browser's settings file goes to the temporary folder, not the user's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(tree.filePath("config")));
    QApplication app(argc, argv);

    const QString flat = tree.filePath("flat");
    fill(flat);
    const QString nested = tree.filePath("nested");
    fill(nested + "/big");
    QDir().mkpath(nested + "/small");

    FakeWorkspace workspace;
    const std::unique_ptr<NotificationCenter> notifications =
        NotificationCenter::createLocalCenter();
    SharedPreferences preferences(BrowserController::defaultPreferencesPath());
    BrowserController::Environment environment;
    environment.notifications = notifications.get();
    environment.workspace = &workspace;
    environment.preferences = &preferences;
    environment.quit = [] {};
    BrowserController controller(environment);
    controller.awakeFromNib();
    MainWindowForDrop *window = controller.window();
    window->show();

    // From the request to the window painted with its rows; the first run warms the icons.
    const auto showFlat = [&] {
        controller.createBrowserForPath(flat, true);
        window->grab();
    };
    showFlat();
    report("browser_show_10000", Bench::timeRuns(11, showFlat));

    std::vector<double> expanding;
    for (int run = 0; run < 11; ++run) {
        controller.createBrowserForPath(nested, true);
        window->grab();
        const QModelIndex big = controller.model()->index(0, 0);
        expanding.push_back(Bench::timeRuns(1, [&] {
                                controller.outline()->expand(big);
                                window->grab();
                            }).front());
    }
    report("browser_expand_10000", expanding);

    std::vector<double> renaming;
    for (int run = 0; run < 9; ++run) {
        const QString folder = tree.filePath(QStringLiteral("rename%1").arg(run));
        QDir().mkpath(folder);
        for (int i = 0; i < 1000; ++i)
            touch(folder + QStringLiteral("/IMG_%1.jpg").arg(i));
        BrowserItem root(folder, std::nullopt, false, false);
        QList<BrowserItem *> items;
        for (int i = 0; i < root.numberOfChildren(); ++i)
            items << root.childAtIndex(i);
        // From 500 on three digits: IMG_500 to IMG_999 and, cut, IMG_000 to IMG_499, names that
        // other rows hold when the run reaches them, so that the "#" rule is part of the time.
        renaming.push_back(
            Bench::timeRuns(1, [&] {
                const auto failures =
                    BatchRename::run(items, {QStringLiteral("IMG_%X"), 500, 3, true});
                if (!failures.isEmpty())
                    std::printf("rename failures: %lld\n", static_cast<long long>(failures.size()));
                root.sortChildren();
            }).front());
        QDir(folder).removeRecursively();
    }
    report("browser_rename_1000", renaming);
    return 0;
}
