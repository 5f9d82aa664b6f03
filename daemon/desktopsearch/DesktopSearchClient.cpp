#include "DesktopSearchClient.h"

#include "AnswerRecord.h"

QVariantMap DesktopSearchClient::row(const QString &title, const QString &description,
                                     const QString &id) const
{
    // The second line names the application, as the desktop's own search labels its groups.
    const QString label = description.isEmpty()
        ? mSource.name
        : mSource.name + QStringLiteral(" \u00b7 ") + description.simplified();
    QVariantMap row = AnswerRecord::make(mSource.key, title.simplified(), label);
    row.insert(AnswerRecord::KeyIcon, mSource.iconName);
    row.insert(AnswerRecord::KeyDesktopSource, mSource.key);
    row.insert(AnswerRecord::KeyDesktopResult, id);
    return row;
}
