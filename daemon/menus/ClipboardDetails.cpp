#include "ClipboardDetails.h"

#include "ClipboardSecret.h"
#include "PasteboardContents.h"
#include "PreviewPdf.h"
#include "QOR_StringUtils.h"
#include "QOR_WindowsUtils.h"

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

const QString KeyData = QStringLiteral("data");
const QString KeyString = QStringLiteral("string");

// Windows that show, never take the focus from the access window, and close with Escape there.
void prepare(QWidget *window, const QString &title)
{
    window->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setWindowTitle(title);
}

} // namespace

ClipboardDetails::ClipboardDetails() = default;

ClipboardDetails::~ClipboardDetails()
{
    delete mImageWindow;
    delete mTextWindow;
}

QImage ClipboardDetails::imageOf(const QVariantMap &contents)
{
    for (const QString &type :
         {PasteboardContents::TypePNG, PasteboardContents::TypePDF, PasteboardContents::TypeTIFF}) {
        if (!contents.contains(type))
            continue;
        const QByteArray data = contents.value(type).toMap().value(KeyData).toByteArray();
        if (data.isEmpty())
            return {};
        if (type == PasteboardContents::TypePDF)
            return PreviewPdf::renderFirstPage(data, QSize(LargestImageSide, LargestImageSide));
        return QImage::fromData(data);
    }
    return {};
}

QString ClipboardDetails::describe(const QVariantMap &contents)
{
    const bool secret = ClipboardSecret::isSecret(contents);
    QString text;
    for (auto it = contents.cbegin(); it != contents.cend(); ++it) {
        const QVariantMap value = it.value().toMap();
        text += QStringLiteral("Type = %1\n").arg(it.key());
        if (value.contains(KeyString))
            text += QStringLiteral("String = %1\n")
                        .arg(secret ? ClipboardSecret::maskedText()
                                    : value.value(KeyString).toString());
        if (value.contains(KeyData))
            text +=
                QStringLiteral("Data = %1\n")
                    .arg(QOR_StringUtils::getSizeBytes(value.value(KeyData).toByteArray().size()));
        text += QStringLiteral("\n=========\n");
    }
    return text;
}

void ClipboardDetails::show(const QByteArray &packed, const QRect &accessWindowFrame)
{
    const std::optional<QVariantMap> contents = PasteboardContents::unpack(packed);
    if (!contents)
        return;
    // Beside the access window, on its left when the screen has no room on its right.
    const QRect available = QOR_WindowsUtils::availableRoomFor(accessWindowFrame);
    const auto placeBeside = [&](QWidget *window, int top) {
        const QRect anchor(accessWindowFrame.left(), top, accessWindowFrame.width(), 1);
        window->move(
            QOR_WindowsUtils::frameBeside(anchor, window->frameGeometry().size(), available, Gap)
                .topLeft());
    };
    int offset = 0;

    const QImage image = imageOf(*contents);
    if (!image.isNull()) {
        if (!mImageWindow) {
            mImageWindow = new QLabel;
            prepare(mImageWindow,
                    QOR_StringUtils::getLocalizedStringForKey(
                        QStringLiteral("PopupMenuClipboardItems")));
            mImageWindow->setAlignment(Qt::AlignCenter);
        }
        QPixmap picture = QPixmap::fromImage(image);
        if (picture.width() > LargestImageSide || picture.height() > LargestImageSide)
            picture = picture.scaled(LargestImageSide, LargestImageSide, Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation);
        mImageWindow->setPixmap(picture);
        mImageWindow->resize(picture.size());
        placeBeside(mImageWindow, accessWindowFrame.top());
        mImageWindow->show();
        mImageWindow->raise();
        offset = mImageWindow->frameGeometry().height() + Gap;
    } else if (mImageWindow) {
        mImageWindow->hide();
    }

    if (!mTextWindow) {
        mTextWindow = new QPlainTextEdit;
        prepare(
            mTextWindow,
            QOR_StringUtils::getLocalizedStringForKey(QStringLiteral("PopupMenuClipboardItems")));
        mTextWindow->setReadOnly(true);
        mTextWindow->resize(TextWindowWidth, TextWindowHeight);
    }
    mTextWindow->setPlainText(describe(*contents));
    placeBeside(mTextWindow, accessWindowFrame.top() + offset);
    mTextWindow->show();
    mTextWindow->raise();
}

void ClipboardDetails::hide()
{
    if (mImageWindow)
        mImageWindow->hide();
    if (mTextWindow)
        mTextWindow->hide();
}

QWidget *ClipboardDetails::imageWindow() const
{
    return mImageWindow;
}

QWidget *ClipboardDetails::textWindow() const
{
    return mTextWindow;
}

QString ClipboardDetails::shownText() const
{
    return mTextWindow ? mTextWindow->toPlainText() : QString();
}
