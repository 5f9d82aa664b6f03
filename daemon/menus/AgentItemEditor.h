#pragma once

#include "SaveFailure.h"

#include <QObject>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <optional>

class AgentProtectedNotes;
class ListFile;
class NotesFile;
class QWidget;

// Edit… on the access window's selected item (doEditItem): the agent edits a stock entry's
// address and limits, and a note's (or, while unlocked, a protected note's) title and text when
// the manager does not run; everything else goes to the manager. An edit is saved through the
// same files and merge rules as the manager's and korvale-notes', so what another program saved
// meanwhile stays.
class AgentItemEditor : public QObject
{
    Q_OBJECT
public:
    using Editor = std::function<std::optional<QVariantMap>(QWidget *, const QVariantMap &)>;

    struct Environment {
        QVariantList *notes = nullptr; // the agent's notes, as the search reads them
        QVariantList *stocks = nullptr;
        ListFile *stocksFile = nullptr;
        // Null, or locked: protected notes go to the manager.
        AgentProtectedNotes *protectedNotes = nullptr;
        std::function<bool()> managerRunning;
        std::function<void(const QVariantMap &)> handOver;
        // After a note or protected note was saved: a manager started meanwhile rereads them.
        std::function<void()> notesSaved;
        // The access window the dialogs belong to; may give nullptr.
        std::function<QWidget *()> window;
        // Empty: the dialogs of AgentEditorDialogs.
        Editor editStock;
        Editor editNote;
        // Empty: "Notes.krvdata" of the data folder.
        QString notesPath;
    };

    explicit AgentItemEditor(Environment environment, QObject *parent = nullptr);

    void doEditItem(const QVariantMap &record);

    // The record an edit of `shown` changes: the first of `list`, in list order, with the same
    // title (stock entries) or the same title and text (notes); nothing when none has.
    static std::optional<qsizetype> findStock(const QVariantList &stocks, const QVariantMap &shown);
    static std::optional<qsizetype> findNote(const QVariantList &notes, const QVariantMap &shown);

signals:
    // An edit was saved: `original` as the list held it, `edited` as it is now. The access window
    // replaces its row and refreshes the preview.
    void itemEdited(const QVariantMap &original, const QVariantMap &edited);

private:
    void editStock(const QVariantMap &record);
    bool editNote(const QVariantMap &record);
    bool editProtectedNote(const QVariantMap &record);
    void sayNotSaved(const SaveFailure &failure);
    QWidget *window() const;

    Environment mEnvironment;
};
