#include "CalculatorAnswers.h"

#include "AnswerRecord.h"
#include "QOR_StringUtils.h"
#include "SuiteModule.h"

#include <QDateTime>

#include <atomic>
#include <mutex>

const QString CalculatorAnswers::PreferenceKey = QStringLiteral("AnswersCalculator");
const QString CalculatorAnswers::FetchRatesKey = QStringLiteral("AnswersFetchExchangeRates");

namespace {

std::atomic<bool> gLoaded{false};

const CalculatorFunctions *loadModule(const QString &moduleFile)
{
    static std::mutex mutex;
    static QHash<QString, const CalculatorFunctions *> loaded;
    const std::lock_guard lock(mutex);
    const auto found = loaded.constFind(moduleFile);
    if (found != loaded.cend())
        return *found;
    const auto entry = reinterpret_cast<CalculatorEntry>(
        SuiteModule::entry(moduleFile, KORVALE_CALC_MODULE_ENTRY));
    const CalculatorFunctions *functions = entry ? entry() : nullptr;
    loaded.insert(moduleFile, functions);
    if (functions)
        gLoaded = true;
    return functions;
}

} // namespace

CalculatorAnswers::CalculatorAnswers(QLocale locale, QString moduleFile)
    : mLocale(std::move(locale))
    , mModuleFile(std::move(moduleFile))
    , mNow([] { return QDateTime::currentSecsSinceEpoch(); })
{
}

CalculatorAnswers::CalculatorAnswers(QLocale locale, const CalculatorFunctions *functions,
                                     std::function<qint64()> now)
    : mLocale(std::move(locale))
    , mFunctions(functions)
    , mNow(std::move(now))
{
}

bool CalculatorAnswers::isModuleLoaded()
{
    return gLoaded;
}

bool CalculatorAnswers::mayBeCalculation(const QString &query)
{
    if (query.size() > MaximumLength)
        return false;
    for (const QChar c : query)
        if (c.isDigit())
            return true;
    return false;
}

const CalculatorFunctions *CalculatorAnswers::module()
{
    return mFunctions ? mFunctions : loadModule(mModuleFile);
}

void CalculatorAnswers::prepare(const QString &query)
{
    if (!mayBeCalculation(query))
        return;
    const CalculatorFunctions *functions = module();
    if (!functions)
        return;
    functions->prepare();
    // Outside the time limit: the found items never wait for it, the next answer may.
    if (mFetchWanted && mFetchRates) {
        mFetchWanted = false;
        mLastFetchAttempt = mNow();
        const bool fetched = functions->fetchRates(FetchTimeoutSeconds);
        qInfo("Calculator: exchange rates %s", fetched ? "fetched" : "could not be fetched");
    }
}

CalculationResult CalculatorAnswers::calculate(const QString &query, int timeLimitMs)
{
    if (!mayBeCalculation(query))
        return {};
    const CalculatorFunctions *functions = module();
    if (!functions)
        return {};
    CalculationRequest request;
    request.expression = query;
    request.decimalComma = mLocale.decimalPoint() == QLatin1String(",");
    request.timeLimitMs = timeLimitMs;
    return functions->calculate(request);
}

QList<QVariantMap> CalculatorAnswers::answer(const QString &query, int timeLimitMs)
{
    const CalculationResult result = calculate(query, timeLimitMs);
    if (result.outcome != CalculationResult::Outcome::Answered)
        return {};
    QString understood = result.understood;
    const qint64 now = mNow();
    if (result.ratesTime > 0 && mFetchRates && now - result.ratesTime > RatesMaximumAgeSeconds
        && (mLastFetchAttempt == 0 || now - mLastFetchAttempt > RetryAfterSeconds))
        mFetchWanted = true;
    if (result.ratesTime > 0) {
        // Rates are never fetched behind the user's back: say how old the ones used are.
        understood += QStringLiteral(" · ")
            + QOR_StringUtils::getLocalizedStringForKey(KORVALE_KEY("AnswerExchangeRatesOf"))
                  .arg(QOR_StringUtils::getShortDate(
                      QDateTime::fromSecsSinceEpoch(result.ratesTime)));
    }
    QVariantMap row = AnswerRecord::make(PreferenceKey, result.result, understood);
    row.insert(AnswerRecord::KeyCopy, result.result);
    return {row};
}
