#include "QOR_StringUtils.h"

#include "DesktopEntryReader.h"
#include "KorvaleLog.h"
#include "SharedPreferences.h"
#include "TextMatching.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

const QString QOR_StringUtils::ProgramTable = QStringLiteral("Korvale");
const QString QOR_StringUtils::LibraryTable = QStringLiteral("QOR_StringUtils");
const QString QOR_StringUtils::DateLocalePreference = QStringLiteral("QOR_StringUtils_dateLocale");

namespace {

const QString TranslationsFolder = QStringLiteral(":/i18n");
const QString TranslationsPrefix = QStringLiteral("korvale");
const QString SourceLanguage = QStringLiteral("en");

// The installed tables belong to the main thread; the override may be read from any thread.
struct TranslationState {
    std::mutex mutex;
    std::shared_ptr<const QTranslator> override;
    QString overrideLanguage;
    std::vector<std::unique_ptr<QTranslator>> installed;
    std::atomic<bool> missingTableLogged = false;
};

TranslationState &translations()
{
    static TranslationState state;
    return state;
}

std::unique_ptr<QTranslator> loadTable(const QLocale &locale)
{
    auto table = std::make_unique<QTranslator>();
    if (!table->load(locale, TranslationsPrefix, QStringLiteral("_"), TranslationsFolder))
        return nullptr;
    return table;
}

struct Formatters {
    LocaleDateFormatter date;
    LocaleDateFormatter shortTimeSecondsDateDefaultLocale;
    LocaleDateFormatter shortTimeDate;
    LocaleDateFormatter shortTimeSecondsDate;
    LocaleDateFormatter shortDate;
    LocaleDateFormatter shortTime;
    LocaleDateFormatter shortTimeSeconds;
    LocaleDateFormatter mediumTimeDate;
    LocaleDateFormatter mediumTimeSecondsDate;
    LocaleDateFormatter mediumDate;
    LocaleDateFormatter mediumTime;
    LocaleDateFormatter longTimeDate;
    LocaleDateFormatter longTimeSecondsDate;
    LocaleDateFormatter longDate;
    LocaleDateFormatter longTime;
};

// The formatters are replaced whole, never changed: a thread formatting a date keeps the set it
// took even while another thread rebuilds them.
struct LocaleState {
    std::mutex mutex;
    std::optional<QLocale> heldLocale;
    std::shared_ptr<const Formatters> formatters;
};

LocaleState &localeState()
{
    static LocaleState state;
    return state;
}

void initLanguageLocaleLocked(LocaleState &state)
{
    if (state.heldLocale)
        return;
    QString identifier = SharedPreferences::standard()
                             .stringValue(QOR_StringUtils::DateLocalePreference)
                             .value_or(QString());
    bool fromTable = false;
    if (identifier.isEmpty()) {
        static const QString tableKey =
            QStringLiteral(QT_TRANSLATE_NOOP("QOR_StringUtils", "StringUtils_LanguageLocal"));
        identifier =
            QOR_StringUtils::getLocalizedStringForKeyTable(tableKey, QOR_StringUtils::LibraryTable);
        if (identifier == tableKey)
            return;
        fromTable = true;
    }
    const QLocale locale(identifier);
    // The table names only its language; when that is the user's own, the user's regional
    // formats (en_GB, fr_CA) stay in force.
    if (fromTable && locale.language() == QLocale().language())
        return;
    state.heldLocale = locale;
}

std::shared_ptr<const Formatters> buildFormatters(const std::optional<QLocale> &held)
{
    using Style = LocaleDateFormatter::Style;
    const QLocale locale = held.value_or(QLocale());
    auto set = std::make_shared<Formatters>();
    set->date = LocaleDateFormatter(locale, Style::Long, Style::Long);
    set->shortTimeSecondsDateDefaultLocale =
        LocaleDateFormatter(QLocale(), Style::Short, Style::Medium);
    set->shortTimeDate = LocaleDateFormatter(locale, Style::Short, Style::Short);
    set->shortTimeSecondsDate = LocaleDateFormatter(locale, Style::Short, Style::Medium);
    set->shortDate = LocaleDateFormatter(locale, Style::Short, Style::None);
    set->shortTime = LocaleDateFormatter(locale, Style::None, Style::Short);
    set->shortTimeSeconds = LocaleDateFormatter(locale, Style::None, Style::Medium);
    set->mediumTimeDate = LocaleDateFormatter(locale, Style::Medium, Style::Short);
    set->mediumTimeSecondsDate = LocaleDateFormatter(locale, Style::Medium, Style::Medium);
    set->mediumDate = LocaleDateFormatter(locale, Style::Medium, Style::None);
    set->mediumTime = LocaleDateFormatter(locale, Style::None, Style::Medium);
    set->longTimeDate = LocaleDateFormatter(locale, Style::Long, Style::Medium);
    set->longTimeSecondsDate = LocaleDateFormatter(locale, Style::Long, Style::Medium);
    set->longDate = LocaleDateFormatter(locale, Style::Long, Style::None);
    set->longTime = LocaleDateFormatter(locale, Style::None, Style::Long);
    return set;
}

std::shared_ptr<const Formatters> formatters()
{
    LocaleState &state = localeState();
    std::lock_guard lock(state.mutex);
    if (!state.formatters) {
        initLanguageLocaleLocked(state);
        state.formatters = buildFormatters(state.heldLocale);
    }
    return state.formatters;
}

QString formatWith(LocaleDateFormatter Formatters::*member, const QDateTime &date)
{
    return ((*formatters()).*member).toString(date);
}

QString formatOrQuestionMark(LocaleDateFormatter Formatters::*member, const QDateTime &date)
{
    if (!date.isValid())
        return QStringLiteral("?");
    return formatWith(member, date);
}

QString displayName(const QFileInfo &info)
{
    if (info.isRoot())
        return QStringLiteral("/");
    if (const std::optional<QString> name = DesktopEntryReader::nameAtPath(info.filePath()))
        return *name;
    return info.fileName();
}

} // namespace

QString QOR_StringUtils::installTranslations(const QLocale &locale)
{
    removeTranslations();
    std::unique_ptr<QTranslator> table = loadTable(locale);
    if (!table)
        table = loadTable(QLocale(SourceLanguage));
    if (!table || !QCoreApplication::installTranslator(table.get()))
        return {};
    const QString language = table->language();
    TranslationState &state = translations();
    {
        std::lock_guard lock(state.mutex);
        state.installed.push_back(std::move(table));
        // Qt's own texts (standard buttons, file dialogs) in the same language.
        auto qtTable = std::make_unique<QTranslator>();
        if (qtTable->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))
            && QCoreApplication::installTranslator(qtTable.get())) {
            state.installed.push_back(std::move(qtTable));
        }
    }
    resetLanguageLocale();
    return language;
}

void QOR_StringUtils::removeTranslations()
{
    TranslationState &state = translations();
    std::lock_guard lock(state.mutex);
    for (const auto &table : state.installed)
        QCoreApplication::removeTranslator(table.get());
    state.installed.clear();
}

QStringList QOR_StringUtils::availableLanguages()
{
    QStringList languages;
    const QStringList files =
        QDir(TranslationsFolder)
            .entryList({TranslationsPrefix + QStringLiteral("_*.qm")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        languages << file.mid(TranslationsPrefix.size() + 1).chopped(3);
    return languages;
}

bool QOR_StringUtils::setLocalizationLanguage(const QString &language)
{
    std::shared_ptr<const QTranslator> table;
    if (!language.isEmpty()) {
        table = loadTable(QLocale(language));
        if (!table)
            return false;
    }
    TranslationState &state = translations();
    std::lock_guard lock(state.mutex);
    state.override = std::move(table);
    state.overrideLanguage = language;
    return true;
}

QString QOR_StringUtils::getLocalizationLanguage()
{
    TranslationState &state = translations();
    std::lock_guard lock(state.mutex);
    return state.overrideLanguage;
}

QString QOR_StringUtils::getLocalizedStringForKey(const QString &key)
{
    return getLocalizedStringForKeyTable(key, ProgramTable);
}

QString QOR_StringUtils::getLocalizedFieldLabel(const QString &key)
{
    QString text = getLocalizedStringForKey(key);
    while (!text.isEmpty()
           && (text.back() == QLatin1Char(':') || text.back().isSpace()
               || text.back() == QChar(0x00A0) || text.back() == QChar(0x202F)))
        text.chop(1);
    QString format = getLocalizedStringForKey(QStringLiteral("FieldLabelFormat"));
    if (!format.contains(QLatin1String("%1")))
        format = QStringLiteral("%1:");
    return format.arg(text);
}

QString QOR_StringUtils::getLocalizedStringForKeyTable(const QString &key, const QString &table)
{
    const QByteArray context = (table.isEmpty() ? ProgramTable : table).toUtf8();
    const QByteArray source = key.toUtf8();
    std::shared_ptr<const QTranslator> override;
    {
        TranslationState &state = translations();
        std::lock_guard lock(state.mutex);
        override = state.override;
    }
    if (override) {
        const QString text = override->translate(context.constData(), source.constData());
        if (!text.isEmpty() && text != key)
            return text;
    }
    return QCoreApplication::translate(context.constData(), source.constData());
}

QString QOR_StringUtils::getLocalizedStringForCount(const QString &key, int count)
{
    const QByteArray context = ProgramTable.toUtf8();
    const QByteArray source = key.toUtf8();
    std::shared_ptr<const QTranslator> override;
    {
        TranslationState &state = translations();
        std::lock_guard lock(state.mutex);
        override = state.override;
    }
    if (override) {
        QString text = override->translate(context.constData(), source.constData(), nullptr, count);
        if (!text.isEmpty() && text != key)
            return text.replace(QLatin1String("%n"), QString::number(count));
    }
    return QCoreApplication::translate(context.constData(), source.constData(), nullptr, count);
}

void QOR_StringUtils::checkLocalizedStringsOK()
{
    TranslationState &state = translations();
    if (state.missingTableLogged.load(std::memory_order_relaxed))
        return;
    // Any key of the table will do, as long as it is one: a key the table lacks would always
    // come back unchanged and report a present table as missing.
    static const QString probe = QStringLiteral("StringUtils_%d KB");
    if (getLocalizedStringForKeyTable(probe, LibraryTable) != probe)
        return;
    if (!state.missingTableLogged.exchange(true)) {
        KorvaleLog::line(QStringLiteral("QOR_StringUtils.strings must be added in the project "
                                        "(located in QORCocoaFramework)"));
    }
}

void QOR_StringUtils::forgetLocalizedStringsCheck()
{
    translations().missingTableLogged = false;
}

void QOR_StringUtils::setLanguageLocaleString(const QString &identifier)
{
    SharedPreferences &preferences = SharedPreferences::standard();
    const std::optional<QString> stored = preferences.stringValue(DateLocalePreference);
    if (!identifier.isEmpty()) {
        if (stored == identifier)
            return;
        preferences.setValue(DateLocalePreference, identifier);
    } else {
        if (!stored)
            return;
        preferences.removeValue(DateLocalePreference);
    }
    preferences.synchronize();
    resetLanguageLocale();
}

QString QOR_StringUtils::getLanguageLocaleString()
{
    return SharedPreferences::standard().stringValue(DateLocalePreference).value_or(QString());
}

void QOR_StringUtils::initLanguageLocale()
{
    LocaleState &state = localeState();
    std::lock_guard lock(state.mutex);
    initLanguageLocaleLocked(state);
}

void QOR_StringUtils::resetLanguageLocale()
{
    LocaleState &state = localeState();
    std::lock_guard lock(state.mutex);
    state.heldLocale.reset();
    initLanguageLocaleLocked(state);
    state.formatters = buildFormatters(state.heldLocale);
}

QLocale QOR_StringUtils::getLanguageLocale()
{
    return formatters()->shortDate.locale();
}

LocaleDateFormatter QOR_StringUtils::getDateFormatter()
{
    return formatters()->date;
}

LocaleDateFormatter QOR_StringUtils::getShortTimeDateFormatter()
{
    return formatters()->shortTimeDate;
}

LocaleDateFormatter QOR_StringUtils::getShortTimeSecondsDateFormatter()
{
    return formatters()->shortTimeSecondsDate;
}

LocaleDateFormatter QOR_StringUtils::getShortDateFormatter()
{
    return formatters()->shortDate;
}

LocaleDateFormatter QOR_StringUtils::getShortTimeFormatter()
{
    return formatters()->shortTime;
}

QString QOR_StringUtils::getDate(const QDateTime &date)
{
    return formatWith(&Formatters::date, date);
}

QString QOR_StringUtils::getShortDate(const QDateTime &date)
{
    return formatWith(&Formatters::shortDate, date);
}

QString QOR_StringUtils::getShortTime(const QDateTime &date)
{
    return formatWith(&Formatters::shortTime, date);
}

QString QOR_StringUtils::getShortTimeSeconds(const QDateTime &date)
{
    return formatWith(&Formatters::shortTimeSeconds, date);
}

QString QOR_StringUtils::getShortTimeDate(const QDateTime &date)
{
    return formatOrQuestionMark(&Formatters::shortTimeDate, date);
}

QString QOR_StringUtils::getShortTimeSecondsDate(const QDateTime &date)
{
    return formatOrQuestionMark(&Formatters::shortTimeSecondsDate, date);
}

QString QOR_StringUtils::getShortTimeSecondsDateDefaultLocale(const QDateTime &date)
{
    return formatWith(&Formatters::shortTimeSecondsDateDefaultLocale, date);
}

QString QOR_StringUtils::getMediumDate(const QDateTime &date)
{
    return formatWith(&Formatters::mediumDate, date);
}

QString QOR_StringUtils::getMediumTime(const QDateTime &date)
{
    return formatWith(&Formatters::mediumTime, date);
}

QString QOR_StringUtils::getMediumTimeDate(const QDateTime &date)
{
    return formatWith(&Formatters::mediumTimeDate, date);
}

QString QOR_StringUtils::getMediumTimeSecondsDate(const QDateTime &date)
{
    return formatWith(&Formatters::mediumTimeSecondsDate, date);
}

QString QOR_StringUtils::getLongDate(const QDateTime &date)
{
    return formatWith(&Formatters::longDate, date);
}

QString QOR_StringUtils::getLongTime(const QDateTime &date)
{
    return formatWith(&Formatters::longTime, date);
}

QString QOR_StringUtils::getLongTimeDate(const QDateTime &date)
{
    return formatWith(&Formatters::longTimeDate, date);
}

QString QOR_StringUtils::getLongTimeSecondsDate(const QDateTime &date)
{
    return formatWith(&Formatters::longTimeSecondsDate, date);
}

QString QOR_StringUtils::localizedNameAtPath(const QString &path)
{
    if (path.isNull())
        return {};
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return info.fileName();
    return displayName(info);
}

QString QOR_StringUtils::localizedPath(const QString &path)
{
    if (path.isEmpty())
        return path;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!QFileInfo::exists(absolute))
        return path;
    QStringList shown;
    QString walked;
    for (const QString &component : absolute.split(u'/', Qt::SkipEmptyParts)) {
        walked += u'/' + component;
        shown << displayName(QFileInfo(walked));
    }
    return u'/' + shown.join(u'/');
}

qint64 QOR_StringUtils::getKBValue()
{
    return 1000;
}

QString QOR_StringUtils::getSizeBytes(qint64 bytes)
{
    checkLocalizedStringsOK();
    // The magnitude of the most negative count does not fit in qint64.
    const quint64 x = bytes < 0 ? 0 - quint64(bytes) : quint64(bytes);
    const quint64 k = quint64(getKBValue());
    auto wholeText = [](const char *key, quint64 count) {
        return getLocalizedStringForKeyTable(QString::fromLatin1(key), LibraryTable).arg(count);
    };
    auto unitText = [x](const char *key, quint64 unit) {
        const float quotient = float(x) / float(unit);
        return getLocalizedStringForKeyTable(QString::fromLatin1(key), LibraryTable)
            .arg(double(quotient), 0, 'f', 1);
    };
    QString text;
    if (x <= 1)
        text = wholeText(QT_TRANSLATE_NOOP("QOR_StringUtils", "StringUtils_%d Byte"), x);
    else if (x < k)
        text = wholeText(QT_TRANSLATE_NOOP("QOR_StringUtils", "StringUtils_%d Bytes"), x);
    else if (x < k * k)
        text = unitText(QT_TRANSLATE_NOOP("QOR_StringUtils", "StringUtils_%d KB"), k);
    else if (x < k * k * k)
        text = unitText(QT_TRANSLATE_NOOP("QOR_StringUtils", "StringUtils_%d MB"), k * k);
    else if (x < k * k * k * k)
        text = unitText(QT_TRANSLATE_NOOP("QOR_StringUtils", "StringUtils_%d GB"), k * k * k);
    else
        text = unitText(QT_TRANSLATE_NOOP("QOR_StringUtils", "StringUtils_%d TB"), k * k * k * k);
    return bytes < 0 ? u'-' + text : text;
}

QString QOR_StringUtils::replaceInStringOldStringNewString(const QString &text,
                                                           const QString &oldString,
                                                           const QString &newString)
{
    return TextMatching::replaceInString(text, oldString, newString);
}
