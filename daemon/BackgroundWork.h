#pragma once

#include <QString>

#include <functional>
#include <vector>

// The agent's work off the main thread (favicons, the readers of other programs' files...), as
// the quit sees it: every piece is told to stop at once, then all are waited for within one
// bound, so that no thread is left using the lists, the windows or the application object
// while they are torn down. A piece must never wait for the main thread (hand results over with
// queued calls): the main thread is the one waiting for it here.
class BackgroundWork
{
public:
    struct Piece {
        QString name; // for the log line when it does not end in time
        std::function<void()> requestStop; // returns at once
        std::function<bool(int ms)> waitUntilStopped; // true when no thread of it runs
    };

    void add(Piece piece);
    // Idempotent; later pieces are stopped as they are added.
    void requestStop();
    // Waits for every piece within `ms` in all; true when all ended. Each late one is logged.
    bool waitUntilStopped(int ms);
    bool isStopping() const { return mStopping; }

private:
    std::vector<Piece> mPieces;
    bool mStopping = false;
};
