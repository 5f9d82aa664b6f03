#pragma once

#include "ActivityData.h"

#include <QColor>
#include <QFontMetrics>
#include <QList>
#include <QStringList>
#include <QWidget>

// The day chart: one lane for all applications together, then one per application, each with a
// bar for every period of use, under a grid of the window's hours.
class ActivityView : public QWidget
{
    Q_OBJECT
public:
    // The least room left of the plot for the lanes' labels, and the most share of the width.
    static constexpr int MinimumLabelWidth = 100;
    static constexpr double MostLabelShare = 0.4;
    static constexpr int PlotRightMargin = 20;
    static constexpr int FirstLaneTop = 24;
    static constexpr int LaneStep = 12;
    static constexpr int LaneHeight = 10;

    explicit ActivityView(QWidget *parent = nullptr);

    // setData: the chart of one day; the lanes' applications are shown by the given titles
    // (one per lane past lane 0, the stored name where no title is known).
    void setData(const ActivityData::Chart &chart, const QStringList &laneTitles);
    const ActivityData::Chart &chart() const { return mChart; }
    bool hasData() const { return mHasData; }
    // The label left of a lane: "Name (1:30)"; lane 0 names the whole activity.
    QString laneLabel(int lane) const;
    // The label as drawn in a box of that width.
    QString shownLabel(int lane, const QFontMetrics &metrics, int width) const;
    // The width of the labels' column in a view that wide: the longest label whole when it
    // leaves the plot its share, so that a name is cut only when space is really short.
    int labelWidth(const QFontMetrics &metrics, int viewWidth) const;
    // Every how many hours the grid is labelled, so that the times never touch.
    static int hourLabelStep(const QFontMetrics &metrics, double hourWidth);

    // Lanes take the colours in turn.
    static QColor laneColour(int lane);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double xFor(qint64 moment, const QRect &plot) const;
    QFont smallFont() const;

    ActivityData::Chart mChart;
    QStringList mLaneTitles;
    bool mHasData = false;
};
