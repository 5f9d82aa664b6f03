#pragma once

#include "SearchSources.h"

#include <QString>
#include <QVariantList>

// The search rule written out as plainly as it reads, record by record, with no preparation:
// the engine must return exactly this, in this order.
namespace ReferenceSearch {
QVariantList run(const SearchSources &sources, int typeForSearch, const QString &query);
}
