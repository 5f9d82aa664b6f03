#pragma once

#include <QImage>
#include <QWidget>

class QLabel;

// The dark blue face of the detail window: the preview's shape in another colour.
class SelectionPhoneBackground : public QWidget
{
    Q_OBJECT
public:
    explicit SelectionPhoneBackground(QWidget *parent = nullptr);

    static inline const QColor TopColor = QColor(38, 62, 128);
    static inline const QColor BottomColor = QColor(12, 26, 70);
    static inline const QColor OutlineColor = QColor(8, 14, 36);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The detail text: one line, centred, large light grey type with a soft shadow, cut at the tail
// with an ellipsis when it does not fit.
class DetailTextLabel : public QWidget
{
    Q_OBJECT
public:
    explicit DetailTextLabel(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return mText; }
    // The text as drawn at the label's width.
    QString shownText() const;

    static constexpr int PointSize = 20;
    static inline const QColor TextColor = QColor(230, 230, 230);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString mText;
};

// The detail window under the preview: a contact's first phone number in large type, or the
// record's picture. Never takes the focus.
class DetailWindow : public QWidget
{
    Q_OBJECT
public:
    explicit DetailWindow(QWidget *accessWindow);

    void setContent(const QString &text, const QImage &image);
    QString text() const { return mText->text(); }
    bool hasImage() const { return !mImage.isNull(); }
    bool isImageVisible() const;

    // Its own height: one line of text, plus the picture's area when there is one.
    int wantedHeight() const;
    static constexpr int TextHeight = 40;
    static constexpr int ImageHeight = 160;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutChildren();

    SelectionPhoneBackground *mBackground;
    QLabel *mImageView;
    DetailTextLabel *mText;
    QImage mImage;
};
