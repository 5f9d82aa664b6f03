#include "PreviewPanelWindow.h"

#include "FileIcons.h"
#include "PreviewPdf.h"
#include "QOR_StringUtils.h"

#include <QFile>
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
    const QFileInfo info(path);
    QString title = info.fileName().isEmpty() ? path : info.fileName();
    if (mPaths.size() > 1)
        title += QStringLiteral(" (%1/%2)").arg(index + 1).arg(mPaths.size());
    setWindowTitle(title);

    mImage = QImage();
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    if (info.isFile() && mime.name().startsWith(QLatin1String("image/"))
        && QImageReader(path).canRead()) {
        showImage(path);
        if (!mImage.isNull())
            return;
    }
    if (info.isFile() && mime.inherits(QStringLiteral("application/pdf")) && showPdf(path))
        return;
    if (info.isFile() && mime.inherits(QStringLiteral("text/plain")) && showText(path))
        return;
    showSummary(path);
}

void PreviewPanelWindow::showImage(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true); // a photo stands as it was taken
    mImage = reader.read();
    if (mImage.isNull())
        return;
    mMode = Mode::Image;
    mStack->setCurrentWidget(mImageView);
    fitImage();
    setFocus();
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

bool PreviewPanelWindow::showText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(TextLimit);
    const bool cut = !file.atEnd();
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
    return true;
}

bool PreviewPanelWindow::showPdf(const QString &path)
{
    const int pages = std::min(PreviewPdf::pageCount(path), PdfPageLimit);
    if (pages <= 0)
        return false;
    QLayout *layout = mPdfPages->layout();
    while (QLayoutItem *item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const int width = std::max(mStack->width() - 2 * PageMargin - 24, 200);
    const QSize box(width, width * 4);
    mImage = PreviewPdf::renderPage(path, 0, box);
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
        QTimer::singleShot(0, this, [this, path, page, box, shownIndex, addPage] {
            if (mMode != Mode::Pdf || mIndex != shownIndex)
                return;
            const QImage image = PreviewPdf::renderPage(path, page, box);
            if (!image.isNull())
                addPage(image);
        });
    }
    mPdfArea->verticalScrollBar()->setValue(0);
    mStack->setCurrentWidget(mPdfArea);
    mPdfArea->setFocus();
    return true;
}

void PreviewPanelWindow::showSummary(const QString &path)
{
    const QFileInfo info(path);
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    mSummaryIcon->setPixmap(
        FileIcons::forType(info, mime).pixmap(SummaryIconSize, SummaryIconSize));
    mSummaryName->setText(info.fileName().isEmpty() ? path : info.fileName());
    QStringList details;
    if (!info.isDir())
        details << QOR_StringUtils::getSizeBytes(info.size());
    details << mime.comment();
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
