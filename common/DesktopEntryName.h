#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The Name of a freedesktop.org desktop entry in the user's language.
namespace DesktopEntryName {

// The locale names to try, best first, from LANGUAGE, LC_ALL, LC_MESSAGES and LANG as gettext
// reads them, each expanded to lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER, lang.
QStringList userLanguageNames();

// The Name key of the [Desktop Entry] group of the file at `path` for the first language that
// has one, else the untranslated Name; nothing when the file is not a readable desktop entry
// with a non-empty Name.
std::optional<QString> nameAtPath(const QString &path,
                                  const QStringList &languages = userLanguageNames());

// The same from the file's contents.
std::optional<QString> nameInContents(const QByteArray &contents, const QStringList &languages);

} // namespace DesktopEntryName
