#pragma once

#include "ListFile.h"
#include "ListSectionView.h"

#include <QDialog>
#include <QObject>
#include <QVariantList>

#include <optional>

class NotificationCenter;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class SharedPreferences;

// The reminder editor: title and one of the four colours.
class ReminderEditorSheet : public QDialog
{
    Q_OBJECT
public:
    explicit ReminderEditorSheet(QWidget *parent = nullptr);
    // {"x": 11, "T", "Color"} on OK, nothing on Cancel.
    std::optional<QVariantMap> edit(const QString &title, int color);

    QLineEdit *titleField() const { return mTitle; }
    QComboBox *colorMenu() const { return mColor; }

signals:
    void running();

private:
    QLineEdit *mTitle;
    QComboBox *mColor;
};

// Section 7: the reminders with their colour icons, a search field, Add, Edit and Remove, and
// the two boxes that add due to-do items and calendar events to the agent's reminder list.
class ReminderSectionView : public ListSectionView
{
    Q_OBJECT
public:
    explicit ReminderSectionView(QWidget *parent = nullptr);
    QLineEdit *searchField() const { return mSearch; }
    QPushButton *removeButton() const { return mRemove; }
    QCheckBox *toDoBox() const { return mToDoBox; }
    QCheckBox *calendarBox() const { return mCalendarBox; }

signals:
    void addRequested();
    void removeRequested();
    void searchChanged();
    void settingsChanged();

private:
    QLineEdit *mSearch;
    QPushButton *mRemove;
    QPushButton *mEdit;
    QCheckBox *mToDoBox;
    QCheckBox *mCalendarBox;
};

// The manager's reminders: "Reminder.krvdata" kept sorted by title and saved whole after each
// change; the agent sees a change at its next reload.
class ReminderSection : public QObject
{
    Q_OBJECT
public:
    ReminderSection(SharedPreferences *preferences, NotificationCenter *notifications,
                    QObject *parent = nullptr);

    ReminderSectionView *view() const { return mView; }
    ReminderEditorSheet *editor() const { return mEditor; }
    const QVariantList &list() const { return mListOfReminder; }

    void readList();
    void addReminder() { editReminderAtIndex(-1); }
    void editReminder();
    void editReminderAtIndex(int position);
    void removeReminder();
    void searchReminder();
    void reminderSettingsDidChange();

private:
    static void sortReminders(QVariantList &list);
    void save();

    SharedPreferences *mPreferences;
    NotificationCenter *mNotifications;
    QVariantList mListOfReminder;
    ListFile mFile;
    ReminderSectionView *mView;
    ReminderEditorSheet *mEditor;
};
