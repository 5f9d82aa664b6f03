#pragma once

#include "NoteEditorSheet.h"
#include "NotesFile.h"

#include <QObject>
#include <QPointer>
#include <QVariantList>

class QLabel;
class QLineEdit;
class QPushButton;
class ListSectionView;
class QWidget;

// One notes section of the manager (9: notes, 10: protected notes): its table, search field and
// commands, over one NotesFile. The manager keeps the protected notes' key until it quits.
class NotesSection : public QObject
{
    Q_OBJECT
public:
    NotesSection(NotesFile::Kind kind, QWidget *window, QObject *parent = nullptr);
    ~NotesSection() override;
    // How the note editor asks for a shortcut's keys.
    void setShortcutCapture(NoteEditorSheet::CaptureShortcut capture)
    {
        mCapture = std::move(capture);
    }

    QWidget *view() const;
    bool isProtected() const { return mFile.kind() == NotesFile::Kind::ProtectedNotes; }
    // Section 10 opened: asks for the password when none is held; false when the section stays
    // locked.
    bool open();
    // Reads the file again (another program saved it).
    void reload();
    // The other section, for the move command.
    void setOtherSection(NotesSection *other) { mOther = other; }

    void newNote();
    void editNote();
    // The agent's "EditItem": the search field cleared, the first shown note with the same "T"
    // and "t" selected and its editor run. False when none matches, or while locked.
    bool editMatching(const QVariantMap &record);
    bool isUnlocked() const { return !isProtected() || mFile.isUnlocked(); }
    void duplicateNotes();
    void moveNotes();
    void removeNotes();
    void importNotes();
    void exportNotes();
    void findAndReplace();
    void changePassword();
    // Appends records and saves; false when locked or not saved.
    bool appendAndSave(const QVariantList &records);

signals:
    // The file was written: the agent is told.
    void saved();
    // A password was asked and the protected notes are locked after it: the window leaves the
    // section rather than showing it empty.
    void stayedLocked();

private:
    // Asks for the password when the protected notes are locked; false when they stay locked.
    bool unlockForCommand();
    void search();
    bool save();
    QList<int> selectedIndexes() const;
    void updateButtons();

    NotesFile mFile;
    QVariantList mNotes;
    QWidget *mWindow;
    NoteEditorSheet::CaptureShortcut mCapture;
    // The window that shows the section owns its view; a section never shown owns it itself.
    QPointer<ListSectionView> mView;
    QLineEdit *mSearch;
    QLabel *mCounter;
    QList<QPushButton *> mSelectionButtons;
    // Protected notes only: offered while the password is known.
    QPushButton *mChangePassword = nullptr;
    NotesSection *mOther = nullptr;
};
