#include "DateFields.h"

#include <QDateTimeEdit>

void DateFields::useFormatter(QDateTimeEdit *field, const LocaleDateFormatter &formatter)
{
    if (!field)
        return;
    // The locale first: the field reads month and day names typed in through it.
    field->setLocale(formatter.locale());
    field->setDisplayFormat(formatter.format());
}
