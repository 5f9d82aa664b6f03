#include "InstallScript.h"

#include "BoundedFile.h"
#include "QOR_StringUtils.h"

#include <QStringDecoder>

#include <array>

namespace {

// The upper half of Mac OS Roman; Qt has no codec for it without ICU.
constexpr std::array<char16_t, 128> MacRomanHigh = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

bool isPlainFileName(const QString &name)
{
    // A NUL would end the name where the system reads it, naming another file.
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QChar::Null)
        && name != QLatin1String(".") && name != QLatin1String("..");
}

} // namespace

InstallScript InstallScriptReader::readScriptInFolder(const QString &resourceFolder)
{
    const QString path = resourceFolder + QLatin1Char('/') + FileName;
    const BoundedFile::Result read = BoundedFile::read(path, BoundedFile::Limit::InstallScript);
    BoundedFile::logFailure(path, read);
    if (!read.isRead())
        return {};
    return readScript(read.bytes);
}

QString InstallScriptReader::decodeMacRoman(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text.append(code < 0x80 ? QChar(code) : QChar(MacRomanHigh[code - 0x80]));
    }
    return text;
}

QString InstallScriptReader::decodeScript(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError() && !text.isEmpty())
        return text;
    // Every byte is a Mac OS Roman character, so this fails only on empty input; Latin 1 and
    // ASCII are then tried for the same reason as in the first-written reader, and give nothing.
    text = decodeMacRoman(bytes);
    if (!text.isEmpty())
        return text;
    text = QString::fromLatin1(bytes);
    if (!text.isEmpty())
        return text;
    return QString::fromLatin1(bytes);
}

QStringList InstallScriptReader::groupLines(const QString &group)
{
    QStringList lines = group.split(QLatin1Char('\n'));
    if (lines.size() < 2)
        lines = group.split(QLatin1Char('\r'));
    QStringList kept;
    for (QString line : std::as_const(lines)) {
        // A Windows line end leaves its "\r" behind, which would end up in the last argument.
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.size() > 5 && !line.startsWith(QLatin1Char('/')))
            kept.append(line);
    }
    return kept;
}

InstallScript InstallScriptReader::readScript(const QByteArray &bytes)
{
    InstallScript script;
    const QString text = decodeScript(bytes);
    if (text.isEmpty())
        return script;
    const QStringList groups = text.split(GroupSeparator);
    if (groups.size() < 2)
        return script;

    for (qsizetype index = 1; index < groups.size() && index <= 4; ++index) {
        const QStringList lines = groupLines(groups.at(index));
        switch (index) {
        case 1:
            for (const QString &line : lines) {
                const QStringList fields = line.split(QLatin1Char('\t'));
                if (fields.size() < 2)
                    continue;
                const QString &key = fields.at(0);
                const QString &value = fields.at(1);
                // Each names a file of the resource folder; a path could reach outside it.
                if (!isPlainFileName(value))
                    continue;
                if (key == QLatin1String("_appl"))
                    script.appName = value;
                else if (key == QLatin1String("_icon"))
                    script.iconName = value;
                else if (key == QLatin1String("_bundle"))
                    script.bundleName = value;
                else if (key == QLatin1String("_news"))
                    script.newsName = value;
            }
            break;
        case 2:
            script.installSteps = lines;
            break;
        case 3:
            script.uninstallSteps = lines;
            break;
        case 4:
            script.uninstallIgnoreSettingsSteps = lines;
            break;
        }
    }
    return script;
}

QString InstallScriptReader::stepDescriptions(const QStringList &steps, const QString &appName,
                                              bool installList)
{
    const auto text = [](const char *key) {
        return QOR_StringUtils::getLocalizedStringForKeyTable(QLatin1String(key), Table);
    };
    QString description = text(installList ? "InstallInfo" : "UninstallInfo").arg(appName);
    for (const QString &step : steps) {
        const QStringList fields = step.split(QLatin1Char('\t'));
        const QString argument = fields.value(1);
        const char *key = nullptr;
        if (step.startsWith(InstallScript::QuitTag))
            key = "QuitInfo";
        else if (step.startsWith(InstallScript::TrashTag)
                 || step.startsWith(InstallScript::TrashNoErrTag))
            key = "TrashInfo";
        else if (step.startsWith(InstallScript::CopyTag))
            key = "CopyInfo";
        else if (step.startsWith(InstallScript::LaunchTag))
            key = "LaunchInfo";
        if (key)
            description += QLatin1Char('\n') + text(key).arg(argument);
    }
    return description;
}
