#include "AnswerFamilies.h"

#include "AnswerEngine.h"
#include "CalculatorAnswers.h"
#include "SharedPreferences.h"
#include "SystemActionAnswers.h"
#include "WebKeywordAnswers.h"
#include "WindowAnswers.h"

AnswerFamilies::AnswerFamilies(AnswerEngine &engine,
                               std::shared_ptr<const SessionActions> sessionActions)
    : mEngine(engine)
    , mSessionActions(std::move(sessionActions))
{
    // The calculator first: "2+3*4" is asked of it on every keystroke.
    auto calculator = std::make_unique<CalculatorAnswers>();
    mCalculator = calculator.get();
    engine.addFamily(std::move(calculator));
    auto webKeywords = std::make_unique<WebKeywordAnswers>();
    mWebKeywords = webKeywords.get();
    engine.addFamily(std::move(webKeywords));
    engine.addFamily(std::make_unique<SystemActionAnswers>(mSessionActions));
    engine.addFamily(std::make_unique<WindowAnswers>());
}

QStringList AnswerFamilies::preferenceKeys()
{
    return {CalculatorAnswers::PreferenceKey, WebKeywordAnswers::PreferenceKey,
            SystemActionAnswers::PreferenceKey, WindowAnswers::PreferenceKey};
}

void AnswerFamilies::applyPreferences(const SharedPreferences &preferences)
{
    for (const QString &key : preferenceKeys())
        mEngine.setEnabled(key, preferences.intValue(key).value_or(1) != 0);
    mCalculator->setFetchRates(preferences.intValue(CalculatorAnswers::FetchRatesKey).value_or(0)
                               == 1);
    mWebKeywords->setSites(WebKeywordSites::fromPreference(
        preferences.value(WebKeywordSites::PreferenceKey), QLocale()));
}
