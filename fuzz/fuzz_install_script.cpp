// qor-installer reads "installscript.txt" from its folder, a file that may be edited by hand and
// saved in any of the old encodings: the reader must keep only lines the run can take and never
// let a header name reach outside the resource folder.
#include "InstallScript.h"

#include <cstddef>
#include <cstdint>

namespace {

void checkSteps(const std::optional<QStringList> &steps)
{
    if (!steps)
        return;
    for (const QString &step : *steps) {
        if (step.size() <= 5 || step.startsWith(QLatin1Char('/'))
            || step.contains(QLatin1Char('\n')) || step.endsWith(QLatin1Char('\r')))
            __builtin_trap();
    }
}

void checkName(const QString &name)
{
    if (name.contains(QLatin1Char('/')) || name == QLatin1String("..") || name.contains(QChar()))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Without the string tables every description is a bare key, and Qt warns about each.
    static const QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    (void)quiet;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (InstallScriptReader::decodeMacRoman(bytes).size() != bytes.size())
        __builtin_trap();
    const InstallScript script = InstallScriptReader::readScript(bytes);
    checkSteps(script.installSteps);
    checkSteps(script.uninstallSteps);
    checkSteps(script.uninstallIgnoreSettingsSteps);
    checkName(script.iconName);
    checkName(script.bundleName);
    checkName(script.newsName);
    if (script.installSteps)
        InstallScriptReader::stepDescriptions(*script.installSteps, script.appName, true);
    return 0;
}
