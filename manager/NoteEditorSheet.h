#pragma once

#include <QVariantMap>

#include <optional>

class QWidget;

// The note editor of the manager: title, keywords and text of one note. The record that comes
// back keeps every other key of the one given.
namespace NoteEditorSheet {

std::optional<QVariantMap> edit(QWidget *window, const QVariantMap &note);

} // namespace NoteEditorSheet
