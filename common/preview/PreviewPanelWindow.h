#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

class QLabel;
class QMimeType;
class QPlainTextEdit;
class QScrollArea;
class QStackedWidget;

// Our own file preview: pictures, text files, PDF documents (with poppler), and for anything
// else the file's icon, name, size and type. Keyboard first: Space or Escape closes it, the left
// and right arrows go through the files, the others scroll.
class PreviewPanelWindow : public QWidget
{
    Q_OBJECT
public:
    enum class Mode { None, Image, Text, Pdf, Summary };

    explicit PreviewPanelWindow(QWidget *parent = nullptr);

    // Shows the first file of the list; the window is not shown by this.
    void setPaths(const QStringList &paths);
    QStringList paths() const { return mPaths; }
    int currentIndex() const { return mIndex; }
    void showIndex(int index);
    Mode mode() const { return mMode; }
    QString shownText() const; // the text of a text file, as shown
    QImage shownImage() const; // the picture (the first page of a PDF)
    QString summaryText() const; // name, size and type lines of the summary

    static constexpr qint64 TextLimit = 200 * 1000;
    static constexpr int PdfPageLimit = 20;
    // A picture or a PDF larger than this is summed up rather than read.
    static constexpr qint64 PreviewedFileLimit = 256 * 1024 * 1024;

signals:
    void closeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool handleKey(QKeyEvent *event);
    bool showImage(const QByteArray &bytes);
    void showText(const QByteArray &bytes);
    bool showPdf(const QByteArray &document);
    void showSummary(const QString &path, const QMimeType &mime);
    void fitImage();

    QStringList mPaths;
    int mIndex = -1;
    Mode mMode = Mode::None;
    QImage mImage;
    QStackedWidget *mStack;
    QLabel *mImageView;
    QPlainTextEdit *mTextView;
    QScrollArea *mPdfArea;
    QWidget *mPdfPages;
    QWidget *mSummary;
    QLabel *mSummaryIcon;
    QLabel *mSummaryName;
    QLabel *mSummaryDetails;
};
