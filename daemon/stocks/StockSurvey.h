#pragma once

#include "QuoteReader.h"
#include "StockSurveyPass.h"

#include <QObject>
#include <QVariantList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QThread;
class StockSurveyWindow;

// Runs the survey passes on a thread of their own, one at a time: a pass asked for while one
// runs ends the running one at its next check (as hiding the window does) and starts after it,
// from the list the first one handed back, so that neither pass's stored values are lost. Owns
// the survey window, which only the main thread touches; it is built when a pass first shows it
// (an agent that only starts must not load the widgets' style and fonts for it).
class StockSurvey : public QObject
{
    Q_OBJECT
public:
    struct Environment {
        // The agent's stock list as it stands when a pass starts.
        std::function<QVariantList()> list;
        QuoteReader::Limits limits;
        StockSurveyPass::Watch watch;
        // Reads through the web module within `limits` when empty; tests and benchmarks may give
        // their own.
        StockSurveyPass::Read read;
        // The web module's file when not the usual one (tests).
        QString webModule;
        // Where the pass saves its values at its end, on its own thread (the sync of the write
        // would hold up the main thread); the path as the pass starts. Empty: not saved.
        std::function<QString()> file;
    };

    explicit StockSurvey(Environment environment, QObject *parent = nullptr);
    ~StockSurvey() override;

    // surveyStocksThread: a pass, the periodic one without a title, the one on selection with
    // the selected entry's. Nothing starts while the list is empty.
    void surveyStocks(const QString &title = {});
    bool isRunning() const { return bool(mThread); }
    int finishedPasses() const { return mFinishedPasses; }
    // Built now when not yet.
    StockSurveyWindow &window();
    // Null until a pass first showed it.
    const StockSurveyWindow *builtWindow() const { return mWindow.get(); }

    // Quitting: the running pass ends at its next check; none starts after this.
    void requestStop();
    bool waitUntilStopped(int ms);

signals:
    // replaceStockSurvey: a pass ended, its values already saved; `ended` is the list it started
    // from (`started`) with the values it stored.
    void passFinished(const QVariantList &started, const QVariantList &ended);

private:
    void startPass(const QString &title);
    void passEnded();
    void hideWindow();
    // On the pass's thread.
    static void saveValues(const QString &path, const QVariantList &started,
                           const QVariantList &ended);
    void showOnMainThread(quint64 pass, const QString &title, const QString &reason,
                          const QString &value);

    Environment mEnvironment;
    std::unique_ptr<StockSurveyWindow> mWindow;
    std::unique_ptr<QThread> mThread;
    std::atomic<bool> mStopPass = false;
    // What the pass's display reads from its thread: whether the window it showed is open.
    std::atomic<bool> mWindowOpen = false;
    std::optional<QString> mPending;
    QString mRunningTitle;
    QVariantList mStarted;
    QVariantList mEnded;
    quint64 mPass = 0;
    int mFinishedPasses = 0;
    bool mStopping = false;
};
