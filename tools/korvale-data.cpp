// korvale-data: prints the suite's list and dictionary files as JSON and writes them from JSON.

#include "ArchiveFile.h"
#include "AtomicFile.h"
#include "CommonKorvaleClass.h"
#include "DataJson.h"
#include "SharedPreferences.h"
#include "ToolMessages.h"
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

using ToolMessages::localized;

void printError(const QString &text)
{
    ToolMessages::printError("korvale-data", text);
}

int usage()
{
    return ToolMessages::printUsage(localized("ToolDataUsage"));
}

// A bare name that is not in the current folder means a file of the data folder.
QString resolve(const QString &file)
{
    if (file.contains(QLatin1Char('/')) || QFileInfo::exists(file))
        return QFileInfo(file).absoluteFilePath();
    return CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(file);
}

int dump(const QString &file)
{
    const QString path = resolve(file);
    if (!QFileInfo::exists(path)) {
        printError(localized("ToolNoSuchFile").arg(path));
        return 1;
    }
    const ArchiveFile::Content content = ArchiveFile::readAny(path);
    if (!content.error.isEmpty()) {
        printError(localized("ToolDataUnreadable").arg(path, content.error));
        return 1;
    }
    const QVariant value = content.value.isValid() ? content.value : QVariant(QVariantList());
    const QByteArray json = DataJson::toJson(value);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

int load(const QString &file)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        printError(localized("ToolCannotReadInput"));
        return 1;
    }
    const DataJson::Parsed parsed = DataJson::fromJson(input.readAll());
    if (!parsed.error.isEmpty()) {
        printError(localized("ToolDataJsonError").arg(parsed.error));
        return 1;
    }
    const int type = parsed.value.typeId();
    if (type != QMetaType::QVariantList && type != QMetaType::QVariantMap) {
        printError(localized("ToolDataJsonShape"));
        return 1;
    }
    const QString path = resolve(file);
    ToolTermination::holdFromHere();
    // Whatever is there and cannot be read goes aside first, as before every other save.
    const ArchiveFile::Content existing = ArchiveFile::readAny(path);
    if (!existing.error.isEmpty()) {
        const QString aside = AtomicFile::keepAside(path);
        if (aside.isEmpty()) {
            printError(localized("ToolDataCannotKeepAside").arg(path, existing.error));
            return 1;
        }
        printError(localized("ToolDataKeptAside").arg(path, existing.error, aside));
    }
    if (!ArchiveFile::write(path, parsed.value)) {
        printError(localized("ToolDataNotWritten").arg(path));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    ToolTermination::install();
    QCoreApplication app(argc, argv);
    ToolMessages::install();
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && args[0] == QLatin1String("path")) {
        std::printf("%s\n",
                    qPrintable(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder()));
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("preferences")) {
        std::printf("%s\n", qPrintable(SharedPreferences::defaultPath()));
        return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("dump"))
        return dump(args[1]);
    if (args.size() == 2 && args[0] == QLatin1String("load"))
        return load(args[1]);
    return usage();
}
