#pragma once

#include <QIcon>
#include <QString>

// The icons of the manager's rows: the desktop's icon of the path fitted in 16 by 16 and drawn
// 5 pixels from the left of a 25 by 16 image, so titles line up; a fixed icon for a path that
// no longer exists.
class ListIcons
{
public:
    ListIcons() = delete;

    static constexpr int Width = 25;
    static constexpr int Height = 16;

    static QIcon iconForPath(const QString &path);
    static QIcon createStandardIcon(const QIcon &icon);
};
