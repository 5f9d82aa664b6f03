#pragma once

#include "AnswerFamily.h"
#include "CalculatorInterface.h"

#include <QLocale>
#include <QString>

// Arithmetic, units and currencies through the calculator module, loaded at the first query
// that may be a calculation (one with a digit in it). Return copies the result.
class CalculatorAnswers : public AnswerFamily
{
public:
    static inline const QString PreferenceKey = QStringLiteral("AnswersCalculator");
    // Longer than anyone types into the field: not worth the calculator's time.
    static constexpr int MaximumLength = 200;

    // Tests may name another module file and another locale than the user's.
    explicit CalculatorAnswers(QLocale locale = QLocale(),
                               QString moduleFile = QStringLiteral(KORVALE_CALC_MODULE_FILE));

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
};
