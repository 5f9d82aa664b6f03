#include "QOR_WindowsUtils.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

QList<QMessageBox *> visibleAlerts()
{
    QList<QMessageBox *> boxes;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

const QString LeaveOpen = QStringLiteral("(leave open)");

// Waits (while the alert runs its own loop) for an alert to show, looks at it, then presses the
// button titled `choice`, or Escape when `choice` is empty, or nothing for LeaveOpen.
void answerNextAlert(const QString &choice, std::function<void(QMessageBox *)> inspect = {},
                     QMessageBox *skip = nullptr)
{
    auto *poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, choice, inspect, skip] {
        for (QMessageBox *box : visibleAlerts()) {
            if (box == skip)
                continue;
            poll->stop();
            poll->deleteLater();
            if (inspect)
                inspect(box);
            if (choice == LeaveOpen)
                return;
            if (choice.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == choice) {
                    button->click();
                    return;
                }
            }
            ADD_FAILURE() << "no button " << choice.toStdString();
            box->reject();
            return;
        }
    });
    poll->start();
}

} // namespace

TEST(WindowsAlertsTest, EachButtonAnswersWithItsCode)
{
    answerNextAlert("Save");
    EXPECT_EQ(QOR_WindowsUtils::modalAlertForWindow(nullptr, "Title", "Text", "Save", "Cancel",
                                                    "Don't Save"),
              1);
    answerNextAlert("Cancel");
    EXPECT_EQ(QOR_WindowsUtils::modalAlertForWindow(nullptr, "Title", "Text", "Save", "Cancel",
                                                    "Don't Save"),
              0);
    answerNextAlert("Don't Save");
    EXPECT_EQ(QOR_WindowsUtils::modalCriticalAlertForWindow(nullptr, "Title", "Text", "Save",
                                                            "Cancel", "Don't Save"),
              -1);
    // Escape is the alternate button.
    answerNextAlert(QString());
    EXPECT_EQ(QOR_WindowsUtils::modalAlertForWindow(nullptr, "Title", "Text", "Save", "Cancel",
                                                    "Don't Save"),
              0);
    EXPECT_TRUE(visibleAlerts().isEmpty());
}

TEST(WindowsAlertsTest, MissingTitlesLeaveButtonsOutAndTheDefaultReadsOk)
{
    QStringList titles;
    int buttonCount = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    answerNextAlert(QString(), [&](QMessageBox *box) {
        buttonCount = int(box->buttons().size());
        titles << box->text() << box->informativeText();
        icon = box->icon();
    });
    // Only a default button: Escape chooses it.
    EXPECT_EQ(QOR_WindowsUtils::modalCriticalAlertForWindow(nullptr, "Careful", "It is gone.",
                                                            QString(), QString(), QString()),
              1);
    EXPECT_EQ(buttonCount, 1);
    EXPECT_EQ(titles, QStringList({"Careful", "It is gone."}));
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(WindowsAlertsTest, TheTitleIsTheBoxsTextAndTheTitleBarNamesTheProgram)
{
    QString windowTitle, text;
    answerNextAlert(QString(), [&](QMessageBox *box) {
        windowTitle = box->windowTitle();
        text = box->text();
    });
    const QString title = QStringLiteral("Some items could not be renamed");
    QOR_WindowsUtils::modalCriticalAlertForWindow(nullptr, title, "A name is taken.", "OK",
                                                  QString(), QString());
    EXPECT_EQ(text, title);
    EXPECT_EQ(windowTitle, "Korvale") << "not the command's name";

    QGuiApplication::setApplicationDisplayName(QStringLiteral("Korvale Browser"));
    answerNextAlert(QString(), [&](QMessageBox *box) { windowTitle = box->windowTitle(); });
    QOR_WindowsUtils::modalCriticalAlertForWindow(nullptr, title, "A name is taken.", "OK",
                                                  QString(), QString());
    QGuiApplication::setApplicationDisplayName(QCoreApplication::applicationName());
    EXPECT_EQ(windowTitle, "Korvale Browser");
}

TEST(WindowsAlertsTest, AnAlertIsAttachedToItsWindowUnlessTheWindowAlreadyHasOne)
{
    QWidget window;
    window.resize(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QWidget *firstParent = nullptr, *secondParent = reinterpret_cast<QWidget *>(1);
    Qt::WindowModality firstModality = Qt::NonModal, secondModality = Qt::NonModal;
    int secondAnswer = 99;
    answerNextAlert(LeaveOpen, [&](QMessageBox *first) {
        firstParent = first->parentWidget();
        firstModality = first->windowModality();
        // A second question for the same window while the first is still open.
        QTimer::singleShot(0, [&, first] {
            answerNextAlert(
                "Other",
                [&](QMessageBox *second) {
                    secondParent = second->parentWidget();
                    secondModality = second->windowModality();
                },
                first);
            secondAnswer = QOR_WindowsUtils::modalAlertForWindow(&window, "Second", "", "OK",
                                                                 "Cancel", "Other");
            QTest::keyClick(first, Qt::Key_Escape);
        });
    });
    // The first one is answered once the second has been: Escape, the alternate button.
    EXPECT_EQ(QOR_WindowsUtils::modalAlertForWindow(&window, "First", "", "OK", "Cancel", ""), 0);

    EXPECT_EQ(firstParent, &window);
    EXPECT_EQ(firstModality, Qt::WindowModal);
    EXPECT_EQ(secondParent, nullptr);
    EXPECT_EQ(secondModality, Qt::ApplicationModal);
    EXPECT_EQ(secondAnswer, -1);
}

TEST(WindowsAlertsTest, AHiddenWindowGetsAFreeStandingAlert)
{
    QWidget hidden;
    QWidget *parent = &hidden;
    answerNextAlert("OK", [&](QMessageBox *box) { parent = box->parentWidget(); });
    EXPECT_EQ(QOR_WindowsUtils::modalAlertForWindow(&hidden, "T", "M", "OK", "", ""), 1);
    EXPECT_EQ(parent, nullptr);
}
