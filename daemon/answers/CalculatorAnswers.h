#pragma once

#include "AnswerFamily.h"
#include "CalculatorInterface.h"

#include <QLocale>
#include <QString>

#include <atomic>
#include <functional>

// Arithmetic, units and currencies through the calculator module, loaded at the first query
// that may be a calculation (one with a digit in it). Return copies the result.
class CalculatorAnswers : public AnswerFamily
{
public:
    static const QString PreferenceKey;
    // Longer than anyone types into the field: not worth the calculator's time.
    static constexpr int MaximumLength = 200;

    // Whether the user lets the agent download exchange rates (off unless set to 1).
    static const QString FetchRatesKey;
    // Rates older than this are fetched again when allowed and used; a failed attempt waits.
    static constexpr qint64 RatesMaximumAgeSeconds = 24 * 3600;
    static constexpr qint64 RetryAfterSeconds = 3600;
    static constexpr int FetchTimeoutSeconds = 5;

    // Tests may name another module file and another locale than the user's.
    explicit CalculatorAnswers(QLocale locale = QLocale(),
                               QString moduleFile = QStringLiteral(KORVALE_CALC_MODULE_FILE));
    // Tests: these functions rather than a module's, and this clock (seconds since 1970).
    CalculatorAnswers(QLocale locale, const CalculatorFunctions *functions,
                      std::function<qint64()> now);

    // From the preferences, on the main thread; read on the worker.
    void setFetchRates(bool allowed) { mFetchRates = allowed; }

    QString preferenceKey() const override { return PreferenceKey; }
    void prepare(const QString &query) override;
    QList<QVariantMap> answer(const QString &query, int timeLimitMs) override;

    // The module's whole verdict, timed out included; NotACalculation without the module.
    CalculationResult calculate(const QString &query, int timeLimitMs);

    // Whether the module is loaded in this process (the idle agent's memory).
    static bool isModuleLoaded();

private:
    static bool mayBeCalculation(const QString &query);
    const CalculatorFunctions *module();

    QLocale mLocale;
    QString mModuleFile;
    const CalculatorFunctions *mFunctions = nullptr;
    std::function<qint64()> mNow;
    std::atomic<bool> mFetchRates{false};
    // Worker only: old rates were used, so the next question fetches them first.
    bool mFetchWanted = false;
    qint64 mLastFetchAttempt = 0;
};
