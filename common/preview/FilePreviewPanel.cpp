#include "FilePreviewPanel.h"

#include "PreviewPanelWindow.h"
#include "PreviewService.h"
#include "WindowFocus.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

FilePreviewPanel::FilePreviewPanel(QObject *parent)
    : QObject(parent)
    , mService(std::make_unique<NautilusPreviewService>())
{
}

FilePreviewPanel::~FilePreviewPanel()
{
    delete mWindow; // a top-level window without a parent widget
}

void FilePreviewPanel::setPreviewService(std::unique_ptr<PreviewService> service)
{
    mService = std::move(service);
}

bool FilePreviewPanel::isVisible() const
{
    return mWindow && mWindow->isVisible();
}

void FilePreviewPanel::hide()
{
    ++mRequest;
    closeOwnPanel();
    if (mDesktopShown && mService)
        mService->close();
    mDesktopShown = false;
}

void FilePreviewPanel::toggleQuickLook(const QStringList &paths)
{
    if (isVisible()) {
        hide();
        return;
    }
    if (paths.isEmpty()) {
        // Space with nothing to show still puts away what an earlier Space opened.
        if (mDesktopShown)
            hide();
        return;
    }
    const int request = ++mRequest;
    if (mService && mService->isAvailable()) {
        QWidget *active = QApplication::activeWindow();
        const unsigned long windowId =
            active && QGuiApplication::platformName() == QLatin1String("xcb") ? active->winId() : 0;
        mDesktopShown = true;
        // The previewer toggles by itself: a second Space closes what it shows.
        const QPointer<FilePreviewPanel> self(this);
        mService->showFile(paths.first(), windowId, [self, paths, request](bool ok) {
            // Refused or failed: our own panel, unless another Space came meanwhile.
            if (ok || !self || request != self->mRequest)
                return;
            self->mDesktopShown = false;
            self->showOwnPanel(paths);
        });
        return;
    }
    showOwnPanel(paths);
}

void FilePreviewPanel::showOwnPanel(const QStringList &paths)
{
    if (!mWindow) {
        mWindow = new PreviewPanelWindow();
        connect(mWindow, &PreviewPanelWindow::closeRequested, this, &FilePreviewPanel::hide);
    }
    mReturnFocusTo = QApplication::activeWindow();
    if (!mWindow->isVisible()) {
        QScreen *screen =
            mReturnFocusTo ? mReturnFocusTo->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect room = screen->availableGeometry();
            mWindow->resize(std::min(720, room.width() * 3 / 4),
                            std::min(540, room.height() * 3 / 4));
            QRect frame = mWindow->frameGeometry();
            frame.moveCenter(room.center());
            mWindow->move(frame.topLeft());
        }
    }
    mWindow->setPaths(paths);
    mWindow->show();
    WindowFocus::bringToFront(mWindow.get());
}

void FilePreviewPanel::closeOwnPanel()
{
    if (!isVisible())
        return;
    mWindow->hide();
    // The keys go back to where Space was pressed.
    if (mReturnFocusTo && mReturnFocusTo->isVisible())
        WindowFocus::activate(mReturnFocusTo);
    mReturnFocusTo = nullptr;
}
