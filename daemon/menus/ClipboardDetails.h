#pragma once

#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QVariantMap>

class QLabel;
class QPlainTextEdit;
class QWidget;

// A saved clipboard entry shown in full beside the access window, instead of a menu: its
// picture, if it has one, and below it every type it holds with its text and size.
class ClipboardDetails
{
public:
    ClipboardDetails();
    ~ClipboardDetails();
    ClipboardDetails(const ClipboardDetails &) = delete;
    ClipboardDetails &operator=(const ClipboardDetails &) = delete;

    static constexpr int Gap = 2;
    static constexpr int TextWindowWidth = 420;
    static constexpr int TextWindowHeight = 300;
    static constexpr int LargestImageSide = 400;

    // Shows the windows for the packed contents "cb" beside the frame of the access window.
    void show(const QByteArray &packed, const QRect &accessWindowFrame);
    void hide();

    // The first of PNG, PDF and TIFF the contents hold, decoded; null when none decodes.
    static QImage imageOf(const QVariantMap &contents);
    // "Type = ...", "String = ...", "Data = <size>" for every type, each block closed by a line
    // of equals signs.
    static QString describe(const QVariantMap &contents);

    QWidget *imageWindow() const;
    QWidget *textWindow() const;
    QString shownText() const;

private:
    QPointer<QLabel> mImageWindow;
    QPointer<QPlainTextEdit> mTextWindow;
};
