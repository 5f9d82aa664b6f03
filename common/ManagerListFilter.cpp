#include "ManagerListFilter.h"

#include "ItemRecord.h"
#include "SearchTextFields.h"
#include "TextMatching.h"

#include <algorithm>

QList<int> ManagerListFilter::search(const QString &text, const QVariantList &records)
{
    return search(text, records, All, {});
}

QList<int> ManagerListFilter::search(const QString &text, const QVariantList &records,
                                     int activityChoice, const ActivityMap &activity)
{
    const std::optional<QueryWords> words = TextMatching::queryWords(text);
    QList<int> shown;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QVariantMap record = records.at(i).toMap();
        if (words && !words->match(SearchTextFields::managerFilterText(record)).matched)
            continue;
        if (activityChoice != All && !admits(activityChoice, activityLevel(record, activity)))
            continue;
        shown << int(i);
    }
    return shown;
}

ManagerListFilter::Activity ManagerListFilter::activityLevel(const QVariantMap &application,
                                                             const ActivityMap &activity)
{
    const QString name = SearchTextFields::withoutExtension(
        SearchTextFields::lastPathElement(ItemRecord::string(application, ItemRecord::KeyPath)));
    const auto days = activity.constFind(name);
    if (days == activity.constEnd())
        return None;
    if (*days < 8)
        return High;
    if (*days < 31)
        return Middle;
    if (*days < 181)
        return Low;
    return VeryLow;
}

bool ManagerListFilter::admits(int activityChoice, Activity level)
{
    if (activityChoice <= All || activityChoice > High)
        return true;
    if (activityChoice == None)
        return level == None;
    return level != None && level >= activityChoice;
}

QString ManagerListFilter::counterText(qsizetype shown, qsizetype total)
{
    if (shown < total)
        return QStringLiteral("%1 / %2").arg(shown).arg(total);
    return QString::number(total);
}

QList<int> ManagerListFilter::recordPositions(const QList<int> &shown,
                                              const QList<int> &selectedRows)
{
    QList<int> positions;
    for (const int row : selectedRows) {
        if (row >= 0 && row < shown.size())
            positions << shown.at(row);
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}
