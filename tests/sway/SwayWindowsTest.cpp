// The native Wayland windows of a wlroots desktop in the answers' window rows, listed through
// the compositor's foreign-toplevel protocol, and brought to the front: two terminals (foot)
// stand for the user's programs.
#include "AnswerRecord.h"
#include "ItemRecord.h"
#include "QOR_StringUtils.h"
#include "WindowAnswers.h"
#include "platform/WaylandToplevels.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

bool isActive(quint32 id)
{
    for (const WaylandToplevels::Toplevel &window : WaylandToplevels::sessionList()) {
        if (window.id == id)
            return window.active;
    }
    return false;
}

} // namespace

TEST(SwayWindows, NativeWindowsAreFoundByTitleAndBroughtToTheFront)
{
#ifndef KORVALE_FOOT
    GTEST_SKIP() << "needs foot (scripts/install-deps.sh)";
#else
    if (qEnvironmentVariableIsEmpty("SWAYSOCK"))
        GTEST_SKIP() << "needs a sway session: run under scripts/with-sway-session.sh";
    ASSERT_TRUE(WaylandToplevels::session());
    QOR_StringUtils::installTranslations(QLocale(QStringLiteral("en")));
    std::unique_ptr<QProcess> terminals[2];
    const QString titles[] = {QStringLiteral("Qorvex Ledger"), QStringLiteral("Qorvex Sketch")};
    for (int i = 0; i < 2; ++i) {
        terminals[i] = std::make_unique<QProcess>();
        terminals[i]->start(QStringLiteral(KORVALE_FOOT),
                            {QStringLiteral("--title"), titles[i], QStringLiteral("--app-id"),
                             QStringLiteral("org.example.Qorvex"), QStringLiteral("sleep"),
                             QStringLiteral("60")});
        // The second opens once the first is listed, so that the order is known.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return WaylandToplevels::sessionList().size() == i + 1; }, 10000))
            << terminals[i]->readAllStandardError().toStdString();
    }

    WindowAnswers answers([] { return QList<X11Windows::ClientWindow>(); });
    const QList<QVariantMap> rows = answers.answer(QStringLiteral("qorvex"), 1000);
    ASSERT_EQ(rows.size(), 2);
    QStringList found;
    for (const QVariantMap &row : rows)
        found << row.value(ItemRecord::KeyTitle).toString();
    EXPECT_EQ(found, (QStringList{titles[0], titles[1]}));
    EXPECT_EQ(answers.answer(QStringLiteral("ledger"), 1000).size(), 1);

    // The newer window has the focus; Return on the older one's row brings it to the front.
    const quint32 older = rows.at(0).value(AnswerRecord::KeyNativeWindow).toUInt();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !isActive(older); }, 5000));
    ASSERT_TRUE(WaylandToplevels::session()->activate(older));
    EXPECT_TRUE(QTest::qWaitFor([&] { return isActive(older); }, 5000));

    // A window closed leaves the list.
    for (auto &terminal : terminals) {
        terminal->kill();
        terminal->waitForFinished();
    }
    EXPECT_TRUE(QTest::qWaitFor([] { return WaylandToplevels::sessionList().isEmpty(); }, 10000));
    QOR_StringUtils::removeTranslations();
#endif
}
