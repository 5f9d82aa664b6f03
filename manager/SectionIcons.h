#pragma once

#include <QIcon>
#include <QStringList>

// The icons of the manager's sections. The desktop's icon theme gives one where it holds a
// fitting name; otherwise the section gets the suite's own picture (":/sections/NAME.svg"), so
// a bare or partial theme never shows the theme's "missing" picture or an unrelated stock icon.
// Every icon is drawn on the same square, so the section names line up whatever the theme
// icon's proportions.
class SectionIcons
{
public:
    SectionIcons() = delete;

    static constexpr int Size = 24;

    // The icon shown for a section (ManagerWindow::Section).
    static QIcon icon(int section);
    // The suite's own icon of a section, whatever the theme holds.
    static QIcon ownIcon(int section);
    // The theme names tried for a section, most fitting first.
    static QStringList themeNames(int section);

private:
    static QIcon squared(const QIcon &icon);
};
