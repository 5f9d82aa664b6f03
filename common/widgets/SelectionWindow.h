#pragma once

#include <QTextBrowser>
#include <QWidget>

// The rounded, warm off-white face of the preview window with its dark outline.
class SelectionBackground : public QWidget
{
    Q_OBJECT
public:
    explicit SelectionBackground(QWidget *parent = nullptr);

    static constexpr qreal Radius = 5;
    static constexpr qreal OutlineWidth = 2;
    static inline const QColor TopColor = QColor(255, 252, 242);
    static inline const QColor BottomColor = QColor(244, 238, 222);
    static inline const QColor OutlineColor = QColor(64, 60, 52);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The read-only text of the preview. Keys: Tab goes back to the search field (clearing the
// selection), Escape closes the owner window, Ctrl+C copies, Ctrl+A selects all; every other
// key is ignored, so nothing typed here edits or scrolls by accident.
class SelectionTextView : public QTextBrowser
{
    Q_OBJECT
public:
    explicit SelectionTextView(QWidget *parent = nullptr);

    // Selects a range of the plain text, or clears the selection with an invalid range.
    void selectRange(qsizetype offset, qsizetype length);
    QString selectedPlainText() const;

signals:
    void tabPressed();
    void escapePressed();
    void linkActivated(const QUrl &url);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
};

// The preview window: a frameless tool window hanging under its owner (the access window, the
// browser). Showing it never takes the focus from the owner; only tabbing into its text does.
class SelectionWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SelectionWindow(QWidget *owner);

    SelectionTextView *textView() const { return mTextView; }
    // The text's inset on each side (SelectionPlacement::TextMargin is both sides together).
    static constexpr int TextInset = 6;
    // The height the current document needs at a window width.
    int fittedTextHeight(int windowWidth) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    SelectionBackground *mBackground;
    SelectionTextView *mTextView;
};
