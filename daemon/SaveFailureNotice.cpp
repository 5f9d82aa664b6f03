#include "SaveFailureNotice.h"

#include "SaveFailures.h"
#include "SaveLock.h"
#include "platform/DesktopNotifications.h"

void SaveFailureNotice::install()
{
    // Under a frame: a save of a few milliseconds ends well within it, and a longer one is
    // retried from the event loop.
    SaveLock::setMainThreadWait(std::chrono::milliseconds(10));
    SaveFailures::setPresenter([](const QString &path, const SaveFailure &failure) {
        if (failure.reason == SaveFailure::Reason::Busy)
            return;
        DesktopNotifications::notify(failure.title(path), failure.text());
    });
}
