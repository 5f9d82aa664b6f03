#include "ContactRecords.h"

#include "ItemRecord.h"
#include "OtherDataRecords.h"
#include "QOR_StringUtils.h"

#include <QRegularExpression>

namespace {

// Types that say how a value is used rather than whose it is: a label only when nothing better
// is there.
bool isQualifierType(const QString &type)
{
    static const QStringList qualifiers{QStringLiteral("PREF"),   QStringLiteral("INTERNET"),
                                        QStringLiteral("X400"),   QStringLiteral("VOICE"),
                                        QStringLiteral("DOM"),    QStringLiteral("INTL"),
                                        QStringLiteral("POSTAL"), QStringLiteral("PARCEL")};
    return qualifiers.contains(type) || type.startsWith(QLatin1String("X-"));
}

// Apple writes its standard labels as "_$!<Mobile>!$_".
QString appleLabelKey(const QString &label)
{
    static const QRegularExpression standard(QStringLiteral("^_\\$!<(.*)>!\\$_$"));
    const QRegularExpressionMatch match = standard.match(label);
    if (!match.hasMatch())
        return label;
    const QString name = match.captured(1).toUpper();
    if (name == QLatin1String("MOBILE"))
        return QStringLiteral("CELL");
    if (name == QLatin1String("HOMEFAX"))
        return QStringLiteral("HOME FAX");
    if (name == QLatin1String("WORKFAX"))
        return QStringLiteral("WORK FAX");
    if (name == QLatin1String("OTHERFAX"))
        return QStringLiteral("FAX");
    return name;
}

void appendLine(QString &text, const QString &line)
{
    if (line.isEmpty())
        return;
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    text += line;
}

QString joinNonEmpty(const QStringList &parts, const QString &separator)
{
    QStringList kept;
    for (const QString &part : parts) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            kept.append(trimmed);
    }
    return kept.join(separator);
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The multi-value text of every property of that name, in the card's order.
QString multiValueText(const VCard &card, const QString &name,
                       QString (*valueOf)(const VCardProperty &))
{
    QString text;
    for (const VCardProperty *property : card.all(name)) {
        const QString value = valueOf(*property);
        if (value.isEmpty())
            continue;
        appendLine(text,
                   ContactRecords::labelledLine(ContactRecords::rawLabel(card, *property), value));
    }
    return text;
}

QString phoneValue(const VCardProperty &property)
{
    QString value = property.value().trimmed();
    if (value.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        value = value.mid(4);
    return value;
}

QString emailValue(const VCardProperty &property)
{
    QString value = property.value().trimmed();
    if (value.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        value = value.mid(7);
    return value;
}

QString addressValue(const VCardProperty &property)
{
    return ContactRecords::postalAddress(property.components());
}

QString textOf(const VCard &card, const QString &name)
{
    const VCardProperty *property = card.first(name);
    return property ? property->value().trimmed() : QString();
}

} // namespace

QStringList ContactRecords::knownLabelKeys()
{
    return {KORVALE_KEY("HOME"),   KORVALE_KEY("WORK"),     KORVALE_KEY("CELL"),
            KORVALE_KEY("FAX"),    KORVALE_KEY("HOME FAX"), KORVALE_KEY("WORK FAX"),
            KORVALE_KEY("PAGER"),  KORVALE_KEY("MAIN"),     KORVALE_KEY("OTHER"),
            KORVALE_KEY("VOICE"),  KORVALE_KEY("PREF"),     KORVALE_KEY("CAR"),
            KORVALE_KEY("IPHONE"), KORVALE_KEY("VIDEO"),    KORVALE_KEY("TEXT"),
            KORVALE_KEY("ISDN"),   KORVALE_KEY("MSG"),      KORVALE_KEY("SCHOOL")};
}

QString ContactRecords::rawLabel(const VCard &card, const VCardProperty &property)
{
    const QString groupLabel = card.groupLabel(property.group).trimmed();
    if (!groupLabel.isEmpty())
        return appleLabelKey(groupLabel);
    const QStringList types = property.types();
    QStringList telling;
    for (const QString &type : types) {
        if (!isQualifierType(type) && !telling.contains(type))
            telling.append(type);
    }
    if (telling.contains(QLatin1String("FAX"))) {
        if (telling.contains(QLatin1String("HOME")))
            return QStringLiteral("HOME FAX");
        if (telling.contains(QLatin1String("WORK")))
            return QStringLiteral("WORK FAX");
    }
    if (!telling.isEmpty())
        return telling.first();
    if (types.contains(QLatin1String("VOICE")))
        return QStringLiteral("VOICE");
    if (types.contains(QLatin1String("PREF")))
        return QStringLiteral("PREF");
    return {};
}

QString ContactRecords::labelledLine(const QString &label, const QString &value)
{
    if (label.isEmpty())
        return value;
    return QStringLiteral("%1\t%2").arg(QOR_StringUtils::getLocalizedStringForKey(label), value);
}

QString ContactRecords::countryLine(const QString &country)
{
    const QString trimmed = country.trimmed();
    if (trimmed.size() == 2 && trimmed.at(0).isLetter() && trimmed.at(1).isLetter()) {
        const QString code = trimmed.toLower();
        return code == QLatin1String("fr") ? QString() : code;
    }
    const QString folded = trimmed.toLower();
    if (folded == QLatin1String("france") || folded == QStringLiteral("république française")
        || folded == QLatin1String("republique francaise"))
        return {};
    return trimmed;
}

QString ContactRecords::postalAddress(const QStringList &components)
{
    // post office box; extended address; street; locality; region; postal code; country
    QString lines = joinNonEmpty({components.value(0), components.value(1), components.value(2)},
                                 QStringLiteral("\n"));
    appendLine(lines,
               joinNonEmpty({components.value(5), components.value(3)}, QStringLiteral(" ")));
    appendLine(lines, countryLine(components.value(6)));
    return lines;
}

QVariantMap ContactRecords::contactRecord(const VCard &card)
{
    QString first;
    QString last;
    if (const VCardProperty *name = card.first(QStringLiteral("N"))) {
        const QStringList parts = name->components();
        last = parts.value(0).trimmed();
        first = parts.value(1).trimmed();
    }
    QString name;
    if (!first.isEmpty() && !last.isEmpty())
        name = QStringLiteral("%1 %2").arg(first, last);
    else
        name = first.isEmpty() ? last : first;
    if (name.isEmpty())
        name = textOf(card, QStringLiteral("FN"));

    QString title = name;
    QString text = name;
    const QString nickname = textOf(card, QStringLiteral("NICKNAME"));
    if (!nickname.isEmpty()) {
        title = name.isEmpty() ? quoted(nickname) : name + QLatin1Char(' ') + quoted(nickname);
        text = name.isEmpty() ? quoted(nickname) : name + QLatin1Char('\n') + quoted(nickname);
    }
    if (const VCardProperty *org = card.first(QStringLiteral("ORG"))) {
        const QStringList parts = org->components();
        QString organisation = parts.value(0).trimmed();
        if (organisation.isEmpty())
            organisation = joinNonEmpty(parts, QStringLiteral(", "));
        if (!organisation.isEmpty()) {
            appendLine(text, organisation);
            title = title.isEmpty() ? organisation : title + QLatin1Char(' ') + organisation;
        }
    }
    const QString addresses = multiValueText(card, QStringLiteral("ADR"), addressValue);
    const QString phones = multiValueText(card, QStringLiteral("TEL"), phoneValue);
    const QString emails = multiValueText(card, QStringLiteral("EMAIL"), emailValue);
    appendLine(text, addresses);
    appendLine(text, phones);
    appendLine(text, emails);
    appendLine(text, textOf(card, QStringLiteral("NOTE")));
    if (text.isEmpty())
        return {};

    const VCardProperty *uid = card.first(QStringLiteral("UID"));
    return {{ItemRecord::KeyKind, OtherDataRecords::ContactKind},
            {ItemRecord::KeyTitle, title},
            {ItemRecord::KeyText, text},
            {ItemRecord::KeyUID, uid ? uid->value().trimmed() : QString()},
            {ItemRecord::KeyPhone, phones},
            {ItemRecord::KeyEmail, emails}};
}

ContactRecords::Picture ContactRecords::picture(const VCard &card)
{
    for (const VCardProperty *photo : card.all(QStringLiteral("PHOTO"))) {
        Picture found;
        found.bytes = photo->binaryValue();
        if (!found.bytes.isEmpty())
            return found;
        const QString value = photo->rawValue.trimmed();
        if (value.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
            found.uri = value;
            return found;
        }
    }
    return {};
}
