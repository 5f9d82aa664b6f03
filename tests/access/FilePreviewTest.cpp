#include "FilePreviewPanel.h"

#include "NativeFileName.h"
#include "PreviewPanelWindow.h"
#include "PreviewPdf.h"
#include "PreviewService.h"
#include "QOR_StringUtils.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// A desktop previewer that records what it was asked.
class FakePreviewService : public PreviewService
{
public:
    bool available = true;
    bool succeeds = true;
    QStringList shown;
    int closes = 0;

    bool isAvailable() override { return available; }
    void showFile(const QString &path, unsigned long, std::function<void(bool)> done) override
    {
        shown << path;
        done(succeeds);
    }
    void close() override { ++closes; }
};

// Stands in for the desktop previewer on the session bus, on a connection of its own.
class FakeDesktopPreviewer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.NautilusPreviewer")
public:
    QStringList uris;
    QList<bool> closeIfShown;
    int closes = 0;

public slots:
    void ShowFile(const QString &uri, int, bool closeIfAlreadyShown)
    {
        uris << uri;
        closeIfShown << closeIfAlreadyShown;
    }
    void Close() { ++closes; }
};

class FilePreviewTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(mDir.isValid()); }
    void TearDown() override { mPanel.hide(); }

    QString file(const QString &name, const QByteArray &contents)
    {
        const QString path = mDir.path() + '/' + name;
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(contents);
        return path;
    }
    QString picture(const QString &name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = mDir.path() + '/' + name;
        EXPECT_TRUE(image.save(path));
        return path;
    }
    FakePreviewService *useFake()
    {
        auto fake = std::make_unique<FakePreviewService>();
        FakePreviewService *raw = fake.get();
        mPanel.setPreviewService(std::move(fake));
        return raw;
    }

    QTemporaryDir mDir;
    FilePreviewPanel mPanel;
};

TEST_F(FilePreviewTest, SpaceTogglesOurPanelWhenNoDesktopPreviewerAnswers)
{
    FakePreviewService *fake = useFake();
    fake->available = false;
    const QString image = picture("photo.png", {64, 48});

    mPanel.toggleQuickLook({});
    EXPECT_FALSE(mPanel.isVisible()) << "a bookmark-only selection shows nothing";

    mPanel.toggleQuickLook({image});
    ASSERT_TRUE(mPanel.isVisible());
    EXPECT_EQ(mPanel.panelWindow()->mode(), PreviewPanelWindow::Mode::Image);
    EXPECT_EQ(mPanel.panelWindow()->shownImage().size(), QSize(64, 48));

    mPanel.toggleQuickLook({image});
    EXPECT_FALSE(mPanel.isVisible()) << "visible: Space hides it";

    mPanel.toggleQuickLook({image});
    ASSERT_TRUE(mPanel.isVisible());
    mPanel.toggleQuickLook({});
    EXPECT_FALSE(mPanel.isVisible()) << "hidden even when the new selection has no file";
    EXPECT_TRUE(fake->shown.isEmpty());
}

TEST_F(FilePreviewTest, WithoutAPreviewerOnTheBusOurPanelShows)
{
    // The real service: this session bus (if any) has no desktop previewer.
    if (NautilusPreviewService().isAvailable())
        GTEST_SKIP() << "a desktop previewer runs on this bus";
    const QString text = file("notes.txt", "hello");
    mPanel.toggleQuickLook({text});
    EXPECT_TRUE(mPanel.isVisible());
    EXPECT_FALSE(mPanel.isDesktopPreviewerShown());
}

TEST_F(FilePreviewTest, TheDesktopPreviewerIsAskedOverTheSessionBus)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    if (NautilusPreviewService().isAvailable())
        GTEST_SKIP() << "a desktop previewer runs on this bus";
    QDBusConnection own = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "previewer");
    FakeDesktopPreviewer previewer;
    ASSERT_TRUE(own.registerObject(NautilusPreviewService::ObjectPath, &previewer,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(own.registerService(NautilusPreviewService::ServiceName));

    const QString path = file("two words.txt", "x");
    mPanel.toggleQuickLook({path});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !previewer.uris.isEmpty(); }, 5000));
    EXPECT_EQ(previewer.uris, QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)});
    EXPECT_EQ(previewer.closeIfShown, QList<bool>{true}) << "a second Space closes it";
    EXPECT_FALSE(mPanel.isVisible());

    mPanel.toggleQuickLook({});
    EXPECT_TRUE(QTest::qWaitFor([&] { return previewer.closes == 1; }, 5000));

    own.unregisterService(NautilusPreviewService::ServiceName);
    QDBusConnection::disconnectFromBus("previewer");
}

TEST_F(FilePreviewTest, TheDesktopPreviewerIsUsedWhenItIsOnTheBus)
{
    FakePreviewService *fake = useFake();
    const QString first = file("a.txt", "a");
    const QString second = file("b.txt", "b");

    mPanel.toggleQuickLook({first, second});
    EXPECT_EQ(fake->shown, QStringList{first}) << "the previewer shows one file";
    EXPECT_FALSE(mPanel.isVisible());
    EXPECT_TRUE(mPanel.isDesktopPreviewerShown());

    mPanel.toggleQuickLook({});
    EXPECT_EQ(fake->closes, 1) << "Space on a bookmark puts the previewer away";

    fake->succeeds = false;
    mPanel.toggleQuickLook({second});
    EXPECT_TRUE(mPanel.isVisible()) << "a previewer that fails leaves it to our panel";
    EXPECT_EQ(mPanel.panelWindow()->shownText(), "b");
}

TEST_F(FilePreviewTest, PanelShowsTextPdfAndASummaryOfOtherFiles)
{
    useFake()->available = false;
    QByteArray big;
    while (big.size() < 300 * 1000)
        big += "0123456789 é\n";
    const QString text = file("big.log", big);
    const QString binary = file("data.bin", QByteArray(2048, '\0') + QByteArray("\x01\x02\xff", 3));
    const QString pdf = mDir.path() + "/doc.pdf";
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        painter.drawText(100, 100, "page one");
        writer.newPage();
        painter.drawText(100, 100, "page two");
    }

    mPanel.toggleQuickLook({text, binary, pdf});
    PreviewPanelWindow *window = mPanel.panelWindow();
    ASSERT_EQ(window->mode(), PreviewPanelWindow::Mode::Text);
    const QString shown = window->shownText();
    EXPECT_TRUE(shown.endsWith("\n…")) << "cut, and said so";
    EXPECT_LE(shown.toUtf8().size(), PreviewPanelWindow::TextLimit + 8);
    EXPECT_TRUE(shown.startsWith("0123456789 é\n")) << "UTF-8 read as such";
    EXPECT_FALSE(shown.contains(QChar::ReplacementCharacter)) << "no character cut in half";

    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(window->currentIndex(), 1);
    ASSERT_EQ(window->mode(), PreviewPanelWindow::Mode::Summary);
    EXPECT_TRUE(window->summaryText().startsWith("data.bin\n"));
    EXPECT_TRUE(window->summaryText().contains(QOR_StringUtils::getSizeBytes(2051)));

    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(window->currentIndex(), 2);
    if (PreviewPdf::isAvailable()) {
        EXPECT_EQ(window->mode(), PreviewPanelWindow::Mode::Pdf);
        EXPECT_FALSE(window->shownImage().isNull());
    } else {
        EXPECT_EQ(window->mode(), PreviewPanelWindow::Mode::Summary);
    }
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(window->currentIndex(), 2) << "the last file stays";

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(mPanel.isVisible());
    mPanel.toggleQuickLook({binary});
    QTest::keyClick(mPanel.panelWindow(), Qt::Key_Space);
    EXPECT_FALSE(mPanel.isVisible()) << "Space closes it as well";
}

// A name copied from an old disk is not UTF-8; it reaches the panel escaped, as the documents'
// index keeps it. A FIFO dressed as a text file is summed up without waiting for a writer.
TEST_F(FilePreviewTest, ANameThatIsNotUtf8IsShownAndAFifoOnlySummedUp)
{
    useFake()->available = false;
    const QByteArray folder = QFile::encodeName(mDir.path());
    auto make = [&](const QByteArray &name, const QByteArray &contents) {
        const int fd = ::open((folder + '/' + name).constData(), O_WRONLY | O_CREAT, 0600);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::write(fd, contents.constData(), size_t(contents.size())), contents.size());
        ::close(fd);
        return NativeFileName::fromNative(folder + '/' + name);
    };
    QByteArray png;
    {
        QBuffer buffer(&png);
        QImage image(QSize(30, 20), QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(&buffer, "PNG"));
    }
    const QString text = make("caf\xe9.txt", "menu du jour");
    const QString image = make("r\xe9sum\xe9.png", png);
    ASSERT_EQ(::mkfifo((folder + "/pipe.txt").constData(), 0600), 0);
    const QString fifo = mDir.path() + "/pipe.txt";

    mPanel.toggleQuickLook({text, image, fifo});
    PreviewPanelWindow *window = mPanel.panelWindow();
    ASSERT_EQ(window->mode(), PreviewPanelWindow::Mode::Text);
    EXPECT_EQ(window->shownText(), "menu du jour");
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("caf\uFFFD.txt (1/3)"));
    QTest::keyClick(window, Qt::Key_Right);
    ASSERT_EQ(window->mode(), PreviewPanelWindow::Mode::Image);
    EXPECT_EQ(window->shownImage().size(), QSize(30, 20));
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(window->mode(), PreviewPanelWindow::Mode::Summary);
    EXPECT_TRUE(window->summaryText().startsWith("pipe.txt\n"));
}

TEST_F(FilePreviewTest, TheDesktopPreviewerIsGivenTheBytesOfANameThatIsNotUtf8)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    if (NautilusPreviewService().isAvailable())
        GTEST_SKIP() << "a desktop previewer runs on this bus";
    QDBusConnection own = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "previewer2");
    FakeDesktopPreviewer previewer;
    ASSERT_TRUE(own.registerObject(NautilusPreviewService::ObjectPath, &previewer,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(own.registerService(NautilusPreviewService::ServiceName));
    const QByteArray native = QFile::encodeName(mDir.path()) + "/caf\xe9 au lait.txt";
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);

    mPanel.toggleQuickLook({NativeFileName::fromNative(native)});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !previewer.uris.isEmpty(); }, 5000));
    own.unregisterService(NautilusPreviewService::ServiceName);
    QDBusConnection::disconnectFromBus("previewer2");
    ASSERT_EQ(previewer.uris.size(), 1);
    EXPECT_TRUE(previewer.uris.first().endsWith("/caf%E9%20au%20lait.txt"))
        << previewer.uris.first().toStdString();
}

} // namespace

#include "FilePreviewTest.moc"

// Poppler comes as a module loaded on the first PDF; where the build made the module, a PDF
// renders through it.
TEST(PreviewPdfModule, ABuiltModuleLoadsAndRendersThePages)
{
    const QString module = QCoreApplication::applicationDirPath() + "/libkorvale-pdf.so";
    if (!QFile::exists(module))
        GTEST_SKIP() << "built without poppler-qt6";
    QTemporaryDir dir;
    const QString pdf = dir.path() + "/two.pdf";
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        painter.drawText(100, 100, "page one");
        writer.newPage();
        painter.drawText(100, 100, "page two");
    }
    ASSERT_TRUE(PreviewPdf::isAvailable());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray document = file.readAll();
    EXPECT_EQ(PreviewPdf::pageCount(document), 2);
    const QImage page = PreviewPdf::renderPage(document, 1, QSize(200, 200));
    EXPECT_FALSE(page.isNull());
    EXPECT_LE(page.width(), 201);
    EXPECT_LE(page.height(), 201);
    EXPECT_FALSE(PreviewPdf::renderFirstPage(document, QSize(64, 64)).isNull());
    EXPECT_EQ(PreviewPdf::pageCount(document.left(20)), 0);
}
