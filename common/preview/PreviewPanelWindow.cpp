#include "PreviewPanelWindow.h"

#include "BoundedFile.h"
#include "FileIcons.h"
#include "NativeFileName.h"
#include "PreviewPdf.h"
#include "QOR_StringUtils.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStringDecoder>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace {

constexpr int SummaryIconSize = 128;
constexpr int PageMargin = 12;

} // namespace

PreviewPanelWindow::PreviewPanelWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mStack(new QStackedWidget(this))
    , mImageView(new QLabel(this))
    , mTextView(new QPlainTextEdit(this))
    , mPdfArea(new QScrollArea(this))
    , mPdfPages(new QWidget(this))
    , mSummary(new QWidget(this))
    , mSummaryIcon(new QLabel(this))
    , mSummaryName(new QLabel(this))
    , mSummaryDetails(new QLabel(this))
{
    setObjectName(QStringLiteral("PreviewPanelWindow"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);

    mImageView->setAlignment(Qt::AlignCenter);
    mImageView->setMinimumSize(1, 1);
    mImageView->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    mTextView->setReadOnly(true);
    mTextView->setLineWrapMode(QPlainTextEdit::NoWrap);
    mTextView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mTextView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *pages = new QVBoxLayout(mPdfPages);
    pages->setContentsMargins(PageMargin, PageMargin, PageMargin, PageMargin);
    pages->setSpacing(PageMargin);
    pages->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    mPdfArea->setWidget(mPdfPages);
    mPdfArea->setWidgetResizable(true);
    mPdfArea->setAlignment(Qt::AlignHCenter);

    auto *summary = new QVBoxLayout(mSummary);
    summary->addStretch(1);
    summary->addWidget(mSummaryIcon, 0, Qt::AlignHCenter);
    QFont nameFont = mSummaryName->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    nameFont.setBold(true);
    mSummaryName->setFont(nameFont);
    mSummaryName->setAlignment(Qt::AlignHCenter);
    mSummaryName->setWordWrap(true);
    mSummaryDetails->setAlignment(Qt::AlignHCenter);
    summary->addWidget(mSummaryName);
    summary->addWidget(mSummaryDetails);
    summary->addStretch(2);

    for (QWidget *page : {static_cast<QWidget *>(mImageView), static_cast<QWidget *>(mTextView),
                          static_cast<QWidget *>(mPdfArea), mSummary})
        mStack->addWidget(page);
    for (QWidget *keyed : {static_cast<QWidget *>(mTextView), mTextView->viewport(),
                           static_cast<QWidget *>(mPdfArea), mPdfArea->viewport()})
        keyed->installEventFilter(this);
    setFocusPolicy(Qt::StrongFocus);
    resize(720, 540);
}

void PreviewPanelWindow::setPaths(const QStringList &paths)
{
    mPaths = paths;
    mIndex = -1;
    showIndex(0);
}

void PreviewPanelWindow::showIndex(int index)
{
    if (index < 0 || index >= mPaths.size())
        return;
    mIndex = index;
    const QString path = mPaths.at(index);
    const QString name = NativeFileName::forDisplay(QFileInfo(path).fileName());
    QString title = name.isEmpty() ? path : name;
    if (mPaths.size() > 1)
        title += QStringLiteral(" (%1/%2)").arg(index + 1).arg(mPaths.size());
    setWindowTitle(title);

    // Every byte goes through the bounded read: it reaches a name that is not UTF-8, never
    // opens a FIFO or a device, and never reads past what a preview needs.
    mImage = QImage();
    const BoundedFile::Result head = BoundedFile::readHead(path, TextLimit + 1);
    const QMimeDatabase mimes;
    const QMimeType mime = head.isRead()
        ? mimes.mimeTypeForFileNameAndData(QFileInfo(path).fileName(), head.bytes)
        : mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (head.isRead()) {
        const bool image = mime.name().startsWith(QLatin1String("image/"));
        const bool pdf = mime.inherits(QStringLiteral("application/pdf"));
        if (image || pdf) {
            const BoundedFile::Result whole = BoundedFile::read(path, PreviewedFileLimit);
            if (whole.isRead() && image && showImage(whole.bytes))
                return;
            if (whole.isRead() && pdf && showPdf(whole.bytes))
                return;
        }
        if (mime.inherits(QStringLiteral("text/plain"))) {
            showText(head.bytes);
            return;
        }
    }
    showSummary(path, mime);
}

bool PreviewPanelWindow::showImage(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true); // a photo stands as it was taken
    mImage = reader.read();
    if (mImage.isNull())
        return false;
    mMode = Mode::Image;
    mStack->setCurrentWidget(mImageView);
    fitImage();
    setFocus();
    return true;
}

void PreviewPanelWindow::fitImage()
{
    if (mMode != Mode::Image || mImage.isNull())
        return;
    const QSize room = mStack->size().shrunkBy({PageMargin, PageMargin, PageMargin, PageMargin});
    QImage shown = mImage;
    // Small pictures keep their size; large ones are scaled down to the window.
    if (!room.isEmpty() && (shown.width() > room.width() || shown.height() > room.height()))
        shown = shown.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    mImageView->setPixmap(QPixmap::fromImage(shown));
}

void PreviewPanelWindow::showText(const QByteArray &bytes)
{
    const bool cut = bytes.size() > TextLimit;
    const QByteArray head = bytes.left(TextLimit);
    const auto encoding = QStringConverter::encodingForData(head).value_or(QStringConverter::Utf8);
    // A stateful decoder leaves a character cut at the limit out instead of garbling it.
    QStringDecoder decode(encoding);
    QString text = decode(head);
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    if (cut)
        text += QStringLiteral("\n…");
    mTextView->setPlainText(text);
    mMode = Mode::Text;
    mStack->setCurrentWidget(mTextView);
    mTextView->setFocus();
}

bool PreviewPanelWindow::showPdf(const QByteArray &document)
{
    const int pages = std::min(PreviewPdf::pageCount(document), PdfPageLimit);
    if (pages <= 0)
        return false;
    QLayout *layout = mPdfPages->layout();
    while (QLayoutItem *item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const int width = std::max(mStack->width() - 2 * PageMargin - 24, 200);
    const QSize box(width, width * 4);
    mImage = PreviewPdf::renderPage(document, 0, box);
    if (mImage.isNull())
        return false;
    mMode = Mode::Pdf;
    const auto addPage = [this, layout](const QImage &image) {
        auto *page = new QLabel(mPdfPages);
        page->setPixmap(QPixmap::fromImage(image));
        layout->addWidget(page);
    };
    addPage(mImage);
    // The other pages follow one by one, so the first is on screen at once.
    const int shownIndex = mIndex;
    for (int page = 1; page < pages; ++page) {
        QTimer::singleShot(0, this, [this, document, page, box, shownIndex, addPage] {
            if (mMode != Mode::Pdf || mIndex != shownIndex)
                return;
            const QImage image = PreviewPdf::renderPage(document, page, box);
            if (!image.isNull())
                addPage(image);
        });
    }
    mPdfArea->verticalScrollBar()->setValue(0);
    mStack->setCurrentWidget(mPdfArea);
    mPdfArea->setFocus();
    return true;
}

void PreviewPanelWindow::showSummary(const QString &path, const QMimeType &mime)
{
    const QFileInfo info(path);
    mSummaryIcon->setPixmap(
        FileIcons::forType(info, mime).pixmap(SummaryIconSize, SummaryIconSize));
    const QString name = NativeFileName::forDisplay(info.fileName());
    mSummaryName->setText(name.isEmpty() ? path : name);
    QStringList details;
    struct stat status {
    };
    const bool found = ::stat(NativeFileName::toNative(path).constData(), &status) == 0;
    if (found && !S_ISDIR(status.st_mode))
        details << QOR_StringUtils::getSizeBytes(qint64(status.st_size));
    details << (found && S_ISDIR(status.st_mode)
                    ? QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment()
                    : mime.comment());
    mSummaryDetails->setText(details.join(QLatin1Char('\n')));
    mMode = Mode::Summary;
    mStack->setCurrentWidget(mSummary);
    setFocus();
}

QString PreviewPanelWindow::shownText() const
{
    return mMode == Mode::Text ? mTextView->toPlainText() : QString();
}

QImage PreviewPanelWindow::shownImage() const
{
    return mMode == Mode::Image || mMode == Mode::Pdf ? mImage : QImage();
}

QString PreviewPanelWindow::summaryText() const
{
    if (mMode != Mode::Summary)
        return {};
    return mSummaryName->text() + QLatin1Char('\n') + mSummaryDetails->text();
}

bool PreviewPanelWindow::handleKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Escape:
        emit closeRequested();
        return true;
    case Qt::Key_Left:
        showIndex(mIndex - 1);
        return true;
    case Qt::Key_Right:
        showIndex(mIndex + 1);
        return true;
    default:
        break;
    }
    if (!event->matches(QKeySequence::Close))
        return false;
    emit closeRequested();
    return true;
}

bool PreviewPanelWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void PreviewPanelWindow::keyPressEvent(QKeyEvent *event)
{
    if (!handleKey(event))
        QWidget::keyPressEvent(event);
}

void PreviewPanelWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitImage();
}
