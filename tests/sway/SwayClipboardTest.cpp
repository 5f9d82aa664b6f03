// The clipboard of a wlroots desktop through the compositor's data control, with no window and
// no focus of ours: what another Wayland program copies is read, and what the suite puts on the
// clipboard another program pastes (wl-clipboard's wl-copy and wl-paste stand for them).
#include "ClipboardOffer.h"
#include "CommonKorvaleClass.h"
#include "PasteboardContents.h"
#include "platform/SessionClipboard.h"
#include "platform/WaylandDataControl.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Runs a wl-clipboard command while this process goes on serving the clipboard it owns.
QByteArray run(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(program, arguments);
    if (!input.isNull()) {
        process.write(input);
        process.closeWriteChannel();
    }
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000))
        process.kill();
    return process.readAllStandardOutput();
}

QByteArray pngOf(const QColor &color)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(color);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace

TEST(SwayClipboard, AnotherProgramsCopyIsReadAndOursIsPasted)
{
    if (qEnvironmentVariableIsEmpty("SWAYSOCK"))
        GTEST_SKIP() << "needs a sway session: run under scripts/with-sway-session.sh";
    // Sway 1.7 offers the wlroots protocol alone.
    ASSERT_EQ(SessionClipboard::routeName(), QStringLiteral("wlr-data-control-unstable-v1"));
    WaylandDataControl *control = SessionClipboard::dataControl();
    ASSERT_TRUE(control);

    // Copied in another program: known at once, through the connection's own events.
    const QString copied = QStringLiteral("Qorvex clipboard – “text”");
    QElapsedTimer sinceStarted;
    qint64 knownAfter = -1;
    QObject::connect(control, &WaylandDataControl::selectionChanged, control, [&] {
        if (knownAfter < 0 && control->formats().contains("text/plain"))
            knownAfter = sinceStarted.elapsed();
    });
    sinceStarted.start();
    run(QStringLiteral("wl-copy"), {copied});
    ASSERT_TRUE(QTest::qWaitFor([&] { return knownAfter >= 0; }, 5000));
    // Measured from wl-copy's start, its own start-up included.
    std::printf("clipboard change known %lld ms after wl-copy started\n",
                static_cast<long long>(knownAfter));
    EXPECT_LT(knownAfter, 1000);
    EXPECT_EQ(CommonKorvaleClass::getStringFromPasteboard(), copied);
    // The single-space query offers it, as the text and its three variants.
    const QVariantList offer = ClipboardOffer::build();
    ASSERT_EQ(offer.size(), 5);
    QStringList texts;
    for (const QVariant &row : offer) {
        const auto contents = PasteboardContents::unpack(row.toMap().value("cb").toByteArray());
        texts << (contents ? contents->value(PasteboardContents::TypeString)
                                 .toMap()
                                 .value("string")
                                 .toString()
                           : QString());
    }
    EXPECT_EQ(texts.mid(1),
              (QStringList{copied, copied.toUpper(), copied.toLower(),
                           PasteboardContents::transformText(copied, 4)}));

    // Put there by the suite: pasted elsewhere, in every type of the entry.
    CommonKorvaleClass::copyPlainTextToPasteboard(QStringLiteral("Qorvane from the suite"));
    EXPECT_EQ(run(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")}),
              QByteArray("Qorvane from the suite"));
    auto *entry = new QMimeData;
    entry->setText(QStringLiteral("a picture"));
    entry->setData(QStringLiteral("image/png"), pngOf(Qt::darkCyan));
    const QByteArray packed = PasteboardContents::capture(entry);
    delete entry;
    ASSERT_TRUE(CommonKorvaleClass::writeContentsToPasteBoard(packed));
    const QList<QByteArray> types =
        run(QStringLiteral("wl-paste"), {QStringLiteral("--list-types")}).split('\n');
    EXPECT_TRUE(types.contains("image/png")) << QByteArray(types.join(' ')).constData();
    EXPECT_EQ(
        run(QStringLiteral("wl-paste"), {QStringLiteral("--type"), QStringLiteral("image/png")}),
        pngOf(Qt::darkCyan));
    // And read back as another program would have put it: the same entry.
    EXPECT_EQ(PasteboardContents::unpack(CommonKorvaleClass::getPasteboardContents()),
              PasteboardContents::unpack(packed));
}
