#include "ClipboardEditorSheet.h"
#include "CornerActivationSheet.h"
#include "ItemEditorSheet.h"
#include "KeyMap.h"
#include "ListSectionView.h"
#include "ManagerFixture.h"
#include "ManagerWindow.h"
#include "NoteEditorSheet.h"
#include "NotesSection.h"
#include "PreferencesSheet.h"
#include "ReminderSection.h"
#include "ToDoSection.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Runs `inspect` on the first modal sheet named `name` that comes up.
void whenSheetShows(const QString &name, std::function<void(QDialog *)> inspect)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name, inspect] {
        auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!sheet || sheet->objectName() != name)
            return;
        poll->deleteLater();
        inspect(sheet);
    });
    poll->start(10);
}

// The texts of the form labels of a sheet, in every form it holds.
QStringList formLabels(const QWidget *sheet)
{
    QStringList labels;
    for (const QFormLayout *form : sheet->findChildren<QFormLayout *>()) {
        for (int row = 0; row < form->rowCount(); ++row) {
            const QLayoutItem *item = form->itemAt(row, QFormLayout::LabelRole);
            const auto *label = item ? qobject_cast<QLabel *>(item->widget()) : nullptr;
            if (label && !label->text().isEmpty())
                labels << label->text();
        }
    }
    return labels;
}

int familyOf(const QString &key)
{
    if (key == "ManagerAdd" || key == "NotesNew")
        return 0;
    if (key == "ManagerEdit")
        return 1;
    if (key == "ManagerRemove" || key == "NotesRemove")
        return 2;
    return 3;
}

} // namespace

// Every list section of the manager begins its row with Add, Edit, Remove in that order, and the
// desktop's New key adds to the section shown, and only to it.
TEST_F(ManagerTest, EverySectionOrdersAddEditRemoveTheSameWayAndNewAddsToTheOneShown)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    const auto manager = makeManager();
    int withAllThree = 0;
    const QList<ListSectionView *> views = manager->window()->findChildren<ListSectionView *>();
    ASSERT_GE(views.size(), 6);
    for (const ListSectionView *view : views) {
        const QStringList keys = view->buttonKeys();
        SCOPED_TRACE(keys.join(' ').toStdString());
        int previous = -1;
        for (const QString &key : keys) {
            EXPECT_GE(familyOf(key), previous) << "Add, Edit, Remove first, in that order";
            previous = familyOf(key);
        }
        if (keys.size() >= 3 && familyOf(keys.at(0)) == 0 && familyOf(keys.at(1)) == 1
            && familyOf(keys.at(2)) == 2)
            ++withAllThree;
    }
    EXPECT_GE(withAllThree, 5);

    manager->window()->show();
    manager->window()->selectSection(ManagerWindow::Notes);
    QApplication::setActiveWindow(manager->window());
    QString opened;
    whenSheetShows("NoteEditorSheet", [&](QDialog *sheet) {
        opened = sheet->objectName();
        sheet->reject();
    });
    QTest::keySequence(manager->window(), QKeySequence::New);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 5000));
    const auto *add = manager->window()
                          ->findChild<QWidget *>("NotesSection")
                          ->findChild<QPushButton *>("NotesNew");
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->toolTip(),
              "New (" + QKeySequence(QKeySequence::New).toString(QKeySequence::NativeText) + ")");
}

// Every field label of every sheet ends the one way of the language: "Title:", "Titre :".
TEST(SheetsConsistency, EveryFieldLabelIsPunctuatedAlike)
{
    TemporaryHome home;
    for (const char *language : {"en", "fr"}) {
        SCOPED_TRACE(language);
        QOR_StringUtils::installTranslations(QLocale(QString::fromLatin1(language)));
        const QString end = QOR_StringUtils::getLocalizedStringForKey("FieldLabelFormat").arg("");
        ASSERT_TRUE(end.endsWith(':'));

        std::vector<std::unique_ptr<QWidget>> sheets;
        sheets.push_back(std::make_unique<ItemEditorSheet>());
        sheets.push_back(std::make_unique<ClipboardEditorSheet>());
        sheets.push_back(std::make_unique<ToDoEditorSheet>());
        sheets.push_back(std::make_unique<ReminderEditorSheet>());
        sheets.push_back(std::make_unique<CornerActivationSheet>());
        sheets.push_back(std::make_unique<PreferencesSheet>());
        QStringList labels;
        for (const auto &sheet : sheets)
            labels << formLabels(sheet.get());
        whenSheetShows("NoteEditorSheet", [&](QDialog *sheet) {
            labels << formLabels(sheet);
            sheet->reject();
        });
        NoteEditorSheet::edit(nullptr, {{"x", 5}});
        whenSheetShows("NotesReplaceSheet", [&](QDialog *sheet) {
            labels << formLabels(sheet);
            sheet->reject();
        });
        NotesSection notes(NotesFile::Kind::Notes, nullptr);
        notes.findAndReplace();

        EXPECT_GE(labels.size(), 15);
        for (const QString &label : labels) {
            EXPECT_TRUE(label.endsWith(end)) << label.toStdString();
            const QString before = label.chopped(end.size());
            EXPECT_FALSE(before.isEmpty() || before.back().isSpace() || before.endsWith(':'))
                << label.toStdString();
        }
    }
    QOR_StringUtils::installTranslations(QLocale("en"));
}

// The note editor shows the shortcut beside the box that acts on it, as the item editor does:
// assigned through the capture sheet, stored with the note, cleared by the same button.
TEST(SheetsConsistency, TheNoteEditorAssignsAShortcutBesideItsBox)
{
    TemporaryHome home;
    QOR_StringUtils::installTranslations(QLocale("en"));
    const KeyMap keys = KeyMap::ofKeys({VirtualKey::Control, 40});
    int captures = 0;
    const NoteEditorSheet::CaptureShortcut capture = [&] {
        ++captures;
        return std::optional<KeyMap>(keys);
    };
    bool boxEnabledBefore = true;
    bool boxEnabledAfter = false;
    QString shown;
    whenSheetShows("NoteEditorSheet", [&](QDialog *sheet) {
        boxEnabledBefore = sheet->findChild<QCheckBox *>("NoteHideOthers")->isEnabled();
        sheet->findChild<QPushButton *>("NoteAssignShortcut")->click();
        shown = sheet->findChild<QLabel *>("NoteShortcut")->text();
        boxEnabledAfter = sheet->findChild<QCheckBox *>("NoteHideOthers")->isEnabled();
        sheet->findChild<QCheckBox *>("NoteHideOthers")->setChecked(true);
        sheet->accept();
    });
    const std::optional<QVariantMap> note =
        NoteEditorSheet::edit(nullptr, {{"x", 5}, {"T", "Door"}}, capture);
    ASSERT_TRUE(note);
    EXPECT_EQ(captures, 1);
    EXPECT_FALSE(boxEnabledBefore) << "the box means nothing without a shortcut";
    EXPECT_TRUE(boxEnabledAfter);
    EXPECT_EQ(shown, keys.localizedString());
    EXPECT_EQ(note->value(">").toByteArray(), keys.toData());
    EXPECT_EQ(note->value("H").toInt(), 1);

    whenSheetShows("NoteEditorSheet", [&](QDialog *sheet) {
        shown = sheet->findChild<QLabel *>("NoteShortcut")->text();
        sheet->findChild<QPushButton *>("NoteAssignShortcut")->click(); // clears
        sheet->accept();
    });
    const std::optional<QVariantMap> cleared = NoteEditorSheet::edit(nullptr, *note, capture);
    ASSERT_TRUE(cleared);
    EXPECT_EQ(shown, keys.localizedString()) << "the stored shortcut is shown when it opens";
    EXPECT_FALSE(cleared->contains(">"));
    EXPECT_EQ(captures, 1);
}
