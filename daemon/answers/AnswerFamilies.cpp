#include "AnswerFamilies.h"

#include "AnswerEngine.h"
#include "CalculatorAnswers.h"
#include "SharedPreferences.h"

namespace AnswerFamilies {

void addAll(AnswerEngine &engine)
{
    engine.addFamily(std::make_unique<CalculatorAnswers>());
}

QStringList preferenceKeys()
{
    return {CalculatorAnswers::PreferenceKey};
}

void applyPreferences(AnswerEngine &engine, const SharedPreferences &preferences)
{
    for (const QString &key : preferenceKeys())
        engine.setEnabled(key, preferences.intValue(key).value_or(1) != 0);
}

} // namespace AnswerFamilies
