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

int ActivityView::labelWidth(const QFontMetrics &metrics, int viewWidth) const
{
    int widest = 0;
    for (int lane = 0; lane < mChart.lanes.size(); ++lane)
        widest = std::max(widest, metrics.horizontalAdvance(laneLabel(lane)));
    const int most = std::max(MinimumLabelWidth, int(viewWidth * MostLabelShare));
    return std::clamp(widest + 6, MinimumLabelWidth, most);
}

int ActivityView::hourLabelStep(const QFontMetrics &metrics, double hourWidth)
{
    // The widest time of the day in this locale, with room around it.
    int widest = 0;
    for (int hour : {0, 10, 12, 20, 23})
        widest = std::max(widest,
                          metrics.horizontalAdvance(QOR_StringUtils::getShortTime(
                              QDateTime(QDate(2026, 12, 28), QTime(hour, 0)))));
    const double needed = widest + 8;
    for (int step : {1, 2, 3, 4, 6, 12}) {
        if (hourWidth * step >= needed)
            return step;
    }
    return 24;
}

QFont ActivityView::smallFont() const
{
    QFont small = font();
    small.setPointSizeF(10);
    return small;
}

QSize ActivityView::sizeHint() const
{
    // Every hour labelled, and the labels whole.
    const QFontMetrics metrics(smallFont());
    const int hourWidth = metrics.horizontalAdvance(QOR_StringUtils::getShortTime(
                              QDateTime(QDate(2026, 12, 28), QTime(20, 0))))
        + 12;
    const qint64 hours =
        std::max<qint64>(12, (mChart.windowEnd - mChart.windowStart) / ActivityData::HourSeconds);
    const int plot = std::clamp(int(hours) * hourWidth, 480, 1100);
    return {labelWidth(metrics, 2000) + 10 + plot + PlotRightMargin, minimumSizeHint().height()};
}

QSize ActivityView::minimumSizeHint() const
{
    const int lanes = std::max<int>(1, int(mChart.lanes.size()));
    return {MinimumLabelWidth + 10 + PlotRightMargin + 200, FirstLaneTop + LaneStep * lanes + 8};
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
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (!mHasData)
        return;
    const QFont small = smallFont();
    painter.setFont(small);
    const QFontMetrics metrics(small);
    const int labels = labelWidth(metrics, width());
    const int plotLeft = labels + 10;
    const QRect plot(plotLeft, 0, std::max(1, width() - plotLeft - PlotRightMargin), height());

    const qint64 span = std::max<qint64>(1, mChart.windowEnd - mChart.windowStart);
    const double hourWidth = double(plot.width()) * ActivityData::HourSeconds / double(span);
    const int step = hourLabelStep(metrics, hourWidth);
    const QColor text = palette().color(QPalette::Text);
    int hourIndex = 0;
    for (qint64 hour = mChart.windowStart; hour <= mChart.windowEnd;
         hour += ActivityData::HourSeconds, ++hourIndex) {
        const int x = int(xFor(hour, plot));
        painter.setPen(hourIndex % 24 == 0 ? QColor::fromRgbF(0.8, 0.8, 0.8)
                                           : QColor::fromRgbF(0.9, 0.9, 0.9));
        painter.drawLine(x, 14, x, height());
        if (hourIndex % step != 0)
            continue;
        const QString time =
            QOR_StringUtils::getShortTime(QOR_DateUtils::fromReferenceSeconds(double(hour)));
        // Centred on its line, but never cut by the view's edges.
        const int half = metrics.horizontalAdvance(time) / 2 + 2;
        const int centre = std::clamp(x, half, std::max(half, width() - half));
        painter.setPen(text);
        painter.drawText(QRect(centre - half, 0, 2 * half, 14), Qt::AlignCenter, time);
    }

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
        painter.setPen(lane == 0 ? text : colour);
        painter.drawText(QRect(2, top - 2, labels, LaneHeight + 4),
                         Qt::AlignLeft | Qt::AlignVCenter, shownLabel(lane, metrics, labels));
    }
}
