#include "SelectionWindow.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <memory>

SelectionBackground::SelectionBackground(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SelectionBackground::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal half = OutlineWidth / 2;
    const QRectF frame = QRectF(rect()).adjusted(half, half, -half, -half);
    QPainterPath path;
    path.addRoundedRect(frame, Radius, Radius);
    QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
    gradient.setColorAt(0, TopColor);
    gradient.setColorAt(1, BottomColor);
    painter.fillPath(path, gradient);
    painter.setPen(QPen(OutlineColor, OutlineWidth));
    painter.drawPath(path);
}

SelectionTextView::SelectionTextView(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("SelectionTextView"));
    setFrameShape(QFrame::NoFrame);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                            | Qt::LinksAccessibleByMouse);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::ClickFocus);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);

    // The face is light on every theme; the text stays dark, and a selection made while the
    // access window has the focus is still shown.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Text, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);

    connect(this, &QTextBrowser::anchorClicked, this, &SelectionTextView::linkActivated);
}

void SelectionTextView::selectRange(qsizetype offset, qsizetype length)
{
    QTextCursor cursor(document());
    const qsizetype end = offset + length;
    const int last = document()->characterCount() - 1;
    if (offset < 0 || length <= 0 || end > last) {
        cursor.movePosition(QTextCursor::Start);
    } else {
        cursor.setPosition(int(offset));
        cursor.setPosition(int(end), QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
    if (cursor.hasSelection())
        ensureCursorVisible();
}

QString SelectionTextView::selectedPlainText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

namespace {

bool isOwnKey(const QKeyEvent *key)
{
    const int code = key->key();
    return code == Qt::Key_Tab || code == Qt::Key_Backtab || code == Qt::Key_Escape
        || key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll);
}

} // namespace

bool SelectionTextView::event(QEvent *event)
{
    // The owner's menu has Ctrl+C and Ctrl+A too; here they act on this text.
    if (event->type() == QEvent::ShortcutOverride && isOwnKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QTextBrowser::event(event);
}

void SelectionTextView::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        QTextCursor cursor = textCursor();
        cursor.clearSelection();
        setTextCursor(cursor);
        emit tabPressed();
        return;
    }
    case Qt::Key_Escape:
        emit escapePressed();
        return;
    default:
        break;
    }
    if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
}

bool SelectionTextView::focusNextPrevChild(bool)
{
    return false; // Tab is a key of its own here, not a move between links
}

SelectionWindow::SelectionWindow(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint)
    , mBackground(new SelectionBackground(this))
    , mTextView(new SelectionTextView(this))
{
    setObjectName(QStringLiteral("SelectionWindow"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(owner ? owner->width() : 400, 40);
}

int SelectionWindow::fittedTextHeight(int windowWidth) const
{
    // Measured on a copy, so the shown text keeps its layout and selection.
    const std::unique_ptr<QTextDocument> copy(mTextView->document()->clone());
    copy->setDefaultFont(mTextView->font());
    copy->setTextWidth(std::max(windowWidth - 2 * TextInset, 1));
    return int(std::ceil(copy->size().height()));
}

void SelectionWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    mBackground->setGeometry(rect());
    mTextView->setGeometry(rect().adjusted(TextInset, TextInset, -TextInset, -TextInset));
}
