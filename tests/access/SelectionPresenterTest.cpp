#include "SelectionPresenter.h"

#include "DetailWindow.h"
#include "ItemRecord.h"
#include "SelectionWindow.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace ItemRecord;

namespace {

QVariantMap rec(int kind, const QVariantMap &more)
{
    QVariantMap map = more;
    map.insert(KeyKind, kind);
    return map;
}

QVariantMap note(const QString &title, const QString &text = {})
{
    return rec(KindNote, {{KeyTitle, title}, {KeyText, text}});
}

class SelectionPresenterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mAccess = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
        mAccess->setGeometry(100, 100, 400, 300);
        mAccess->show();
        mPresenter = new SelectionPresenter(mAccess.get());
        mPresenter->setScreenRectProvider([] { return QRect(0, 0, 1200, 700); });
        mPresenter->setAnimationDuration(0);
    }
    void TearDown() override
    {
        SelectionPreview::setContactPictureLookup({});
        mAccess.reset();
    }

    SelectionTextView *text() const { return mPresenter->previewWindow()->textView(); }

    std::unique_ptr<QWidget> mAccess;
    SelectionPresenter *mPresenter = nullptr; // owned by the access window
};

TEST_F(SelectionPresenterTest, ShowsTheTextUnderTheAccessWindow)
{
    mPresenter->selectList(note("Shopping", "milk\neggs"), {});
    ASSERT_TRUE(mPresenter->isPreviewVisible());
    EXPECT_EQ(text()->toPlainText(), "Shopping\nmilk\neggs");
    const QRect frame = mPresenter->previewFrame();
    EXPECT_EQ(frame.topLeft(), QPoint(100, 402));
    EXPECT_EQ(frame.width(), 400);
    EXPECT_GE(frame.height(), 40);
    EXPECT_EQ(mPresenter->previewWindow()->geometry(), frame);
    EXPECT_FALSE(mPresenter->isDetailVisible()) << "a note has no detail";

    mPresenter->selectList(std::nullopt, {});
    EXPECT_FALSE(mPresenter->isPreviewVisible());
    EXPECT_TRUE(text()->toPlainText().isEmpty());

    mPresenter->selectList(rec(KindToDo, {{KeyTitle, "Call"}}), {});
    EXPECT_FALSE(mPresenter->isPreviewVisible()) << "nothing to show, no empty box";
}

TEST_F(SelectionPresenterTest, LongNoteAtTheScreensBottomIsCutToTheSpaceLeft)
{
    mAccess->setGeometry(100, 350, 400, 300); // ends at 650, 50 points above the edge
    QStringList lines;
    for (int i = 0; i < 400; ++i)
        lines << QStringLiteral("line %1").arg(i);
    mPresenter->selectList(note("Long", lines.join('\n')), {});
    const QRect frame = mPresenter->previewFrame();
    EXPECT_EQ(frame.top(), 652);
    EXPECT_EQ(frame.y() + frame.height(), 700) << "ends at the screen's bottom, never below";

    mAccess->move(100, 100); // the windows follow the access window
    const QRect moved = mPresenter->previewFrame();
    EXPECT_EQ(moved.top(), 402);
    EXPECT_LE(moved.y() + moved.height(), 700);
    EXPECT_GT(moved.height(), frame.height()) << "with more room the long note grows again";
}

TEST_F(SelectionPresenterTest, TheFirstQueryWordIsSelectedWithAccentsIgnored)
{
    mPresenter->selectList(note("Dessert", "Crème brûlée for four"),
                           QStringLiteral("  BRULEE creme"));
    EXPECT_EQ(text()->selectedPlainText(), QStringLiteral("brûlée"));

    mPresenter->selectList(note("Dessert", "Crème brûlée for four"), QStringLiteral("pie"));
    EXPECT_TRUE(text()->selectedPlainText().isEmpty()) << "a word not found selects nothing";

    mPresenter->selectList(note("Dessert", "Crème brûlée for four"), QStringLiteral("   "));
    EXPECT_TRUE(text()->selectedPlainText().isEmpty());
}

TEST_F(SelectionPresenterTest, ContactShowsItsPhoneInTheDetailWindow)
{
    const QVariantMap ann = rec(KindContact,
                                {{KeyTitle, "Ann"},
                                 {KeyText, "Ann\nmobile\t06 12"},
                                 {KeyPhone, "\nmobile\t06 12"},
                                 {KeyEmail, "work\tann@example.org"}});
    mPresenter->selectList(ann, QStringLiteral("mob"));
    ASSERT_TRUE(mPresenter->isDetailVisible());
    EXPECT_EQ(mPresenter->detailWindow()->text(), "mobile 06 12");
    const QRect preview = mPresenter->previewFrame();
    EXPECT_EQ(mPresenter->detailFrame().top(), preview.y() + preview.height() + 2);
    EXPECT_EQ(mPresenter->detailFrame().width(), 400);
    EXPECT_EQ(text()->selectedPlainText(), "mob") << "the label is selectable text too";

    mPresenter->selectList(note("Plain"), {});
    EXPECT_FALSE(mPresenter->isDetailVisible());

    QImage face(30, 30, QImage::Format_RGB32);
    face.fill(Qt::blue);
    SelectionPreview::setContactPictureLookup([&](const QString &) { return face; });
    mPresenter->selectList(rec(KindContact, {{KeyTitle, "Bob"}, {KeyText, "Bob"}}), {});
    EXPECT_TRUE(mPresenter->isDetailVisible()) << "a picture alone is worth the window";
    EXPECT_TRUE(mPresenter->detailWindow()->isImageVisible());
    EXPECT_GE(mPresenter->previewFrame().height(), 70);
}

TEST_F(SelectionPresenterTest, ALongDetailIsCutAtItsTail)
{
    const QString number = QStringLiteral("+33 6 12 34 56 78 extension 1234 5678 9012 3456 7890");
    mPresenter->selectList(rec(KindContact, {{KeyText, "Ann"}, {KeyPhone, "office\t" + number}}),
                           {});
    ASSERT_TRUE(mPresenter->isDetailVisible());
    auto *label = mPresenter->detailWindow()->findChild<DetailTextLabel *>();
    ASSERT_NE(label, nullptr);
    const QString shown = label->shownText();
    EXPECT_TRUE(shown.startsWith("office +33")) << qPrintable(shown);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << qPrintable(shown);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->width());
}

TEST_F(SelectionPresenterTest, LinksOfTheContactsOwnAddressAskForTheEmail)
{
    QList<QUrl> opened;
    mPresenter->setUrlOpener([&](const QUrl &url) { opened << url; });
    QSignalSpy email(mPresenter, &SelectionPresenter::emailRequested);
    mPresenter->selectList(rec(KindContact,
                               {{KeyText, "Ann\nwork\tann@example.org\nold@example.org"},
                                {KeyEmail, "work\tann@example.org\nold@example.org"}}),
                           {});
    emit text()->anchorClicked(QUrl("mailto:ann@example.org"));
    EXPECT_EQ(email.count(), 1);
    EXPECT_TRUE(opened.isEmpty());
    emit text()->anchorClicked(QUrl("mailto:old@example.org"));
    EXPECT_EQ(email.count(), 1);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl("mailto:old@example.org"));
}

TEST_F(SelectionPresenterTest, PreviewTextKeys)
{
    mPresenter->selectList(note("Keys", "some text here"), QStringLiteral("text"));
    QSignalSpy tab(mPresenter, &SelectionPresenter::tabPressed);
    QSignalSpy escape(mPresenter, &SelectionPresenter::escapePressed);
    ASSERT_FALSE(text()->selectedPlainText().isEmpty());

    QTest::keyClick(text(), Qt::Key_X);
    QTest::keyClick(text(), Qt::Key_Delete);
    EXPECT_EQ(text()->toPlainText(), "Keys\nsome text here") << "other keys are ignored";
    EXPECT_EQ(text()->selectedPlainText(), "text");

    QTest::keyClick(text(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(text()->selectedPlainText(), "Keys\nsome text here");

    QTest::keyClick(text(), Qt::Key_Tab);
    EXPECT_EQ(tab.count(), 1);
    EXPECT_TRUE(text()->selectedPlainText().isEmpty()) << "Tab clears the selection";

    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_EQ(escape.count(), 1);
}

TEST_F(SelectionPresenterTest, ShowingThePreviewLeavesTheFocusInTheAccessWindow)
{
    mAccess->activateWindow();
    QApplication::setActiveWindow(mAccess.get());
    mPresenter->selectList(note("Focus", "stays"), {});
    EXPECT_EQ(QApplication::activeWindow(), mAccess.get());
    EXPECT_TRUE(mPresenter->previewWindow()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(mPresenter->previewWindow()->windowFlags().testFlag(Qt::FramelessWindowHint));

    mAccess->hide();
    EXPECT_FALSE(mPresenter->isPreviewVisible()) << "the preview never outlives its window";
    mPresenter->selectList(note("Late", "a search ending after the window closed"), {});
    EXPECT_FALSE(mPresenter->isPreviewVisible());
    EXPECT_FALSE(mPresenter->isDetailVisible());
    mAccess->show();
    mPresenter->selectList(note("Late", "a search ending after the window closed"), {});
    EXPECT_TRUE(mPresenter->isPreviewVisible()) << "the same text is shown again on reopening";
}

} // namespace
