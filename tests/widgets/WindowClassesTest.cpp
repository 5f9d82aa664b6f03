#include "QOR_WindowsUtils.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QTest>

#include <memory>

namespace {

QStringList closedOrder;

class NoteWindow : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        closedOrder << objectName();
        QWidget::closeEvent(event);
    }
};

class PreferencesWindow : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

template <class T> std::unique_ptr<T> openWindow(const QString &name, QPoint at)
{
    auto window = std::make_unique<T>();
    window->setObjectName(name);
    window->setGeometry(QRect(at, QSize(200, 120)));
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

} // namespace

TEST(WindowClassesTest, FrontMostWindowCascadingAndClosingGoByClass)
{
    QOR_WindowsUtils::trackWindowOrder();
    closedOrder.clear();
    EXPECT_EQ(QOR_WindowsUtils::getFrontMostWindowOfClass<NoteWindow>(), nullptr);

    auto first = openWindow<NoteWindow>("first", QPoint(50, 50));
    auto second = openWindow<NoteWindow>("second", QPoint(300, 60));
    auto preferences = openWindow<PreferencesWindow>("preferences", QPoint(400, 300));

    // The preferences window is in front, but the front note is the one activated last.
    EXPECT_EQ(QOR_WindowsUtils::getFrontMostWindowOfClass<NoteWindow>(), second.get());
    EXPECT_EQ(QOR_WindowsUtils::getFrontMostWindowOfClass<PreferencesWindow>(), preferences.get());
    EXPECT_EQ(QOR_WindowsUtils::getDelegateOfClassForWindow(NoteWindow::staticMetaObject,
                                                            preferences.get()),
              nullptr);

    first->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first.get()));
    EXPECT_EQ(QOR_WindowsUtils::getFrontMostWindowOfClass<NoteWindow>(), first.get());

    NoteWindow third;
    third.resize(200, 120);
    QOR_WindowsUtils::cascadeWindow(&third);
    EXPECT_EQ(third.pos(),
              first->pos()
                  + QPoint(QOR_WindowsUtils::CascadeOffset, QOR_WindowsUtils::CascadeOffset));

    EXPECT_TRUE(QOR_WindowsUtils::showAllVisibleWindows());

    // Back to front: the note behind closes first.
    first->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first.get()));
    QOR_WindowsUtils::closeAllWindowsOfClass<NoteWindow>();
    EXPECT_EQ(closedOrder, QStringList({"second", "first"}));
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    EXPECT_TRUE(preferences->isVisible());

    preferences->hide();
    EXPECT_FALSE(QOR_WindowsUtils::showAllVisibleWindows());
}

#include "WindowClassesTest.moc"
