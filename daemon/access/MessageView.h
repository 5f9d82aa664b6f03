#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

// The transient confirmation ("Copied to the clipboard"): a dark rounded bar with a soft shadow,
// an icon at its left and one line of text in the 18-point system font. Shown as a window of its
// own by MessageWindow.
class MessageView : public QWidget
{
    Q_OBJECT
public:
    explicit MessageView(QWidget *parent = nullptr);

    // A null icon shows the agent's icon. Resizes the view to fit the text.
    void setMessageAndIcon(const QString &text, const QIcon &icon);
    QString message() const { return mText; }
    QSize sizeHint() const override;
    // The bar inside the shadow's margin.
    QRect barRect() const;

    static constexpr int ShadowMargin = 12;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont messageFont() const;
    int barHeight() const;

    QString mText;
    QIcon mIcon;
};
