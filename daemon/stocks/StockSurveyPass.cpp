#include "StockSurveyPass.h"

#include "ItemRecord.h"
#include "KorvaleLog.h"
#include "StockQuote.h"
#include "StockRules.h"

#include <QThread>

using namespace ItemRecord;

StockSurveyPass::StockSurveyPass(QVariantList list, QString askedTitle, Read read, Display display,
                                 Watch watch, const std::atomic<bool> &stop)
    : mList(std::move(list))
    , mAskedTitle(std::move(askedTitle))
    , mRead(std::move(read))
    , mDisplay(std::move(display))
    , mWatch(watch)
    , mStop(stop)
{
}

QVariantList StockSurveyPass::run()
{
    while (!mStop) {
        if (scan() < 0 || !watchWindow())
            break;
        mDisplay.clearValue();
    }
    return mList;
}

int StockSurveyPass::scan()
{
    for (int index = 0; index < mList.size(); ++index) {
        if (mStop)
            return -1;
        QVariantMap entry = mList.at(index).toMap();
        const QString title = string(entry, KeyTitle);
        const QString address = string(entry, KeyStockURL);
        if (title.isEmpty() || address.isEmpty())
            continue;
        const QuoteReader::Result read = mRead(address);
        if (mStop)
            return -1;
        if (!read.bytes) {
            logFailure(entry, read.problem);
            continue;
        }
        const StockQuote::Parsed parsed = StockQuote::parse(*read.bytes);
        if (!parsed.reading) {
            logFailure(entry, parsed.problem);
            continue;
        }
        const StockQuote::Reading &reading = *parsed.reading;
        const bool askedFor = !mAskedTitle.isEmpty() && title == mAskedTitle;
        const std::optional<QString> reason = StockRules::dueReason(entry, reading.value, askedFor);
        if (!reason) {
            if (mAskedTitle.isEmpty()) {
                entry.insert(KeyValLast, reading.text);
                mList[index] = entry;
            }
            continue;
        }
        entry.insert(KeyValLast, reading.text);
        entry.insert(KeyValLastShown, reading.shown);
        mList[index] = entry;
        mDisplay.show(title, *reason, reading.shown);
        return index;
    }
    return -1;
}

bool StockSurveyPass::watchWindow()
{
    for (int check = 0; check < mWatch.checks; ++check) {
        if (mStop || !mDisplay.isVisible())
            return false;
        QThread::msleep(static_cast<unsigned long>(mWatch.intervalMs));
    }
    return !mStop && mDisplay.isVisible();
}

void StockSurveyPass::logFailure(const QVariantMap &entry, const QString &problem)
{
    const QString address = string(entry, KeyStockURL);
    if (mStop || mLogged.contains(address))
        return;
    mLogged.insert(address);
    KorvaleLog::line(QStringLiteral("Stock quote of %1 not read from %2: %3")
                         .arg(string(entry, KeyTitle), address, problem));
}
