#include "ActivityIcons.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

namespace {

QColor levelColour(int filled)
{
    switch (filled) {
    case 4:
        return QColor(40, 160, 60);
    case 3:
        return QColor(120, 170, 40);
    case 2:
        return QColor(220, 150, 30);
    default:
        return QColor(150, 150, 150);
    }
}

QPixmap bars(int filled, int side)
{
    QPixmap image(side, side);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = side / 16.0;
    const QColor on = levelColour(filled);
    const QColor off(200, 200, 200);
    for (int bar = 0; bar < 4; ++bar) {
        const double height = (4 + 3 * bar) * unit;
        const QRectF shape((1 + 3.75 * bar) * unit, side - height - unit, 2.75 * unit, height);
        painter.setPen(Qt::NoPen);
        painter.setBrush(bar < filled ? on : off);
        painter.drawRoundedRect(shape, 0.5 * unit, 0.5 * unit);
    }
    return image;
}

} // namespace

int ActivityIcons::filledBars(ManagerListFilter::Activity level)
{
    switch (level) {
    case ManagerListFilter::High:
        return 4;
    case ManagerListFilter::Middle:
        return 3;
    case ManagerListFilter::Low:
        return 2;
    case ManagerListFilter::VeryLow:
        return 1;
    default:
        return 0;
    }
}

QIcon ActivityIcons::icon(ManagerListFilter::Activity level)
{
    const int filled = filledBars(level);
    if (filled == 0)
        return {};
    static QIcon cache[5];
    if (cache[filled].isNull()) {
        cache[filled].addPixmap(bars(filled, Size));
        cache[filled].addPixmap(bars(filled, 2 * Size));
    }
    return cache[filled];
}
