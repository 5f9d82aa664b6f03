#include "StockSurveyValues.h"

#include "ItemRecord.h"

#include <QHash>

using namespace ItemRecord;

bool StockSurveyValues::apply(QVariantList &list, const QVariantList &started,
                              const QVariantList &ended)
{
    QHash<QString, QVariantMap> before;
    for (const QVariant &entry : started) {
        const QVariantMap record = entry.toMap();
        before.insert(string(record, KeyTitle), record);
    }
    bool changed = false;
    for (const QVariant &entry : ended) {
        const QVariantMap stored = entry.toMap();
        const QString title = string(stored, KeyTitle);
        const QVariantMap was = before.value(title);
        for (QVariant &current : list) {
            QVariantMap record = current.toMap();
            if (string(record, KeyTitle) != title)
                continue;
            bool edited = false;
            for (const QString &key : {KeyValLast, KeyValLastShown}) {
                if (stored.value(key) == was.value(key) || record.value(key) == stored.value(key))
                    continue;
                record.insert(key, stored.value(key));
                edited = true;
            }
            if (edited) {
                current = record;
                changed = true;
            }
            break;
        }
    }
    return changed;
}
