#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class PreviewPanelWindow;
class PreviewService;
class QWidget;

// Space on the access window's table and in the browser: the desktop's previewer when one is on the
// session bus, otherwise a preview panel of our own. Main thread.
class FilePreviewPanel : public QObject
{
    Q_OBJECT
public:
    explicit FilePreviewPanel(QObject *parent = nullptr);
    ~FilePreviewPanel() override;

    // Whether our own panel is on screen (the desktop previewer's window is its own affair).
    bool isVisible() const;
    // Hides our panel, and closes the desktop previewer if we opened it.
    void hide();
    // Hides when visible; else shows the files (existing paths of the selected rows) when
    // there are any. The desktop previewer shows the first file; our panel shows them all.
    void toggleQuickLook(const QStringList &paths);

    // Replaces the desktop previewer (tests); nullptr means none.
    void setPreviewService(std::unique_ptr<PreviewService> service);
    PreviewPanelWindow *panelWindow() const { return mWindow; }
    bool isDesktopPreviewerShown() const { return mDesktopShown; }

private:
    void showOwnPanel(const QStringList &paths);
    void closeOwnPanel();

    std::unique_ptr<PreviewService> mService;
    QPointer<PreviewPanelWindow> mWindow;
    QPointer<QWidget> mReturnFocusTo;
    bool mDesktopShown = false;
    int mRequest = 0; // the toggle a late answer of the desktop previewer belongs to
};
