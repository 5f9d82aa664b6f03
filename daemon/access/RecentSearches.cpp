#include "RecentSearches.h"

#include "SharedPreferences.h"

const QString RecentSearches::PreferenceKey = QStringLiteral("RecentSearchesStrings");

QStringList RecentSearches::recorded(const QStringList &previous, const QString &text)
{
    QStringList searches{text};
    searches.append(previous);
    while (searches.size() > MaximumCount)
        searches.removeLast();
    // Only now the duplicate goes: a list that was full loses its oldest entry even when the
    // text was already in it, as the field has always done.
    const qsizetype again = searches.indexOf(text, 1);
    if (again > 0)
        searches.removeAt(again);
    return searches;
}

QStringList RecentSearches::read(const SharedPreferences &preferences)
{
    QStringList searches;
    const QVariantList stored = preferences.listValue(PreferenceKey).value_or(QVariantList());
    for (const QVariant &entry : stored) {
        if (entry.typeId() == QMetaType::QString && !entry.toString().isEmpty())
            searches.append(entry.toString());
        if (searches.size() == MaximumCount)
            break;
    }
    return searches;
}

void RecentSearches::store(SharedPreferences &preferences, const QStringList &searches)
{
    preferences.setValue(PreferenceKey, QVariant(searches).toList());
    preferences.synchronize();
}
