#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

// One family of answers: rows computed from the query rather than found in a list (a
// calculation, a web keyword, a system action, an open window). Asked on the answer engine's
// worker, one query at a time, never on the main thread.
class AnswerFamily
{
public:
    virtual ~AnswerFamily() = default;

    // The preference that switches the family on or off (docs/answers.md).
    virtual QString preferenceKey() const = 0;
    // Whatever must be ready before query can be answered (a module loaded, definitions read):
    // not counted in the time limit, as it is done once.
    virtual void prepare(const QString &query) { Q_UNUSED(query); }
    // The rows for query, each an answer record (AnswerRecord); empty when the query means
    // nothing to the family. Should give up once timeLimitMs have passed: a later answer is
    // dropped anyway.
    virtual QList<QVariantMap> answer(const QString &query, int timeLimitMs) = 0;
};
