#include "WindowAnswers.h"
#include "AnswerRecord.h"
#include "QOR_StringUtils.h"
#include "platform/FrontWindowPaste.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A real X client with one window of that title, ended with the test.
std::unique_ptr<QProcess> openWindow(const QString &title)
{
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(KORVALE_BINARY_DIR "/bin/korvale-test-window"), {title});
    return process;
}

std::optional<X11Windows::ClientWindow> windowTitled(const QString &title)
{
    for (const X11Windows::ClientWindow &window : X11Windows::clientWindows())
        if (window.title == title)
            return window;
    return std::nullopt;
}

} // namespace

TEST(WindowAnswers, FoundByTitleRaisedRestoredWhenMinimisedAndClosed)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs the session's X display (scripts/with-session.sh)";
    QOR_StringUtils::installTranslations(QLocale("en"));
    const auto quokka = openWindow("Quokka notes");
    const auto wombat = openWindow("Wombat sketches");
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return windowTitled("Quokka notes") && windowTitled("Wombat sketches"); }, 20000));

    WindowAnswers family;
    const QList<QVariantMap> rows = family.answer("quok not", 50);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().value(ItemRecord::KeyTitle).toString(), "Quokka notes");
    EXPECT_TRUE(rows.first().value(ItemRecord::KeyText).toString().startsWith("Window of "));
    // By the application's name: both windows are the same program's (so may be a window left
    // by another test of the session).
    const X11Windows::ClientWindow first = *windowTitled("Quokka notes");
    QStringList byApplication;
    for (const QVariantMap &row : family.answer(first.applicationClass.left(6), 50))
        byApplication << row.value(ItemRecord::KeyTitle).toString();
    EXPECT_TRUE(byApplication.contains("Quokka notes") && byApplication.contains("Wombat sketches"))
        << first.applicationClass.toStdString() << ": " << byApplication.join(", ").toStdString();
    EXPECT_TRUE(family.answer("platypus", 50).isEmpty());

    const unsigned long quokkaId = rows.first().value(AnswerRecord::KeyWindow).toULongLong();
    ASSERT_TRUE(X11Windows::activateWindow(quokkaId));
    EXPECT_TRUE(QTest::qWaitFor([&] { return X11Windows::activeWindow() == quokkaId; }));

    // Both minimised; the one asked for comes back, in front.
    ASSERT_GE(X11Windows::minimizeWindowsExcept({QCoreApplication::applicationPid()}), 2);
    ASSERT_TRUE(QTest::qWaitFor([] {
        const auto window = windowTitled("Wombat sketches");
        return window && window->minimized;
    }));
    const QList<QVariantMap> minimised = family.answer("wombat", 50);
    ASSERT_EQ(minimised.size(), 1);
    EXPECT_TRUE(minimised.first().value(ItemRecord::KeyText).toString().endsWith("minimised"));
    const unsigned long wombatId = minimised.first().value(AnswerRecord::KeyWindow).toULongLong();
    ASSERT_TRUE(X11Windows::activateWindow(wombatId));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const auto window = windowTitled("Wombat sketches");
        return X11Windows::activeWindow() == wombatId && window && !window->minimized;
    }));
    EXPECT_FALSE(X11Windows::activateWindow(0x7fffff0));

    // Closed from its row as a pager closes it: the window manager asks the program, which ends.
    ASSERT_TRUE(X11Windows::closeWindow(quokkaId));
    EXPECT_TRUE(quokka->waitForFinished(10000));
    EXPECT_FALSE(windowTitled("Quokka notes"));
    EXPECT_TRUE(windowTitled("Wombat sketches"));
    EXPECT_FALSE(X11Windows::closeWindow(quokkaId));
}

// A result pasted as the user's own paste key: it goes to the window in front once that is no
// window of ours.
TEST(WindowAnswers, APasteGoesToTheWindowInFrontAsItsOwnPasteKey)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs the session's X display (scripts/with-session.sh)";
    ASSERT_TRUE(FrontWindowPaste::canPaste());
    const auto target = openWindow("Paste target");
    ASSERT_TRUE(QTest::qWaitFor([] { return windowTitled("Paste target").has_value(); }, 20000));
    const unsigned long id = windowTitled("Paste target")->id;
    ASSERT_TRUE(X11Windows::activateWindow(id));
    ASSERT_TRUE(QTest::qWaitFor([&] { return X11Windows::activeWindow() == id; }));

    std::optional<bool> sent;
    QObject::connect(FrontWindowPaste::start(), &FrontWindowPaste::finished,
                     [&sent](bool result) { sent = result; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return sent.has_value(); }, 5000));
    EXPECT_TRUE(*sent);
    QByteArray typed;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            typed += target->readAllStandardOutput();
            return typed.contains("key Ctrl+V");
        },
        5000))
        << typed.constData();
}
