#pragma once

#include "FoundItem.h"

#include <QByteArray>

// What korvale-search prints for a result list. The agent answers the tool's bus call with these
// bytes, so a search gives the same output whether the agent ran it or the tool did.
namespace SearchResultText {

// One line per result: kind, title, path or address, separated by tabs; tabs and line breaks
// inside a field become spaces.
QByteArray lines(const FoundItems &items);
// An array of objects with "x", "T", "P", "U", "t" (those the record has), "a", "B", "p", "L".
QByteArray json(const FoundItems &items);

} // namespace SearchResultText
