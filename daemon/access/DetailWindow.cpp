#include "DetailWindow.h"

#include "SelectionWindow.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

SelectionPhoneBackground::SelectionPhoneBackground(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SelectionPhoneBackground::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal half = SelectionBackground::OutlineWidth / 2;
    const QRectF frame = QRectF(rect()).adjusted(half, half, -half, -half);
    QPainterPath path;
    path.addRoundedRect(frame, SelectionBackground::Radius, SelectionBackground::Radius);
    QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
    gradient.setColorAt(0, TopColor);
    gradient.setColorAt(1, BottomColor);
    painter.fillPath(path, gradient);
    painter.setPen(QPen(OutlineColor, SelectionBackground::OutlineWidth));
    painter.drawPath(path);
}

DetailTextLabel::DetailTextLabel(QWidget *parent)
    : QWidget(parent)
{
    QFont big = font();
    big.setPointSize(PointSize);
    setFont(big);
    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setOffset(3, 2); // right and down, as the shadows of the access window's texts
    shadow->setBlurRadius(5);
    shadow->setColor(QColor(0, 0, 0, 200));
    setGraphicsEffect(shadow);
}

void DetailTextLabel::setText(const QString &text)
{
    if (text == mText)
        return;
    mText = text;
    update();
}

QString DetailTextLabel::shownText() const
{
    return fontMetrics().elidedText(mText, Qt::ElideRight, std::max(width() - 8, 0));
}

void DetailTextLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(TextColor);
    painter.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignCenter, shownText());
}

DetailWindow::DetailWindow(QWidget *accessWindow)
    : QWidget(accessWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , mBackground(new SelectionPhoneBackground(this))
    , mImageView(new QLabel(this))
    , mText(new DetailTextLabel(this))
{
    setObjectName(QStringLiteral("DetailWindow"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    mImageView->setAlignment(Qt::AlignCenter);
    mImageView->hide();
    resize(accessWindow ? accessWindow->width() : 400, TextHeight);
}

void DetailWindow::setContent(const QString &text, const QImage &image)
{
    mText->setText(text);
    mText->setVisible(!text.isEmpty());
    mImage = image;
    mImageView->setVisible(!image.isNull());
    layoutChildren();
}

bool DetailWindow::isImageVisible() const
{
    return !mImageView->isHidden();
}

int DetailWindow::wantedHeight() const
{
    const int textPart = mText->text().isEmpty() ? 0 : TextHeight;
    const int imagePart = mImage.isNull() ? 0 : ImageHeight;
    return std::max(textPart + imagePart, TextHeight);
}

void DetailWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void DetailWindow::layoutChildren()
{
    mBackground->setGeometry(rect());
    constexpr int inset = 6;
    QRect inner = rect().adjusted(inset, 0, -inset, 0);
    if (!mText->text().isEmpty()) {
        const int textTop = mImage.isNull() ? 0 : std::max(inner.height() - TextHeight, 0);
        mText->setGeometry(inner.x(), textTop, inner.width(), std::min(TextHeight, inner.height()));
        inner.setHeight(textTop);
    }
    if (mImage.isNull()) {
        mImageView->clear();
        return;
    }
    const QRect area = inner.adjusted(0, inset, 0, mText->text().isEmpty() ? -inset : 0);
    mImageView->setGeometry(area);
    if (area.isEmpty())
        return;
    QImage shown = mImage;
    if (shown.width() > area.width() || shown.height() > area.height())
        shown = shown.scaled(area.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    mImageView->setPixmap(QPixmap::fromImage(shown));
}
