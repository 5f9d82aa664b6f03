// The files of the desktop's search sources: every gnome-shell/search-providers/*.ini and
// krunner/dbusplugins/*.desktop under the data folders, written by other programs' packages.
#include "SearchSourceFiles.h"

#include <QDBusMessage>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QList<QByteArray> languages = {"fr_FR", "fr", "de"};
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto check = [](const std::optional<DesktopSearchSource> &source) {
        if (!source)
            return;
        // Whatever is taken names a bus and an object that a message can be sent to.
        if (source->busName.isEmpty() || !source->objectPath.startsWith(QLatin1Char('/')))
            __builtin_trap();
        const qsizetype star = source->busName.indexOf(QLatin1Char('*'));
        if (star >= 0
            && (star != source->busName.size() - 1
                || source->kind != DesktopSearchSource::Kind::Runner))
            __builtin_trap();
        const QString name =
            star >= 0 ? source->busName.chopped(1) + QStringLiteral("x") : source->busName;
        const QDBusMessage message = QDBusMessage::createMethodCall(
            name, source->objectPath, QStringLiteral("org.kde.krunner1"), QStringLiteral("Match"));
        if (message.type() != QDBusMessage::MethodCallMessage)
            __builtin_trap();
    };
    check(SearchSourceFiles::readGnomeProvider(bytes));
    check(SearchSourceFiles::readRunner(bytes, languages));
    const QHash<QString, QString> group =
        SearchSourceFiles::readGroup(bytes, QStringLiteral("Desktop Entry"));
    SearchSourceFiles::localised(group, QStringLiteral("Name"), languages);
    return 0;
}
