#pragma once

#include <QVariantMap>

#include <optional>

class QWidget;

// The agent's own editors, each a window-modal dialog on the access window, placed beside it as
// the agent's other windows are (centred when the window is hidden). Keyboard first: the first
// field has the focus, Return (Ctrl+Return in a note's text) confirms, Escape cancels.
namespace AgentEditorDialogs {

// A stock-survey entry: its name shown, the quote address and the two alert limits, each labelled
// by what it does ("ValMin" raises the alert above it, "ValMax" below it). The entry that comes
// back keeps every other key; the limits are stored as the numbers typed, with '.' as the decimal
// point whatever the keyboard's.
std::optional<QVariantMap> editStock(QWidget *window, const QVariantMap &entry);

// A note's title and text; every other key of the note is kept.
std::optional<QVariantMap> editNote(QWidget *window, const QVariantMap &note);

// Where a dialog of `size` goes beside the access window `anchor`: its right, else its left.
void placeBeside(QWidget *dialog, QWidget *window);

} // namespace AgentEditorDialogs
