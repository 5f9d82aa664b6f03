#include "CalculatorAnswers.h"
#include "AnswerEngine.h"
#include "AnswerRecord.h"
#include "QOR_StringUtils.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Row {
    QString result;
    QString understood;
    QString copied;
};

std::optional<Row> calculate(CalculatorAnswers &calculator, const QString &query)
{
    const QList<QVariantMap> rows = calculator.answer(query, AnswerEngine::TimeLimitMs);
    if (rows.isEmpty())
        return std::nullopt;
    EXPECT_EQ(rows.size(), 1);
    const QVariantMap &row = rows.first();
    EXPECT_EQ(ItemRecord::kind(row), ItemRecord::KindAnswer);
    return Row{row.value(ItemRecord::KeyTitle).toString(),
               row.value(ItemRecord::KeyText).toString(),
               row.value(AnswerRecord::KeyCopy).toString()};
}

QString result(CalculatorAnswers &calculator, const QString &query)
{
    const auto row = calculate(calculator, query);
    return row ? row->result : QStringLiteral("(none)");
}

} // namespace

TEST(CalculatorAnswers, ComputesArithmeticUnitsAndBasesAndLeavesWordsAlone)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    CalculatorAnswers calculator(QLocale("en_US"));
    // Not even loaded for a query without a digit: an agent that never computes never maps it.
    EXPECT_EQ(result(calculator, "firefox"), "(none)");
    EXPECT_FALSE(CalculatorAnswers::isModuleLoaded());
    calculator.prepare("2+3*4");
    ASSERT_TRUE(CalculatorAnswers::isModuleLoaded()) << "libkorvale-calc.so did not load";

    const auto sum = calculate(calculator, "2+3*4");
    ASSERT_TRUE(sum);
    EXPECT_EQ(sum->result, "14");
    EXPECT_EQ(sum->copied, "14");
    EXPECT_EQ(sum->understood, "2 + (3 ⋅ 4)");
    EXPECT_TRUE(result(calculator, "sqrt(2)").startsWith("1.41421"));
    EXPECT_EQ(result(calculator, "20 % of 150"), "30");
    EXPECT_EQ(result(calculator, "0x1f to dec"), "31");
    EXPECT_EQ(result(calculator, "3 ft in cm"), "91.44 cm");
    const auto miles = calculate(calculator, "12 km to mi");
    ASSERT_TRUE(miles);
    EXPECT_TRUE(miles->result.startsWith("7.456")) << miles->result.toStdString();
    EXPECT_TRUE(miles->result.endsWith(" mi"));
    EXPECT_TRUE(miles->understood.endsWith("→ mi")) << miles->understood.toStdString();

    // Words it does not know, or nothing computed: no answer rather than a strange one.
    EXPECT_EQ(result(calculator, "Firefox 3"), "(none)");
    EXPECT_EQ(result(calculator, "5 apples"), "(none)");
    EXPECT_EQ(result(calculator, "2026"), "(none)");
    EXPECT_EQ(result(calculator, "1+"), "(none)");
    EXPECT_EQ(
        result(calculator,
               QString(CalculatorAnswers::MaximumLength, QLatin1Char('1')) + QStringLiteral("+1")),
        "(none)");
}

TEST(CalculatorAnswers, ReadsAndWritesTheDecimalCommaOfAFrenchSession)
{
    CalculatorAnswers french(QLocale("fr_FR"));
    EXPECT_EQ(result(french, "3,5 × 2"), "7");
    EXPECT_EQ(result(french, "1,5 + 1,25"), "2,75");
    CalculatorAnswers english(QLocale("en_US"));
    EXPECT_EQ(result(english, "1.5 + 1.25"), "2.75");
}

TEST(CalculatorAnswers, CurrenciesUseTheRatesOnDiskAndSayTheirDate)
{
    QOR_StringUtils::installTranslations(QLocale("en"));
    CalculatorAnswers calculator(QLocale("en_US"));
    const auto converted = calculate(calculator, "100 EUR in USD");
    ASSERT_TRUE(converted);
    EXPECT_TRUE(converted->result.startsWith("$")) << converted->result.toStdString();
    EXPECT_TRUE(converted->understood.contains("rates of")) << converted->understood.toStdString();
}

// Rates are downloaded only when the user allowed it, and only once those used are over a day
// old: on the next question, outside its time limit, and not again for an hour after a failure.
TEST(CalculatorAnswers, ExchangeRatesAreFetchedOnlyWhenAllowedAndOld)
{
    static qint64 ratesTime = 0;
    static int fetches = 0;
    static bool fetchSucceeds = false;
    static const CalculatorFunctions fake = {[] {},
                                             [](const CalculationRequest &request) {
                                                 CalculationResult result;
                                                 result.outcome =
                                                     CalculationResult::Outcome::Answered;
                                                 result.result = QStringLiteral("$108.00");
                                                 result.understood = request.expression;
                                                 result.ratesTime = ratesTime;
                                                 return result;
                                             },
                                             [](int) {
                                                 ++fetches;
                                                 if (fetchSucceeds)
                                                     ratesTime = QDateTime::currentSecsSinceEpoch();
                                                 return fetchSucceeds;
                                             }};
    qint64 now = QDateTime::currentSecsSinceEpoch();
    CalculatorAnswers calculator(QLocale("en_US"), &fake, [&now] { return now; });
    auto ask = [&calculator](const QString &query) {
        calculator.prepare(query);
        return calculator.answer(query, AnswerEngine::TimeLimitMs).size();
    };
    ratesTime = now - 3 * 24 * 3600;

    // Not allowed: old rates are used and said, never fetched.
    EXPECT_EQ(ask("100 EUR in USD"), 1);
    EXPECT_EQ(ask("200 EUR in USD"), 1);
    EXPECT_EQ(fetches, 0);

    // Allowed: the answer with old rates asks for new ones, fetched before the next answer.
    calculator.setFetchRates(true);
    ask("100 EUR in USD");
    EXPECT_EQ(fetches, 0);
    ask("100 EUR in GBP");
    EXPECT_EQ(fetches, 1);
    // The download failed: not tried again within the hour, tried after it.
    ask("100 EUR in JPY");
    ask("100 EUR in CHF");
    EXPECT_EQ(fetches, 1);
    now += CalculatorAnswers::RetryAfterSeconds + 1;
    fetchSucceeds = true;
    ask("100 EUR in USD");
    ask("100 EUR in USD");
    EXPECT_EQ(fetches, 2);
    // Fresh rates: nothing more to fetch.
    ask("100 EUR in USD");
    ask("100 EUR in USD");
    EXPECT_EQ(fetches, 2);
}

TEST(CalculatorAnswers, ACalculationPastTheTimeLimitIsCut)
{
    CalculatorAnswers calculator(QLocale("en_US"));
    calculator.prepare("1");
    // The exact factorial of ten million takes far longer than any limit of the field.
    EXPECT_EQ(calculator.calculate("(10^7)!", 20).outcome, CalculationResult::Outcome::TimedOut);
    EXPECT_EQ(calculator.answer("(10^7)!", 20), QList<QVariantMap>());
    // And the calculator answers again at once afterwards.
    EXPECT_EQ(result(calculator, "6*7"), "42");
}
