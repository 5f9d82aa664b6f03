#pragma once

#include <QIcon>

class QFileInfo;
class QMimeType;

// The desktop theme's icon for a file of a type: the type's own icon, else its generic one, else
// what Qt draws for files and folders when the theme has neither.
namespace FileIcons {
QIcon forType(const QFileInfo &info, const QMimeType &mime);
} // namespace FileIcons
