#pragma once

#include <QString>

// What the command-line tools say to a person: the windows' string tables, in the language of
// the user's locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), so a French session reads French.
// What the tools print for scripts (lists, numbers, JSON) stays as it is.
namespace ToolMessages {

// Puts the tables in place; called once, after the application object exists.
void install();
// The text of a key of the program's table.
QString localized(const char *key);
// "tool: text" and a line end on standard error.
void printError(const char *tool, const QString &text);
// The text, as it is, on standard output.
void printOut(const QString &text);
// A usage text on standard error; returns the exit status of a wrong usage, 2.
int printUsage(const QString &text);

} // namespace ToolMessages
