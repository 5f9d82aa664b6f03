#pragma once

#include "SelectionPlacement.h"
#include "SelectionPreview.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <optional>

class DetailWindow;
class QPropertyAnimation;
class QWidget;
class SelectionWindow;

// The preview and detail windows of the access window: what `selectList` shows for the
// selected row, and where the windows hang. Main thread.
class SelectionPresenter : public QObject
{
    Q_OBJECT
public:
    explicit SelectionPresenter(QWidget *accessWindow);
    ~SelectionPresenter() override;

    // Shows the preview of the record (none: hides both windows) and selects the first word of
    // the query in its text.
    void selectList(const std::optional<QVariantMap> &record, const QString &query);
    void hideAll(); // detach and hide preview and detail windows
    bool isPreviewVisible() const;
    QWidget *previewTextWidget() const; // for the focus keys (Tab)
    QRect previewFrame() const; // where the preview is (or is going, while it moves)

    bool isDetailVisible() const;
    QRect detailFrame() const;
    const SelectionPreviewContent &content() const { return mContent; }
    SelectionWindow *previewWindow() const { return mPreview; }
    DetailWindow *detailWindow() const { return mDetail; }

    // The usable area the windows must stay in; by default the access window's screen's.
    void setScreenRectProvider(std::function<QRect()> provider);
    // Moves are animated over this time while the preview is visible; 0 moves at once.
    void setAnimationDuration(int milliseconds);
    // Opens a link of the preview text other than the contact's own address; by default the
    // desktop's handler, as the workspace opens addresses.
    void setUrlOpener(std::function<void(const QUrl &)> opener);

signals:
    void tabPressed();
    void escapePressed();
    void emailRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showText(const SelectionPreviewContent &content);
    void place();
    void moveWindow(QWidget *window, QPropertyAnimation *animation, const QRect &frame);
    void showDetail();
    void linkActivated(const QUrl &url);
    QRect screenRect() const;

    QPointer<QWidget> mAccessWindow;
    SelectionWindow *mPreview;
    DetailWindow *mDetail;
    QPropertyAnimation *mPreviewAnimation;
    QPropertyAnimation *mDetailAnimation;
    SelectionPreviewContent mContent;
    bool mHasText = false;
    int mFittedWidth = -1;
    int mFittedHeight = 0;
    QUrl mContactEmail; // the link of the address the e-mail button uses
    QRect mPreviewFrame;
    QRect mDetailFrame;
    int mAnimationDuration = 120;
    std::function<QRect()> mScreenRect;
    std::function<void(const QUrl &)> mUrlOpener;
};
