#include "CalculatorInterface.h"

#include <libqalculate/qalculate.h>

#include <QRegularExpression>
#include <QStringList>

#include <mutex>

namespace {

std::mutex gMutex;

void prepare()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Locale-free: the caller says which decimal sign the user writes.
        new Calculator(true);
        // The rates files on disk, whatever their age; fetching them is the user's choice.
        CALCULATOR->loadExchangeRates();
        CALCULATOR->loadGlobalDefinitions();
        CALCULATOR->setExchangeRatesWarningEnabled(false);
    });
}

bool isKnownWord(const std::string &word)
{
    // Words that join an expression rather than name a value.
    static const char *const joining[] = {"to", "of", "mod", "rem", "and", "or", "xor", "not"};
    for (const char *known : joining)
        if (word == known)
            return true;
    if (CALCULATOR->getActiveExpressionItem(word))
        return true;
    // A prefixed unit: "km", "MB", "GiB".
    for (std::size_t split = 1; split < word.size() && split <= 2; ++split)
        if (CALCULATOR->getPrefix(word.substr(0, split))
            && CALCULATOR->getActiveUnit(word.substr(split)))
            return true;
    return false;
}

// Only words the calculator knows: "Firefox 3" would otherwise read as farads times femtobytes.
bool readsAsCalculation(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("(?<![\\w.])[^\\W\\d_]\\w*"));
    for (auto it = word.globalMatch(text); it.hasNext();)
        if (!isKnownWord(it.next().captured().toStdString()))
            return false;
    return true;
}

// The ways of asking that people type and libqalculate reads otherwise.
QString rewritten(QString text)
{
    // "3 ft in cm": a conversion, not feet times inches times centimetres.
    static const QRegularExpression in(QStringLiteral("^(.*\\S)\\s+in\\s+(\\S+)$"));
    text.replace(in, QStringLiteral("\\1 to \\2"));
    // "20 % of 150"
    static const QRegularExpression percentOf(QStringLiteral("^(.+?)\\s*%\\s*of\\s+(.+)$"));
    text.replace(percentOf, QStringLiteral("(\\1)% * (\\2)"));
    return text;
}

QString withoutSpaces(QString text)
{
    text.remove(QLatin1Char(' '));
    return text;
}

CalculationResult calculate(const CalculationRequest &request)
{
    const std::lock_guard lock(gMutex);
    prepare();
    CalculationResult answer;
    const QString text = rewritten(request.expression.trimmed());
    if (!readsAsCalculation(text))
        return answer;

    if (request.decimalComma)
        CALCULATOR->useDecimalComma();
    else
        CALCULATOR->useDecimalPoint();
    EvaluationOptions evaluation;
    evaluation.parse_options.unknowns_enabled = false;
    evaluation.mixed_units_conversion = MIXED_UNITS_CONVERSION_NONE;
    PrintOptions print;
    print.use_unicode_signs = true;
    print.interval_display = INTERVAL_DISPLAY_SIGNIFICANT_DIGITS;
    if (request.decimalComma) {
        print.decimalpoint_sign = ",";
        print.comma_sign = ";";
    }

    while (CALCULATOR->message())
        CALCULATOR->nextMessage();
    CALCULATOR->resetExchangeRatesUsed();
    std::string parsed;
    const std::string expression =
        CALCULATOR->unlocalizeExpression(text.toStdString(), evaluation.parse_options);
    const std::string printed =
        CALCULATOR->calculateAndPrint(expression, request.timeLimitMs, evaluation, print, &parsed);
    if (CALCULATOR->aborted() || printed.find("timed out") != std::string::npos) {
        answer.outcome = CalculationResult::Outcome::TimedOut;
        return answer;
    }
    for (CalculatorMessage *message = CALCULATOR->message(); message;
         message = CALCULATOR->nextMessage()) {
        if (message->type() == MESSAGE_ERROR)
            return answer;
    }

    answer.result = QString::fromStdString(printed);
    answer.understood = QString::fromStdString(parsed);
    static const QRegularExpression to(QStringLiteral("\\s+to\\s+(\\S.*)$"));
    const QRegularExpressionMatch conversion = to.match(text);
    if (conversion.hasMatch())
        answer.understood += QStringLiteral(" → ") + conversion.captured(1);
    // "2026" or "x+1" answers with itself: nothing was computed.
    const QString result = withoutSpaces(answer.result);
    if (answer.result.isEmpty() || result == withoutSpaces(text)
        || (!conversion.hasMatch() && result == withoutSpaces(answer.understood)))
        return answer;
    if (CALCULATOR->exchangeRatesUsed() > 0)
        answer.ratesTime = qint64(CALCULATOR->getExchangeRatesTime());
    answer.outcome = CalculationResult::Outcome::Answered;
    return answer;
}

bool fetchRates(int timeoutSeconds)
{
    const std::lock_guard lock(gMutex);
    prepare();
    if (!CALCULATOR->canFetch() || !CALCULATOR->fetchExchangeRates(timeoutSeconds))
        return false;
    return CALCULATOR->loadExchangeRates();
}

const CalculatorFunctions functions = {prepare, calculate, fetchRates};

} // namespace

extern "C" __attribute__((visibility("default"))) const CalculatorFunctions *korvaleCalcModule()
{
    return &functions;
}
