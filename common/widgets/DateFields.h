#pragma once

#include "LocaleDateFormatter.h"

class QDateTimeEdit;

// Date and time fields written as every other date of the suite: the pattern and the month names
// of one of the shared formatters (QOR_StringUtils), not the field's own default.
namespace DateFields {

void useFormatter(QDateTimeEdit *field, const LocaleDateFormatter &formatter);

} // namespace DateFields
