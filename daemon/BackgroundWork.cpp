#include "BackgroundWork.h"

#include "KorvaleLog.h"

#include <QDeadlineTimer>

void BackgroundWork::add(Piece piece)
{
    if (mStopping && piece.requestStop)
        piece.requestStop();
    mPieces.push_back(std::move(piece));
}

void BackgroundWork::requestStop()
{
    if (mStopping)
        return;
    mStopping = true;
    for (const Piece &piece : mPieces) {
        if (piece.requestStop)
            piece.requestStop();
    }
}

bool BackgroundWork::waitUntilStopped(int ms)
{
    requestStop();
    const QDeadlineTimer deadline(ms);
    bool allStopped = true;
    for (const Piece &piece : mPieces) {
        if (!piece.waitUntilStopped)
            continue;
        if (!piece.waitUntilStopped(int(std::max<qint64>(deadline.remainingTime(), 0)))) {
            allStopped = false;
            KorvaleLog::line(
                QStringLiteral("%1 did not stop within %2 ms of quitting").arg(piece.name).arg(ms));
        }
    }
    return allStopped;
}
