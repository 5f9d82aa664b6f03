#include "SuiteModule.h"

#include "KorvaleLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QStringList>

QFunctionPointer SuiteModule::entry(const QString &fileName, const char *symbol)
{
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QString programs = QCoreApplication::applicationDirPath();
        folders << programs << programs + QStringLiteral("/../lib/korvale");
    }
#ifdef KORVALE_MODULE_DIR
    folders << QStringLiteral(KORVALE_MODULE_DIR);
#endif
    QString why;
    for (const QString &folder : std::as_const(folders)) {
        QLibrary library(folder + QLatin1Char('/') + fileName);
        if (!library.load()) {
            if (why.isEmpty() && QLibrary::isLibrary(library.fileName())
                && QFile::exists(library.fileName()))
                why = library.errorString();
            continue;
        }
        if (const QFunctionPointer function = library.resolve(symbol))
            return function;
        why = QStringLiteral("%1 has no %2").arg(library.fileName(), QLatin1String(symbol));
    }
    KorvaleLog::line(QStringLiteral("%1 is not available%2")
                         .arg(fileName, why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    return nullptr;
}

void SuiteModule::logOtherVersion(const char *fileName)
{
    KorvaleLog::line(QStringLiteral("%1 is not available: it belongs to another version")
                         .arg(QLatin1String(fileName)));
}
