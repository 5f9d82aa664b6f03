#pragma once

#include <QString>
#include <QStringList>

class AnswerEngine;
class SharedPreferences;
class WebKeywordAnswers;

// The agent's answer families, put together, and their settings in the preferences: each
// family's switch (on unless set to 0; the manager's "Answers" group writes them) and the web
// keywords' list.
class AnswerFamilies
{
public:
    // Adds every family to engine, which keeps them.
    explicit AnswerFamilies(AnswerEngine &engine);

    static QStringList preferenceKeys();
    void applyPreferences(const SharedPreferences &preferences);

private:
    AnswerEngine &mEngine;
    WebKeywordAnswers *mWebKeywords;
};
