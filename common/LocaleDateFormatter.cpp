#include "LocaleDateFormatter.h"

#include <vector>

namespace {

// A pattern cut into runs of one field letter and runs of literal text (quoted text included),
// so that fields can be dropped or changed without touching the literals.
struct PatternPart {
    QString text;
    bool field = false;
};

std::vector<PatternPart> splitPattern(const QString &pattern)
{
    std::vector<PatternPart> parts;
    auto appendLiteral = [&parts](const QString &text) {
        if (!parts.empty() && !parts.back().field)
            parts.back().text += text;
        else
            parts.push_back({text, false});
    };
    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        if (c == u'\'') {
            qsizetype end = i + 1;
            while (end < pattern.size()) {
                if (pattern.at(end) == u'\'') {
                    if (end + 1 < pattern.size() && pattern.at(end + 1) == u'\'') {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            appendLiteral(pattern.mid(i, end + 1 - i));
            i = end + 1;
        } else if (c.unicode() < 128 && c.isLetter()) {
            qsizetype end = i;
            while (end < pattern.size() && pattern.at(end) == c)
                ++end;
            parts.push_back({pattern.mid(i, end - i), true});
            i = end;
        } else {
            appendLiteral(QString(c));
            ++i;
        }
    }
    return parts;
}

QString joinPattern(const std::vector<PatternPart> &parts)
{
    QString pattern;
    for (const PatternPart &part : parts)
        pattern += part.text;
    return pattern;
}

bool isSeparatorOnly(const QString &literal, const QString &separators)
{
    for (const QChar c : literal) {
        if (!c.isSpace() && !separators.contains(c))
            return false;
    }
    return true;
}

// Drops the fields whose letter is `letter` and whose length is at least `minLength`, with the
// separators that tie them to the rest ("dddd, " or " (t)"), never a literal word.
QString withoutField(const QString &pattern, QChar letter, int minLength, const QString &separators)
{
    std::vector<PatternPart> parts = splitPattern(pattern);
    auto isSeparator = [&](size_t index) {
        return index < parts.size() && !parts[index].field
            && isSeparatorOnly(parts[index].text, separators);
    };
    auto hasFieldWithin = [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            if (parts[i].field && !parts[i].text.isEmpty())
                return true;
        }
        return false;
    };
    for (size_t i = 0; i < parts.size(); ++i) {
        PatternPart &part = parts[i];
        if (!part.field || part.text.at(0) != letter || part.text.size() < minLength)
            continue;
        part.text.clear();
        const bool first = !hasFieldWithin(0, i);
        const bool last = !hasFieldWithin(i + 1, parts.size());
        if (i > 0 && isSeparator(i - 1) && (last || first))
            parts[i - 1].text.clear();
        if (isSeparator(i + 1) && (!last || first || i == 0 || parts[i - 1].text.isEmpty()))
            parts[i + 1].text.clear();
    }
    return joinPattern(parts).trimmed();
}

QString withShortMonthName(const QString &pattern)
{
    std::vector<PatternPart> parts = splitPattern(pattern);
    for (PatternPart &part : parts) {
        if (part.field && part.text == QLatin1String("MMMM"))
            part.text = QStringLiteral("MMM");
    }
    return joinPattern(parts);
}

} // namespace

LocaleDateFormatter::LocaleDateFormatter(const QLocale &locale, Style dateStyle, Style timeStyle)
    : mLocale(locale)
    , mDateStyle(dateStyle)
    , mTimeStyle(timeStyle)
{
    const QString date = dateFormat(locale, dateStyle);
    const QString time = timeFormat(locale, timeStyle);
    mFormat = date.isEmpty() || time.isEmpty() ? date + time : date + u' ' + time;
}

QString LocaleDateFormatter::toString(const QDateTime &dateTime) const
{
    if (!dateTime.isValid() || mFormat.isEmpty())
        return {};
    return mLocale.toString(dateTime.toLocalTime(), mFormat);
}

QString LocaleDateFormatter::dateFormat(const QLocale &locale, Style style)
{
    switch (style) {
    case Style::None:
        return {};
    case Style::Short:
        return locale.dateFormat(QLocale::ShortFormat);
    case Style::Medium:
        return withShortMonthName(
            withoutField(locale.dateFormat(QLocale::LongFormat), u'd', 3, QStringLiteral(",،")));
    case Style::Long:
        return locale.dateFormat(QLocale::LongFormat);
    }
    return {};
}

QString LocaleDateFormatter::timeFormat(const QLocale &locale, Style style)
{
    switch (style) {
    case Style::None:
        return {};
    case Style::Short:
        return locale.timeFormat(QLocale::ShortFormat);
    case Style::Medium:
        return withoutField(locale.timeFormat(QLocale::LongFormat), u't', 1, QStringLiteral("()"));
    case Style::Long:
        return locale.timeFormat(QLocale::LongFormat);
    }
    return {};
}
