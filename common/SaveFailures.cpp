#include "SaveFailures.h"

#include "KorvaleLog.h"

#include <QCoreApplication>
#include <QHash>
#include <QMetaObject>

#include <mutex>

namespace {

struct State {
    std::mutex mutex;
    SaveFailures::Presenter presenter;
    QHash<QString, SaveFailure::Reason> said; // path → the reason last said
};

State &state()
{
    static State instance;
    return instance;
}

thread_local int saidByCaller = 0;

} // namespace

void SaveFailures::setPresenter(Presenter presenter)
{
    State &s = state();
    const std::lock_guard lock(s.mutex);
    s.presenter = std::move(presenter);
    s.said.clear();
}

SaveFailures::SaidByCaller::SaidByCaller()
{
    ++saidByCaller;
}

SaveFailures::SaidByCaller::~SaidByCaller()
{
    --saidByCaller;
}

void SaveFailures::report(const QString &path, const SaveFailure &failure)
{
    const QString why = failure.reason == SaveFailure::Reason::NotAFile
        ? QStringLiteral("something that is not a file stands in its place")
        : failure.detail.isEmpty() ? failure.reasonText()
                                   : failure.detail;
    KorvaleLog::line(QStringLiteral("Unable saving data in file %1: %2").arg(path, why));
    if (saidByCaller > 0)
        return;
    State &s = state();
    Presenter presenter;
    {
        const std::lock_guard lock(s.mutex);
        const auto said = s.said.constFind(path);
        if (said != s.said.cend() && *said == failure.reason)
            return;
        s.said.insert(path, failure.reason);
        presenter = s.presenter;
    }
    QCoreApplication *app = QCoreApplication::instance();
    if (!presenter || !app)
        return;
    // Queued: an alert's own event loop must not run inside a save, and a save on a worker
    // thread must not touch windows.
    QMetaObject::invokeMethod(
        app, [presenter, path, failure] { presenter(path, failure); }, Qt::QueuedConnection);
}

void SaveFailures::saved(const QString &path)
{
    State &s = state();
    const std::lock_guard lock(s.mutex);
    s.said.remove(path);
}
