#pragma once

#include <QString>
#include <QStringList>

#include "platform/SessionActions.h"

#include <memory>

class AnswerEngine;
class CalculatorAnswers;
class SharedPreferences;
class WebKeywordAnswers;

// The agent's answer families, put together, and their settings in the preferences: each
// family's switch (on unless set to 0; the manager's "Answers" group writes them), whether
// exchange rates may be fetched (off unless set to 1) and the web keywords' list.
class AnswerFamilies
{
public:
    // Adds every family to engine, which keeps them.
    explicit AnswerFamilies(AnswerEngine &engine,
                            std::shared_ptr<const SessionActions> sessionActions =
                                std::make_shared<const SessionActions>());

    static QStringList preferenceKeys();
    void applyPreferences(const SharedPreferences &preferences);
    // The session's services the system actions are asked of.
    std::shared_ptr<const SessionActions> sessionActions() const { return mSessionActions; }

private:
    AnswerEngine &mEngine;
    CalculatorAnswers *mCalculator;
    WebKeywordAnswers *mWebKeywords;
    std::shared_ptr<const SessionActions> mSessionActions;
};
