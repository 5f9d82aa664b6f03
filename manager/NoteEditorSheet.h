#pragma once

#include <QVariantMap>

#include <optional>

class QWidget;

// The note editor of the manager: title, abbreviation, keywords, text and the box that hides the
// other applications when the note is opened from its shortcut ("H"). The record that comes back
// keeps every other key of the one given, and always carries "A", "K" and "H".
namespace NoteEditorSheet {

std::optional<QVariantMap> edit(QWidget *window, const QVariantMap &note);

} // namespace NoteEditorSheet
