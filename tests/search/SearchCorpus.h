#pragma once

#include "SearchSources.h"

#include <QRandomGenerator>
#include <QStringList>

// Generated lists of many shapes: shared words so that queries hit often, accents, missing
// fields, abbreviations, records repeated across and within lists, recent items and
// menu-opened records.
class SearchCorpus
{
public:
    explicit SearchCorpus(quint32 seed) : mRandom(seed) {}

    SearchSources sources(int recordsPerList);
    // A query drawn from the corpus's words and abbreviations, in many shapes.
    QString query(const SearchSources &sources);

private:
    QString word();
    QString words(int count);
    QVariantMap record(int kind);
    int below(int n) { return int(mRandom.bounded(n)); }

    QRandomGenerator mRandom;
};
