#pragma once

#include <QString>
#include <QVariantList>

#include <optional>

class NotesFile;
class QWidget;

// The password sheet of the protected notes, in the agent and the manager: a password field,
// OK and Cancel, modal on the program's window. Nothing when cancelled.
namespace PasswordSheet {

// `firstTime`: no password exists yet, so the sheet asks to choose one.
std::optional<QString> ask(QWidget *window, bool firstTime = false);
// The second sheet: the same password once more, before it becomes the key of the notes (a new
// file, or one of the first format, whose code lets some mistyped passwords through).
std::optional<QString> askAgain(QWidget *window);
// The alert that answers a password the protected notes do not open.
void showWrongPassword(QWidget *window, bool critical);
// Some notes did not open under the right password: they are kept aside, not lost.
void showDamagedNotes(QWidget *window, int count);
// The password typed a second time was another one.
void showPasswordsDiffer(QWidget *window, bool critical);
// The crypto module cannot be loaded: no password can open the notes, and nothing is changed.
void showUnavailable(QWidget *window, bool critical);
// A save kept the previous file beside the new one, at `path`.
void showKeptAside(QWidget *window, const QString &path);

enum class Outcome {
    Cancelled, // the first sheet was cancelled: nothing changed
    Refused, // no notes are unlocked (wrong password, empty, not the same twice, no crypto module)
    Unlocked,
};
// The whole unlocking of `file`: the password, the second sheet when the file awaits it, and the
// alerts. `notes` receives what was read. The passwords typed are wiped before it returns.
Outcome unlock(QWidget *window, NotesFile &file, QVariantList &notes, bool critical);

} // namespace PasswordSheet
