#pragma once

#include <QString>

// What the calculator module (libkorvale-calc.so, built on libqalculate) offers the calculator's
// answers, which load it at the first query that may be a calculation: an agent that never
// computes never maps libqalculate and the libraries it brings (GMP, MPFR, libxml2, libcurl,
// ICU). Built with the programs, from the same sources: C++ types cross.

struct CalculationRequest {
    QString expression;
    // The user's locale writes "3,5": the comma is the decimal sign, ";" separates arguments.
    bool decimalComma = false;
    int timeLimitMs = 50;
};

struct CalculationResult {
    enum class Outcome {
        Answered,
        NotACalculation, // words the calculator does not know, an error, nothing computed
        TimedOut, // cut at the time limit
    };
    Outcome outcome = Outcome::NotACalculation;
    QString result;
    // The expression as the calculator read it, "12 kilometers → mi".
    QString understood;
    // When exchange rates were used: the time of the rates file on disk (seconds since 1970).
    qint64 ratesTime = 0;
};

struct CalculatorFunctions {
    // Reads the definitions and the exchange rates on disk; the first call takes a few hundred
    // milliseconds, the later ones nothing. Never fetches rates.
    void (*prepare)();
    // Calls from one thread at a time (the calculator is one object per process).
    CalculationResult (*calculate)(const CalculationRequest &request);
    // Downloads the exchange rates and reads them, within timeoutSeconds; only when the user
    // allowed it. False when they could not be fetched (the old ones stay).
    bool (*fetchRates)(int timeoutSeconds);
};

#define KORVALE_CALC_MODULE_FILE "libkorvale-calc.so"
#define KORVALE_CALC_MODULE_ENTRY "korvaleCalcModule"
using CalculatorEntry = const CalculatorFunctions *(*)();
