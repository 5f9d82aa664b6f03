#pragma once

#include "KeyMap.h"

#include <QVariantMap>

#include <functional>
#include <optional>

class QWidget;

// The note editor of the manager: title, abbreviation, keywords, text, and as in the item editor
// the shortcut (">") with the box that hides the other applications when the shortcut opens the
// note ("H"). The record that comes back keeps every other key of the one given, and always
// carries "A", "K" and "H".
namespace NoteEditorSheet {

// Runs the capture sheet; nothing when it was cancelled.
using CaptureShortcut = std::function<std::optional<KeyMap>()>;

// Without `capture` the shortcut can be cleared but not assigned.
std::optional<QVariantMap> edit(QWidget *window, const QVariantMap &note,
                                const CaptureShortcut &capture = {});

} // namespace NoteEditorSheet
