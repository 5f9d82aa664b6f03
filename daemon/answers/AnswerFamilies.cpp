#include "AnswerFamilies.h"

#include "AnswerEngine.h"
#include "CalculatorAnswers.h"
#include "SharedPreferences.h"
#include "WebKeywordAnswers.h"

AnswerFamilies::AnswerFamilies(AnswerEngine &engine)
    : mEngine(engine)
{
    // The calculator first: "2+3*4" is asked of it on every keystroke.
    engine.addFamily(std::make_unique<CalculatorAnswers>());
    auto webKeywords = std::make_unique<WebKeywordAnswers>();
    mWebKeywords = webKeywords.get();
    engine.addFamily(std::move(webKeywords));
}

QStringList AnswerFamilies::preferenceKeys()
{
    return {CalculatorAnswers::PreferenceKey, WebKeywordAnswers::PreferenceKey};
}

void AnswerFamilies::applyPreferences(const SharedPreferences &preferences)
{
    for (const QString &key : preferenceKeys())
        mEngine.setEnabled(key, preferences.intValue(key).value_or(1) != 0);
    mWebKeywords->setSites(WebKeywordAnswers::sitesFrom(
        preferences.value(WebKeywordAnswers::ListPreferenceKey), QLocale()));
}
