#pragma once

#include <QString>

#include <optional>

class QWidget;

// The password sheet of the protected notes, in the agent and the manager: a password field,
// OK and Cancel, modal on the program's window. Nothing when cancelled.
namespace PasswordSheet {

std::optional<QString> ask(QWidget *window);
// The alert that answers a password the protected notes do not open.
void showWrongPassword(QWidget *window, bool critical);
// Some notes did not open under the right password: they are kept aside, not lost.
void showDamagedNotes(QWidget *window, int count);

} // namespace PasswordSheet
