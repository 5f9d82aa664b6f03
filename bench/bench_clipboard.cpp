// The clipboard entries: one keystroke of the manager's clipboard filter with the table painted,
// and korvale-clipboard listing the entries as a whole process, over 2,000 entries.
#include "BenchUtils.h"

#include "ClipboardList.h"
#include "ClipboardSection.h"
#include "ClipboardSectionView.h"
#include "ClipboardStore.h"
#include "PasteboardContents.h"
#include "QOR_StringUtils.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int Entries = 2000;

QVariantList makeEntries()
{
    const QStringList words = {"invoice", "address", "snippet", "command", "été",  "reply",
                               "meeting", "link",    "quote",   "recipe",  "code", "phone"};
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    QVariantList list;
    for (int i = 0; i < Entries; ++i) {
        const QString title = QStringLiteral("%1 %2 %3")
                                  .arg(words.at(i % words.size()), words.at((i / 7) % words.size()))
                                  .arg(i);
        QVariantMap contents{
            {PasteboardContents::TypeString,
             QVariantMap{{"string", title.repeated(8) + QStringLiteral("\nsecond line")}}}};
        if (i % 10 == 0)
            contents.insert(PasteboardContents::TypePNG, QVariantMap{{"data", png}});
        list << ClipboardList::makeEntry(title, PasteboardContents::pack(contents));
    }
    ClipboardList::sortList(list);
    return list;
}

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
    QVariantList entries = makeEntries();
    ClipboardStore().save(entries);

    const std::unique_ptr<NotificationCenter> notifications =
        NotificationCenter::createLocalCenter();
    ClipboardSection section(*notifications, nullptr);
    section.load();
    ClipboardSectionView *view = section.view();
    view->resize(640, 480);
    view->show();
    QCoreApplication::processEvents();

    // Each keystroke filters, resets the table and paints the rows now visible.
    const QStringList typed = {"m",      "me",      "mee",       "meet",       "meeti",
                               "meetin", "meeting", "meeting c", "meeting co", "meeting cod"};
    std::vector<double> keystrokes;
    // Round 0 warms the fonts and the rows' pictures, and is not counted.
    for (int round = 0; round < 6; ++round) {
        view->searchField()->clear();
        QCoreApplication::processEvents();
        for (const QString &text : typed) {
            const std::vector<double> one = Bench::timeRuns(1, [&] {
                view->searchField()->setText(text);
                view->table()->viewport()->repaint();
            });
            if (round > 0)
                keystrokes.push_back(one.front());
        }
    }
    const Bench::Stats filter = Bench::stats(keystrokes);
    Bench::print("clipboard_filter_keystroke_2000_median", filter.median, "ms");
    Bench::print("clipboard_filter_keystroke_2000_p95", filter.p95, "ms");

    const QString tool = QCoreApplication::applicationDirPath() + "/korvale-clipboard";
    int listed = 0;
    const Bench::Stats list = Bench::stats(Bench::timeRuns(21, [&] {
        QProcess process;
        process.start(tool, {"list"});
        process.waitForFinished(60000);
        listed = int(process.readAllStandardOutput().count('\n'));
    }));
    Bench::print("clipboard_cli_list_2000_entries", listed, "entries");
    Bench::print("clipboard_cli_list_2000_median", list.median, "ms");
    Bench::print("clipboard_cli_list_2000_p95", list.p95, "ms");
    return 0;
}
