#include "KorvaleLog.h"

#include <QMutex>

#include <cstdio>

namespace {
QMutex sinkMutex;
KorvaleLog::Sink &currentSink()
{
    static KorvaleLog::Sink sink;
    return sink;
}
} // namespace

void KorvaleLog::line(const QString &message)
{
    QMutexLocker lock(&sinkMutex);
    if (currentSink()) {
        currentSink()(message);
        return;
    }
    const QByteArray bytes = message.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void KorvaleLog::setSink(Sink sink)
{
    QMutexLocker lock(&sinkMutex);
    currentSink() = std::move(sink);
}
