#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Renders dates in one of four styles for the date part and the time part (none, short, medium,
// long) with a locale's own formats. QLocale knows only short and long, so the medium styles are
// derived from the long ones: the medium date is the long date without its weekday and with the
// abbreviated month name; the medium time is the long time without its time zone.
class LocaleDateFormatter
{
public:
    enum class Style { None = 0, Short = 1, Medium = 2, Long = 3 };

    LocaleDateFormatter() = default;
    LocaleDateFormatter(const QLocale &locale, Style dateStyle, Style timeStyle);

    QLocale locale() const { return mLocale; }
    Style dateStyle() const { return mDateStyle; }
    Style timeStyle() const { return mTimeStyle; }
    // The pattern in QDateTime's notation, usable by QDateTimeEdit::setDisplayFormat as well.
    QString format() const { return mFormat; }

    // The local date and time of the moment; empty for an invalid one.
    QString toString(const QDateTime &dateTime) const;

    static QString dateFormat(const QLocale &locale, Style style);
    static QString timeFormat(const QLocale &locale, Style style);

private:
    QLocale mLocale;
    Style mDateStyle = Style::None;
    Style mTimeStyle = Style::None;
    QString mFormat;
};
