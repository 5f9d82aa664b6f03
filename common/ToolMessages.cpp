#include "ToolMessages.h"

#include "QOR_StringUtils.h"

#include <cstdio>

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

void ToolMessages::install()
{
    QOR_StringUtils::installTranslations();
}

QString ToolMessages::localized(const char *key)
{
    return QOR_StringUtils::getLocalizedStringForKey(QString::fromLatin1(key));
}

void ToolMessages::printError(const char *tool, const QString &text)
{
    write(stderr, QStringLiteral("%1: %2\n").arg(QLatin1String(tool), text));
}

void ToolMessages::printOut(const QString &text)
{
    write(stdout, text);
}

int ToolMessages::printUsage(const QString &text)
{
    write(stderr, text);
    return 2;
}
