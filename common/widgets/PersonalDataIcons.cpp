#include "PersonalDataIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace PersonalDataIcons {

namespace {

constexpr int Side = 32;

QPixmap canvas()
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon toDoIcon(bool done, bool late)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ring = late ? QColor(0xd0, 0x30, 0x20) : QColor(0x60, 0x60, 0x60);
    painter.setPen(QPen(done ? QColor(0x2e, 0x8b, 0x3a) : ring, 3));
    painter.setBrush(late ? QColor(0xff, 0xd8, 0xd0) : QColor(Qt::white));
    painter.drawEllipse(QRectF(3, 3, Side - 6, Side - 6));
    if (done) {
        QPainterPath tick;
        tick.moveTo(9, 16.5);
        tick.lineTo(14, 22);
        tick.lineTo(23.5, 10);
        painter.setPen(
            QPen(QColor(0x2e, 0x8b, 0x3a), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else if (late) {
        painter.setPen(QPen(ring, 3.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(16, 9), QPointF(16, 18));
        painter.drawPoint(QPointF(16, 23));
    }
    return QIcon(pixmap);
}

QIcon reminderIcon(const QColor &fill)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(fill.darker(160), 2));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(4, 5, Side - 8, Side - 10), 4, 4);
    return QIcon(pixmap);
}

const std::array<const char *, 4> ReminderNames{"icon_ReminderYellow", "icon_ReminderRed",
                                                "icon_ReminderGreen", "icon_ReminderBlue"};

} // namespace

std::optional<QColor> reminderColor(int index)
{
    switch (index) {
    case 0:
        return QColor::fromRgbF(1, 1, 0.45);
    case 1:
        return QColor::fromRgbF(1, 0.75, 0.6);
    case 2:
        return QColor::fromRgbF(0.6, 1, 0.6);
    case 3:
        return QColor::fromRgbF(0.7, 0.7, 1);
    default:
        return std::nullopt;
    }
}

QString reminderIconName(int index)
{
    if (index < 0 || index >= int(ReminderNames.size()))
        return {};
    return QString::fromLatin1(ReminderNames[std::size_t(index)]);
}

QString toDoIconName(bool done, bool overdue)
{
    if (done)
        return QStringLiteral("icon_ToDo");
    return overdue ? QStringLiteral("icon_ToDoNotDoneLate") : QStringLiteral("icon_ToDoNotDone");
}

QIcon icon(const QString &name)
{
    static QHash<QString, QIcon> cache;
    if (const auto found = cache.constFind(name); found != cache.cend())
        return *found;
    QIcon made;
    if (name == QLatin1String("icon_ToDo"))
        made = toDoIcon(true, false);
    else if (name == QLatin1String("icon_ToDoNotDone"))
        made = toDoIcon(false, false);
    else if (name == QLatin1String("icon_ToDoNotDoneLate"))
        made = toDoIcon(false, true);
    for (int index = 0; index < int(ReminderNames.size()); ++index) {
        if (name == QLatin1String(ReminderNames[std::size_t(index)]))
            made = reminderIcon(*reminderColor(index));
    }
    cache.insert(name, made);
    return made;
}

} // namespace PersonalDataIcons
