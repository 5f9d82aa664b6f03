#include "SelectionPresenter.h"

#include "ContactFormatting.h"
#include "DetailWindow.h"
#include "ItemRecord.h"
#include "SelectionWindow.h"
#include "TextMatching.h"
#include "platform/Workspace.h"

#include <QEvent>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWidget>

namespace {

// The address the access window's e-mail button writes to: the first non-empty "Email" line.
QString firstEmailAddress(const QVariantMap &record)
{
    const QStringList lines = ItemRecord::string(record, ItemRecord::KeyEmail).split(u'\n');
    QString line = lines.value(0);
    if (line.trimmed().isEmpty())
        line = lines.value(1);
    return line.mid(line.lastIndexOf(u'\t') + 1).trimmed();
}

} // namespace

SelectionPresenter::SelectionPresenter(QWidget *accessWindow)
    : QObject(accessWindow)
    , mAccessWindow(accessWindow)
    , mPreview(new SelectionWindow(accessWindow))
    , mDetail(new DetailWindow(accessWindow))
    , mPreviewAnimation(new QPropertyAnimation(mPreview, "geometry", this))
    , mDetailAnimation(new QPropertyAnimation(mDetail, "geometry", this))
{
    for (QPropertyAnimation *animation : {mPreviewAnimation, mDetailAnimation})
        animation->setEasingCurve(QEasingCurve::OutCubic);
    SelectionTextView *text = mPreview->textView();
    connect(text, &SelectionTextView::tabPressed, this, &SelectionPresenter::tabPressed);
    connect(text, &SelectionTextView::escapePressed, this, &SelectionPresenter::escapePressed);
    connect(text, &SelectionTextView::linkActivated, this, &SelectionPresenter::linkActivated);
    if (accessWindow)
        accessWindow->installEventFilter(this);
}

SelectionPresenter::~SelectionPresenter() = default;

void SelectionPresenter::setScreenRectProvider(std::function<QRect()> provider)
{
    mScreenRect = std::move(provider);
}

void SelectionPresenter::setAnimationDuration(int milliseconds)
{
    mAnimationDuration = std::max(milliseconds, 0);
}

void SelectionPresenter::setUrlOpener(std::function<void(const QUrl &)> opener)
{
    mUrlOpener = std::move(opener);
}

QRect SelectionPresenter::screenRect() const
{
    if (mScreenRect)
        return mScreenRect();
    QScreen *screen = mAccessWindow ? mAccessWindow->screen() : nullptr;
    return screen ? screen->availableGeometry() : QRect();
}

void SelectionPresenter::selectList(const std::optional<QVariantMap> &record, const QString &query)
{
    if (!record) {
        mContent = {};
        mContactEmail.clear();
        mHasText = false;
        mPreview->textView()->clear();
        hideAll();
        return;
    }

    SelectionPreviewContent content = SelectionPreview::build(*record);
    mContactEmail = content.isContact
        ? QUrl(ContactFormatting::mailtoTarget(firstEmailAddress(*record)))
        : QUrl();
    const bool unchanged =
        mHasText && content.text == mContent.text && content.isContact == mContent.isContact;
    mDetail->setContent(content.detailText, content.image);
    mContent = std::move(content);
    if (mContent.text.isEmpty()) {
        // Nothing to read: an empty box under the window would only look broken.
        mHasText = false;
        mPreview->textView()->clear();
        mPreview->hide();
        mDetail->hide();
        return;
    }

    if (!unchanged) {
        if (mDetail->isVisible())
            mDetail->hide();
        showText(mContent);
    }
    place();
    // A search that ends after the access window closed updates the text but shows nothing;
    // reopening the window selects again.
    if (mAccessWindow && mAccessWindow->isVisible()) {
        if (!mPreview->isVisible())
            mPreview->show();
        showDetail();
    }

    const QString shown = mPreview->textView()->toPlainText();
    const std::optional<TextRange> range =
        TextMatching::previewSelection(query, shown, mContent.searched);
    if (range)
        mPreview->textView()->selectRange(range->offset, range->length);
    else
        mPreview->textView()->selectRange(0, 0);
}

void SelectionPresenter::showText(const SelectionPreviewContent &content)
{
    SelectionTextView *view = mPreview->textView();
    if (content.isContact)
        ContactFormatting::fillDocument(*view->document(), content.text);
    else
        ContactFormatting::fillPlainDocument(*view->document(), content.text);
    mHasText = true;
    mFittedWidth = -1;
}

void SelectionPresenter::showDetail()
{
    // A picture alone is shown too: a copied image has no detail text, yet it is the point.
    const bool wanted = !mDetail->text().isEmpty() || mDetail->hasImage();
    if (!wanted) {
        mDetail->hide();
        return;
    }
    if (!mDetail->isVisible()) {
        mDetail->setGeometry(mDetailFrame);
        mDetail->show();
    }
}

void SelectionPresenter::place()
{
    if (!mAccessWindow)
        return;
    SelectionPlacementInput input;
    input.accessFrame = mAccessWindow->frameGeometry();
    input.screen = screenRect();
    input.imageShown = !mContent.image.isNull();
    input.currentHeight = mPreview->height();
    input.detailHeight = mDetail->wantedHeight();
    if (mHasText) {
        // Laid out once per text and width: the windows follow every move of the access window,
        // and a cut text must grow back when the window moves up.
        if (mFittedWidth != input.accessFrame.width()) {
            mFittedWidth = input.accessFrame.width();
            mFittedHeight = mPreview->fittedTextHeight(mFittedWidth);
        }
        input.textHeight = mFittedHeight;
    }
    const SelectionPlacementResult result = SelectionPlacement::place(input);
    mPreviewFrame = result.previewFrame;
    mDetailFrame = result.detailFrame;
    moveWindow(mPreview, mPreviewAnimation, mPreviewFrame);
    moveWindow(mDetail, mDetailAnimation, mDetailFrame);
}

void SelectionPresenter::moveWindow(QWidget *window, QPropertyAnimation *animation,
                                    const QRect &frame)
{
    animation->stop();
    if (!window->isVisible() || mAnimationDuration == 0 || window->geometry() == frame) {
        window->setGeometry(frame);
        return;
    }
    animation->setDuration(mAnimationDuration);
    animation->setStartValue(window->geometry());
    animation->setEndValue(frame);
    animation->start();
}

void SelectionPresenter::hideAll()
{
    mPreviewAnimation->stop();
    mDetailAnimation->stop();
    mPreview->hide();
    mDetail->hide();
}

bool SelectionPresenter::isPreviewVisible() const
{
    return mPreview->isVisible();
}

QWidget *SelectionPresenter::previewTextWidget() const
{
    return mPreview->textView();
}

QRect SelectionPresenter::previewFrame() const
{
    return mPreviewFrame.isNull() ? mPreview->geometry() : mPreviewFrame;
}

bool SelectionPresenter::isDetailVisible() const
{
    return mDetail->isVisible();
}

QRect SelectionPresenter::detailFrame() const
{
    return mDetailFrame.isNull() ? mDetail->geometry() : mDetailFrame;
}

void SelectionPresenter::linkActivated(const QUrl &url)
{
    // The contact's own address goes where the e-mail button goes; any other link is opened.
    if (!mContactEmail.isEmpty() && url == mContactEmail) {
        emit emailRequested();
        return;
    }
    if (mUrlOpener)
        mUrlOpener(url);
    else
        Workspace::createLinux()->openUrl(url); // the opened program may take the focus
}

bool SelectionPresenter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mAccessWindow && mPreview->isVisible()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            // The windows hang on the access window and follow it.
            place();
            break;
        case QEvent::Hide:
            hideAll();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
