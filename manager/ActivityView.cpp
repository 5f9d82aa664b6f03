#include "ActivityView.h"

#include "QOR_DateUtils.h"
#include "QOR_StringUtils.h"

#include <QPainter>

#include <algorithm>

namespace {

const QList<QColor> &appsColors()
{
    static const QList<QColor> colours{Qt::black,
                                       Qt::red,
                                       QColor(0, 179, 0),
                                       Qt::blue,
                                       QColor(153, 102, 51),
                                       QColor(0, 204, 204),
                                       Qt::darkGray,
                                       Qt::magenta,
                                       QColor(255, 128, 0),
                                       QColor(128, 0, 128)};
    return colours;
}

} // namespace

ActivityView::ActivityView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("activityView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor ActivityView::laneColour(int lane)
{
    return appsColors().at(lane % appsColors().size());
}

void ActivityView::setData(const ActivityData::Chart &chart, const QStringList &laneTitles)
{
    mChart = chart;
    mLaneTitles = laneTitles;
    mHasData = true;
    updateGeometry();
    update();
}

QString ActivityView::laneLabel(int lane) const
{
    if (lane < 0 || lane >= mChart.lanes.size())
        return {};
    const ActivityData::Lane &shown = mChart.lanes.at(lane);
    const QString name = lane == 0
        ? QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("Activity"))
        : mLaneTitles.value(lane - 1, shown.name);
    return QStringLiteral("%1 (%2)").arg(name, ActivityData::durationText(shown.totalSeconds));
}

QString ActivityView::shownLabel(int lane, const QFontMetrics &metrics, int width) const
{
    // A long name is cut in its middle; the time after it always shows whole.
    const QString label = laneLabel(lane);
    const QString time =
        QStringLiteral(" (%1)").arg(ActivityData::durationText(mChart.lanes.at(lane).totalSeconds));
    if (metrics.horizontalAdvance(label) <= width || !label.endsWith(time))
        return metrics.elidedText(label, Qt::ElideMiddle, width);
    const QString name = label.left(label.size() - time.size());
    return metrics.elidedText(name, Qt::ElideMiddle, width - metrics.horizontalAdvance(time))
        + time;
}

QSize ActivityView::sizeHint() const
{
    return {760, minimumSizeHint().height()};
}

QSize ActivityView::minimumSizeHint() const
{
    const int lanes = std::max<int>(1, int(mChart.lanes.size()));
    return {PlotLeft + PlotRightMargin + 200, FirstLaneTop + LaneStep * lanes + 8};
}

double ActivityView::xFor(qint64 moment, const QRect &plot) const
{
    const qint64 span = std::max<qint64>(1, mChart.windowEnd - mChart.windowStart);
    const double x =
        plot.left() + double(moment - mChart.windowStart) * plot.width() / double(span);
    return std::max<double>(plot.left(), x);
}

void ActivityView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!mHasData)
        return;
    const QRect plot(PlotLeft, 0, std::max(1, width() - PlotLeft - PlotRightMargin), height());

    QFont small = font();
    small.setPointSizeF(10);
    painter.setFont(small);
    int hourIndex = 0;
    for (qint64 hour = mChart.windowStart; hour <= mChart.windowEnd;
         hour += ActivityData::HourSeconds, ++hourIndex) {
        const int x = int(xFor(hour, plot));
        painter.setPen(hourIndex % 24 == 0 ? QColor::fromRgbF(0.8, 0.8, 0.8)
                                           : QColor::fromRgbF(0.9, 0.9, 0.9));
        painter.drawLine(x, 14, x, height());
        painter.setPen(Qt::black);
        painter.drawText(
            QRect(x - 75, 0, 150, 14), Qt::AlignCenter,
            QOR_StringUtils::getShortTime(QOR_DateUtils::fromReferenceSeconds(double(hour))));
    }

    const QFontMetrics metrics(small);
    for (int lane = 0; lane < mChart.lanes.size(); ++lane) {
        const int top = FirstLaneTop + LaneStep * lane;
        painter.setPen(QColor(210, 210, 210));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(plot.left(), top, plot.width(), LaneHeight));
        const QColor colour = laneColour(lane);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        for (const ActivityData::Bar &bar : mChart.lanes.at(lane).bars) {
            const double left = xFor(bar.start, plot);
            const double right = std::max(left + 2, xFor(bar.end, plot));
            painter.drawRect(QRectF(left, top, right - left, LaneHeight));
        }
        const int labelWidth = lane == 0 ? 105 : 135;
        painter.setPen(lane == 0 ? Qt::black : colour);
        painter.drawText(QRect(2, top - 2, labelWidth, LaneHeight + 4),
                         Qt::AlignLeft | Qt::AlignVCenter, shownLabel(lane, metrics, labelWidth));
    }
}
