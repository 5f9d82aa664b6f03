#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

#include <optional>

// The clipboard editor's preview of packed contents: the preferred representation, a picture
// scaled to fit or its text, with the type's short label.
class ClipboardView : public QWidget
{
    Q_OBJECT
public:
    explicit ClipboardView(QWidget *parent = nullptr);

    // Nothing: the clipboard is captured now. The view keeps its own copy.
    void setPasteboard(const std::optional<QByteArray> &packed);
    std::optional<QByteArray> clipboard() const { return mPacked; }

    // What is drawn, for the tests: the label and either a text, an image, or the key of the
    // message shown instead ("ClipboardEmpty", "ClipboardNoImageRep", "ClipboardUnknowType").
    struct Shown {
        QString label;
        QString text;
        QImage image;
        QString messageKey;
    };
    static Shown describe(const std::optional<QByteArray> &packed);

    QSize sizeHint() const override { return {320, 180}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<QByteArray> mPacked;
    Shown mShown;
};
