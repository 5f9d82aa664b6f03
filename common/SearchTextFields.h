#pragma once

#include "SearchText.h"

#include <QString>
#include <QVariantMap>

// The text each caller searches a record by, assembled from its fields: present, non-empty
// fields joined by single spaces, starting from the title (or nothing).
namespace SearchTextFields {

// The agent's search: title, keywords, text, the file name of the path and the last element of
// the address (both without extension); leading spaces removed.
QString forAgentSearch(const QVariantMap &record);

// The name forAgentSearch ends with (the address's, else the path's), or nothing.
QString lastAgentSearchName(const QVariantMap &record);

// The manager's list filter: title, keywords, text, the whole path and the whole address.
QString forManagerFilter(const QVariantMap &record);

inline SearchText agentSearchText(const QVariantMap &record)
{
    return SearchText(forAgentSearch(record));
}
inline SearchText managerFilterText(const QVariantMap &record)
{
    return SearchText(forManagerFilter(record));
}

// The last element of a path ("/" stays itself), ignoring trailing slashes.
QString lastPathElement(const QString &path);
// The name without its last extension; a leading dot (a hidden file) is not one.
QString withoutExtension(const QString &name);

} // namespace SearchTextFields
