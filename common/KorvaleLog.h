#pragma once

#include <QString>

#include <functional>

// The suite's one log: a line per message on standard error (the journal collects it).
// Tests may divert the lines to a sink of their own.
namespace KorvaleLog {

void line(const QString &message);

using Sink = std::function<void(const QString &)>;
// Replaces the destination of the lines; an empty sink restores standard error.
void setSink(Sink sink);

} // namespace KorvaleLog
