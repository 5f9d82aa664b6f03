#pragma once

#include <QString>
#include <QStringList>

class AnswerEngine;
class SharedPreferences;

// The agent's answer families, put together, and their switches in the preferences (each on
// unless set to 0; the manager's "Answers" group writes them).
namespace AnswerFamilies {

void addAll(AnswerEngine &engine);
QStringList preferenceKeys();
void applyPreferences(AnswerEngine &engine, const SharedPreferences &preferences);

} // namespace AnswerFamilies
