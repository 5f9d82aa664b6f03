#pragma once

#include "QuoteReader.h"

#include <QSet>
#include <QString>
#include <QVariantList>

#include <atomic>
#include <functional>

// surveyStocksThread: one pass over a copy of the stock list, on whatever thread runs it. The
// quotes are read in list order; the first due entry (StockRules) is shown and watched while its
// window stays open, and the whole list read again when it stays open for the watch's length.
// The values read are stored in the copy, which the caller hands back to the main thread.
class StockSurveyPass
{
public:
    using Read = std::function<QuoteReader::Result(const QString &address)>;

    // The survey window as the pass sees it; the calls come from the pass's thread.
    struct Display {
        std::function<void(const QString &title, const QString &reason, const QString &value)> show;
        std::function<void()> clearValue;
        std::function<bool()> isVisible;
    };

    // How the open window is watched: every `intervalMs`, at most `checks` times (about 300 s).
    struct Watch {
        int intervalMs = 100;
        int checks = 3001;
    };

    // `askedTitle` empty: the periodic pass, which stores every text read. Otherwise the pass on
    // selection, for which that entry is due whatever its value and which stores only what it
    // shows.
    StockSurveyPass(QVariantList list, QString askedTitle, Read read, Display display, Watch watch,
                    const std::atomic<bool> &stop);

    // The list with the values stored. Ends early, keeping what was stored, once `stop` is set.
    QVariantList run();

private:
    // The index of the first due entry, or -1 when the scan found none (or was stopped).
    int scan();
    bool watchWindow(); // true when the window is still open at the end of the watch
    void logFailure(const QVariantMap &entry, const QString &problem);

    QVariantList mList;
    QString mAskedTitle;
    Read mRead;
    Display mDisplay;
    Watch mWatch;
    const std::atomic<bool> &mStop;
    QSet<QString> mLogged; // addresses whose failure this pass has logged
};
