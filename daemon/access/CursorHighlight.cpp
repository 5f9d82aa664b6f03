#include "CursorHighlight.h"

#include "QOR_WindowsUtils.h"

#include <QCursor>
#include <QPainter>
#include <QRadialGradient>

namespace {

class HighlightRing : public QWidget
{
public:
    HighlightRing()
    {
        QOR_WindowsUtils::setOverlayWindow(this);
        setFixedSize(CursorHighlight::Diameter, CursorHighlight::Diameter);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
        const QPointF centre = area.center();
        const double radius = area.width() / 2;

        QRadialGradient glow(centre, radius);
        glow.setColorAt(0.0, QColor(255, 214, 10, 40));
        glow.setColorAt(0.75, QColor(255, 196, 0, 90));
        glow.setColorAt(1.0, QColor(255, 180, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(centre, radius, radius);

        // A bright ring with a thin dark edge stands out on light and dark backgrounds alike.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 0, 90), 6.0));
        painter.drawEllipse(centre, radius - 9, radius - 9);
        painter.setPen(QPen(QColor(255, 204, 0, 235), 4.0));
        painter.drawEllipse(centre, radius - 9, radius - 9);
    }
};

} // namespace

CursorHighlight::CursorHighlight(QObject *parent)
    : CursorHighlight([] { return QCursor::pos(); }, parent)
{
}

CursorHighlight::CursorHighlight(PointerLocation pointer, QObject *parent)
    : QObject(parent)
    , mPointer(std::move(pointer))
{
    mMoveTimer.setSingleShot(true);
    mCloseTimer.setSingleShot(true);
    connect(&mMoveTimer, &QTimer::timeout, this, &CursorHighlight::moveCursorHighlight);
    connect(&mCloseTimer, &QTimer::timeout, this, &CursorHighlight::closeCursorHighlight);
}

CursorHighlight::~CursorHighlight()
{
    delete mWindow.data();
}

void CursorHighlight::highlightCursor()
{
    if (!mWindow) {
        mWindow = new HighlightRing;
        mMove = new QPropertyAnimation(mWindow, "pos", mWindow);
        mMove->setDuration(MoveMilliseconds);
        mMove->setEasingCurve(QEasingCurve::OutCubic);
    }
    mMoveTimer.stop();
    mCloseTimer.stop();
    mMove->stop();
    QOR_WindowsUtils::stopSoftFade(mWindow);

    mWindow->setWindowOpacity(1.0);
    QOR_WindowsUtils::centerWindow(mWindow);
    mWindow->show();
    mWindow->raise();
    mMoveTimer.start(MoveDelayMilliseconds);
}

void CursorHighlight::moveCursorHighlight()
{
    if (!mWindow || !mWindow->isVisible())
        return;
    const QPoint target = mPointer() - QPoint(mWindow->width() / 2, mWindow->height() / 2);
    mMove->stop();
    mMove->setStartValue(mWindow->pos());
    mMove->setEndValue(target);
    mMove->start();
    mCloseTimer.start(CloseDelayMilliseconds);
}

void CursorHighlight::closeCursorHighlight()
{
    mMoveTimer.stop();
    mCloseTimer.stop();
    if (mWindow && mWindow->isVisible())
        QORWindowSoftClose::closeWindow(mWindow, FadeOutSeconds);
}
