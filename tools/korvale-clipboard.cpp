// korvale-clipboard: the clipboard entries for scripts. The same list and rules as the manager's
// clipboard section; a running agent and manager are told of every change.

#include "ClipboardList.h"
#include "ClipboardSecret.h"
#include "ClipboardStore.h"
#include "CommonKorvaleClass.h"
#include "ItemRecord.h"
#include "PasteboardContents.h"
#include "QOR_StringUtils.h"
#include "ToolMessages.h"
#include "platform/DisplayAvailability.h"
#include "platform/NotificationCenter.h"
#include "platform/SessionClipboard.h"
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace ItemRecord;

namespace {

// The hidden mode in which a copy of the program keeps serving what `restore` put on the
// clipboard: an X11 clipboard is served by the program that owns it.
const char ServeArgument[] = "--serve-restored-entry";

enum ExitCode { Success = 0, Failure = 1, Usage = 2 };

using ToolMessages::localized;

void printError(const QString &text)
{
    ToolMessages::printError("korvale-clipboard", text);
}

void printOut(const QString &text)
{
    ToolMessages::printOut(text);
}

int usage()
{
    ToolMessages::printUsage(localized("ToolClipboardUsage"));
    return Usage;
}

void tellOthers()
{
    // Without a session bus there is no one to tell; the agent's periodic check finds the file.
    std::unique_ptr<NotificationCenter> notifications =
        NotificationCenter::createSessionBusCenter();
    if (notifications->isAvailable())
        ClipboardStore::tellAgentAndManager(*notifications);
}

int list()
{
    ClipboardStore store;
    const QVariantList entries = store.load();
    for (int i = 0; i < entries.size(); ++i) {
        const QVariantMap entry = entries.at(i).toMap();
        const QVariantMap preferred =
            CommonKorvaleClass::getContentsFrom(entry.value(KeyClipboardContents).toByteArray());
        const QString type = preferred.value(QStringLiteral("key")).toString();
        printOut(QStringLiteral("%1\t%2\t%3\n")
                     .arg(i + 1)
                     .arg(ClipboardList::oneLine(entry.value(KeyTitle).toString()),
                          type.isEmpty() ? QStringLiteral("-")
                                         : PasteboardContents::labelForPasteboardType(type)));
    }
    return Success;
}

std::optional<QString> displayProblem()
{
    if (std::optional<QString> problem = DisplayAvailability::problem())
        return localized("ToolClipboardNoDisplay").arg(*problem);
    return std::nullopt;
}

int save(int argc, char *argv[], const QString &title)
{
    if (DisplayAvailability::problem()) {
        QCoreApplication app(argc, argv);
        ToolMessages::install();
        printError(displayProblem().value_or(QString()));
        return Failure;
    }
    QGuiApplication app(argc, argv);
    ToolMessages::install();
    const QByteArray packed = CommonKorvaleClass::getPasteboardContents();
    const std::optional<QVariantMap> contents = PasteboardContents::unpack(packed);
    if (contents && ClipboardSecret::isSecret(*contents)) {
        // Said to the person whose password it is; scripts have the status.
        printError(localized("ClipboardToolSecretNotSaved"));
        return Failure;
    }
    if (!contents || contents->isEmpty()) {
        printError(localized("ToolClipboardNothing"));
        return Failure;
    }
    ClipboardStore store;
    QVariantList entries = store.load();
    ClipboardList::add(entries, title, packed);
    ToolTermination::holdFromHere();
    if (!store.save(entries)) {
        printError(localized("ToolClipboardNotWritten")
                       .arg(CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(
                                DataFileName::Clipboard),
                            store.lastFailure().reasonText()));
        return Failure;
    }
    tellOthers();
    printOut(QStringLiteral("%1\n").arg(
        entries.lastIndexOf(QVariant(ClipboardList::makeEntry(title, packed))) + 1));
    return Success;
}

// Hands the entry to a detached copy of this program, which owns the clipboard until another
// program takes it; returns once that copy says the clipboard is its own.
int restore(const QString &argument)
{
    bool isNumber = false;
    const qlonglong number = argument.toLongLong(&isNumber);
    if (!isNumber || number < 1) {
        printError(localized("ToolClipboardNotANumber").arg(argument));
        return Usage;
    }
    ClipboardStore store;
    const QVariantList entries = store.load();
    if (number > entries.size()) {
        printError(entries.isEmpty()
                       ? localized("ToolClipboardNoEntries").arg(number)
                       : localized("ToolClipboardOutOfRange")
                             .arg(QString::number(number), QString::number(entries.size())));
        return Failure;
    }
    const QByteArray packed =
        entries.at(int(number - 1)).toMap().value(KeyClipboardContents).toByteArray();
    if (!PasteboardContents::unpack(packed)) {
        printError(localized("ToolClipboardUnreadable").arg(number));
        return Failure;
    }
    if (const std::optional<QString> problem = displayProblem()) {
        printError(*problem);
        return Failure;
    }

    int input[2];
    int output[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
        printError(localized("ToolClipboardCannotServe"));
        return Failure;
    }
    const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
    const pid_t child = ::fork();
    if (child < 0) {
        printError(localized("ToolClipboardCannotServe"));
        return Failure;
    }
    if (child == 0) {
        ::dup2(input[0], STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        ::setsid();
        char *const arguments[] = {const_cast<char *>(self.constData()),
                                   const_cast<char *>(ServeArgument), nullptr};
        ::execv(self.constData(), arguments);
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    qsizetype written = 0;
    while (written < packed.size()) {
        const ssize_t n =
            ::write(input[1], packed.constData() + written, size_t(packed.size() - written));
        if (n <= 0)
            break;
        written += n;
    }
    ::close(input[1]);
    char answer[2] = {0, 0};
    const ssize_t got = ::read(output[0], answer, 1);
    ::close(output[0]);
    if (got != 1 || answer[0] != 'k') {
        printError(localized("ToolClipboardNotTaken"));
        return Failure;
    }
    return Success;
}

int serve(int argc, char *argv[])
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return Failure;
    const QByteArray packed = input.readAll();
    input.close();
    QGuiApplication app(argc, argv);
    if (!CommonKorvaleClass::writeContentsToPasteBoard(packed)
        || !SessionClipboard::ownsClipboard())
        return Failure;
    std::fputs("k", stdout);
    std::fflush(stdout);
    // Nothing more to say: the caller is gone, and a script's pipes must not stay open.
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    SessionClipboard::whenTaken(&app, [] { QCoreApplication::quit(); });
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::string_view(argv[1]) == ServeArgument)
        return serve(argc, argv);
    ToolTermination::install();
    const QStringList args = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    if (args.size() == 2 && args[0] == QLatin1String("save"))
        return save(argc, argv, args[1]);
    QCoreApplication app(argc, argv);
    ToolMessages::install();
    if (args.size() == 1 && args[0] == QLatin1String("list"))
        return list();
    if (args.size() == 2 && args[0] == QLatin1String("restore"))
        return restore(args[1]);
    return usage();
}
