#include "MessageView.h"

#include "AccessIcons.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {
constexpr int HorizontalPadding = 16;
constexpr int IconInset = 4; // the icon is the bar's height minus twice this
constexpr int IconTextGap = 10;
constexpr int MinimumBarWidth = 220;
constexpr double BarRadius = 14.0;
} // namespace

MessageView::MessageView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

QFont MessageView::messageFont() const
{
    QFont font = QApplication::font();
    font.setPointSize(18);
    return font;
}

int MessageView::barHeight() const
{
    return QFontMetrics(messageFont()).height() + 2 * 12;
}

void MessageView::setMessageAndIcon(const QString &text, const QIcon &icon)
{
    mText = text;
    mIcon = icon.isNull() ? AccessIcons::icon(QStringLiteral("icon_Agent")) : icon;
    resize(sizeHint());
    update();
}

QSize MessageView::sizeHint() const
{
    const int height = barHeight();
    const int iconSide = height - 2 * IconInset;
    int width = HorizontalPadding + iconSide + IconTextGap
        + QFontMetrics(messageFont()).horizontalAdvance(mText) + HorizontalPadding;
    width = std::max(width, MinimumBarWidth);
    // A long text is cut rather than running off the screen.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        width = std::min(width, screen->availableGeometry().width() * 7 / 10);
    return {width + 2 * ShadowMargin, height + 2 * ShadowMargin};
}

QRect MessageView::barRect() const
{
    return rect().adjusted(ShadowMargin, ShadowMargin, -ShadowMargin, -ShadowMargin);
}

void MessageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bar = barRect();

    // A soft shadow, a little lower than the bar, built from widening faint outlines.
    painter.setPen(Qt::NoPen);
    for (int spread = ShadowMargin; spread > 0; --spread) {
        const double strength = 1.0 - double(spread) / ShadowMargin;
        painter.setBrush(QColor(0, 0, 0, int(10 * strength * strength) + 1));
        painter.drawRoundedRect(bar.adjusted(-spread, -spread + 3, spread, spread + 3),
                                BarRadius + spread, BarRadius + spread);
    }

    QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
    fill.setColorAt(0.0, QColor(58, 61, 68, 238));
    fill.setColorAt(1.0, QColor(30, 32, 37, 238));
    painter.setBrush(fill);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
    painter.drawRoundedRect(bar.adjusted(0.5, 0.5, -0.5, -0.5), BarRadius, BarRadius);

    const int iconSide = int(bar.height()) - 2 * IconInset;
    const QRect iconRect(int(bar.left()) + HorizontalPadding - IconInset,
                         int(bar.top()) + IconInset, iconSide, iconSide);
    mIcon.paint(&painter, iconRect);

    const QRect textRect(iconRect.right() + 1 + IconTextGap, int(bar.top()),
                         int(bar.right()) - HorizontalPadding - iconRect.right() - IconTextGap,
                         int(bar.height()));
    painter.setFont(messageFont());
    painter.setPen(QColor(245, 246, 248));
    const QString shown =
        QFontMetrics(messageFont()).elidedText(mText, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, shown);
}
