#include "StockSurvey.h"

#include "KorvaleLog.h"
#include "ListFile.h"
#include "StockSurveyValues.h"
#include "StockSurveyWindow.h"

#include <QDeadlineTimer>
#include <QThread>

StockSurvey::StockSurvey(Environment environment, QObject *parent)
    : QObject(parent)
    , mEnvironment(std::move(environment))
{
}

StockSurveyWindow &StockSurvey::window()
{
    if (!mWindow) {
        mWindow = std::make_unique<StockSurveyWindow>();
        connect(mWindow.get(), &StockSurveyWindow::hidden, this, [this] { mWindowOpen = false; });
    }
    return *mWindow;
}

void StockSurvey::hideWindow()
{
    if (mWindow)
        mWindow->hide();
}

StockSurvey::~StockSurvey()
{
    requestStop();
    if (mThread)
        mThread->wait();
    // Its last hide reaches the flag while the flag is still there.
    mWindow.reset();
}

void StockSurvey::requestStop()
{
    mStopping = true;
    mStopPass = true;
    mPending.reset();
}

bool StockSurvey::waitUntilStopped(int ms)
{
    return !mThread || mThread->wait(QDeadlineTimer(ms));
}

void StockSurvey::surveyStocks(const QString &title)
{
    if (mStopping)
        return;
    if (mThread) {
        // The same entry asked again while its pass runs: that pass already answers it.
        if (!mStopPass && !title.isEmpty() && title == mRunningTitle)
            return;
        mPending = title;
        mStopPass = true;
        hideWindow();
        return;
    }
    hideWindow();
    startPass(title);
}

void StockSurvey::startPass(const QString &title)
{
    const QVariantList list = mEnvironment.list();
    if (list.isEmpty())
        return;
    mStarted = list;
    mRunningTitle = title;
    mStopPass = false;
    mWindowOpen = false;
    const quint64 pass = ++mPass;

    StockSurveyPass::Display display;
    display.show = [this, pass](const QString &shownTitle, const QString &reason,
                                const QString &value) {
        mWindowOpen = true;
        QMetaObject::invokeMethod(
            this, [=, this] { showOnMainThread(pass, shownTitle, reason, value); },
            Qt::QueuedConnection);
    };
    display.clearValue = [this, pass] {
        QMetaObject::invokeMethod(
            this,
            [this, pass] {
                if (pass == mPass && !mStopPass && mWindow)
                    mWindow->clearValue();
            },
            Qt::QueuedConnection);
    };
    display.isVisible = [this] { return mWindowOpen.load(); };

    const QString file = mEnvironment.file ? mEnvironment.file() : QString();
    mThread.reset(QThread::create([this, list, title, display, file] {
        QuoteReader::Limits limits = mEnvironment.limits;
        std::unique_ptr<QuoteReader> reader;
        StockSurveyPass::Read read = mEnvironment.read;
        if (!read) {
            // The module's session is made and ended on this thread.
            reader = std::make_unique<QuoteReader>(limits, mStopPass, mEnvironment.webModule);
            if (!reader->isAvailable()) {
                // Every address would fail alike: one line says why the pass read nothing.
                KorvaleLog::line(QStringLiteral("Stock quotes not read in this pass: the web "
                                                "module is not available"));
                mEnded = list;
                return;
            }
            read = [&reader](const QString &address) { return reader->read(address); };
        }
        StockSurveyPass pass(list, title, read, display, mEnvironment.watch, mStopPass);
        mEnded = pass.run();
        if (!file.isEmpty())
            saveValues(file, list, mEnded);
    }));
    connect(mThread.get(), &QThread::finished, this, &StockSurvey::passEnded);
    mThread->start(QThread::LowPriority);
}

void StockSurvey::saveValues(const QString &path, const QVariantList &started,
                             const QVariantList &ended)
{
    if (ended == started)
        return;
    // The values go into the entries as the file holds them now, so an edit saved meanwhile
    // stays; the merge of the save covers one made between this read and the write.
    ListFile file(path, &ListMerge::byTitle);
    QVariantList list = file.read();
    if (list.isEmpty())
        list = started;
    if (StockSurveyValues::apply(list, started, ended))
        file.save(list);
}

void StockSurvey::showOnMainThread(quint64 pass, const QString &title, const QString &reason,
                                   const QString &value)
{
    // A pass told to end while this waited in the queue shows nothing more.
    if (pass != mPass || mStopPass)
        return;
    window().showSurvey(title, reason, value);
}

void StockSurvey::passEnded()
{
    mThread->wait();
    mThread.reset();
    ++mFinishedPasses;
    const QVariantList started = std::exchange(mStarted, {});
    const QVariantList ended = std::exchange(mEnded, {});
    emit passFinished(started, ended);
    if (mPending && !mStopping) {
        const QString title = *std::exchange(mPending, std::nullopt);
        startPass(title);
    }
}
