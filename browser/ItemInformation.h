#pragma once

#include <QString>

// The text of the information panel under the browser window for one item: its path as the
// file manager shows it (or raw), a detail in brackets (the size and date of a file, the date of
// a folder with a bundle's version before it, or what kind of special file it is), a blank line
// and the raw path to copy.
namespace ItemInformation {

QString textFor(const QString &path, bool showRawPath);

} // namespace ItemInformation
