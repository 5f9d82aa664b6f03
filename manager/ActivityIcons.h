#pragma once

#include "ManagerListFilter.h"

#include <QIcon>

// The activity levels' pictures, drawn at run time so that they look alike under every icon
// theme: four rising bars, as many filled as the level is high (one for very low, four for
// high), in a colour from grey to green. No picture for an application never recorded.
class ActivityIcons
{
public:
    ActivityIcons() = delete;

    static constexpr int Size = 16;

    static QIcon icon(ManagerListFilter::Activity level);
    // How many bars the level fills: 0 for None and All.
    static int filledBars(ManagerListFilter::Activity level);
};
