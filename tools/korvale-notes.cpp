// korvale-notes: lists, shows, adds, imports and exports notes and protected notes through the
// same files and rules as the manager, and tells a running agent and manager of each change.

#include "AtomicFile.h"
#include "NoteLists.h"
#include "NotesFile.h"
#include "NotesText.h"
#include "ProtectedKey.h"
#include "QOR_StringUtils.h"
#include "SecureMemory.h"
#include "ToolMessages.h"
#include "platform/NotificationCenter.h"
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

using ToolMessages::localized;

void printError(const QString &text)
{
    ToolMessages::printError("korvale-notes", text);
}

void printOut(const QString &text)
{
    ToolMessages::printOut(text);
}

int usage()
{
    return ToolMessages::printUsage(localized("ToolNotesUsage"));
}

enum Exit { Done = 0, Failed = 1, Usage = 2, WrongPassword = 3 };

struct Input {
    QString password;
    QByteArray rest;
    ~Input()
    {
        ProtectedKey::wipe(password);
        ProtectedKey::wipe(rest);
    }
};

// The first line of `bytes` (without its line end), which is taken off them; nothing when there
// is no line at all. The bytes it leaves behind are wiped: they may hold a password.
std::optional<QString> takeLine(QByteArray &bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    const qsizetype end = bytes.indexOf('\n');
    QByteArray line = end < 0 ? bytes : bytes.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    const QString text = QString::fromUtf8(line);
    QByteArray rest = end < 0 ? QByteArray() : bytes.mid(end + 1);
    ProtectedKey::wipe(line);
    ProtectedKey::wipe(bytes);
    bytes = rest;
    return text;
}

// Standard input split after the password's line; the password never comes from an argument.
Input readInput(bool withPassword)
{
    QFile in;
    Input input;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return input;
    input.rest = in.readAll();
    if (withPassword)
        input.password = takeLine(input.rest).value_or(QString());
    return input;
}

// Running programs reread the notes: the agent on its channel, the manager on its own.
void tellOthers()
{
    std::unique_ptr<NotificationCenter> center = NotificationCenter::createSessionBusCenter();
    if (!center->isAvailable())
        return;
    center->post(NotificationChannel::Daemon, QStringLiteral("NotesChanged"));
    center->post(NotificationChannel::Main, QStringLiteral("NotesChanged"));
}

int open(NotesFile &file, const QString &password, QVariantList &notes)
{
    if (file.kind() == NotesFile::Kind::Notes) {
        file.read(notes);
        return Done;
    }
    switch (file.unlock(password, notes)) {
    case NotesFile::Status::Ok:
        return Done;
    case NotesFile::Status::WrongPassword:
        printError(localized("ToolNotesWrongPassword"));
        return WrongPassword;
    case NotesFile::Status::Damaged:
        printError(QOR_StringUtils::getLocalizedStringForCount(QStringLiteral("ToolNotesDamaged"),
                                                               int(file.damagedNotes()))
                       .arg(file.path()));
        return Done;
    case NotesFile::Status::Unavailable:
        printError(localized("ToolNotesCryptoUnavailable"));
        return Failed;
    case NotesFile::Status::Locked:
    case NotesFile::Status::NotSaved:
    case NotesFile::Status::Unconfirmed:
        break;
    }
    printError(localized("ToolNotesNoPassword"));
    return Usage;
}

// A file without a note that proves the password (new, or of the first format) takes it as its
// own at this save: the password must be the same on the second line of standard input.
int confirm(NotesFile &file, Input &input)
{
    if (!file.awaitsConfirmation())
        return Done;
    std::optional<QString> again = takeLine(input.rest);
    const bool same = again && file.confirmPassword(*again);
    if (again)
        ProtectedKey::wipe(*again);
    if (same)
        return Done;
    printError(localized("ToolNotesRepeatPassword").arg(file.path()));
    return WrongPassword;
}

int save(NotesFile &file, QVariantList &notes)
{
    ToolTermination::holdFromHere();
    if (file.save(notes) != NotesFile::Status::Ok) {
        printError(localized("ToolNotesNotWritten")
                       .arg(file.path(),
                            file.lastFailure().failed() ? file.lastFailure().reasonText()
                                                        : localized("ToolNotesNotSealed")));
        return Failed;
    }
    if (!file.keptAside().isEmpty())
        printError(localized("ToolKeptAs").arg(file.path(), file.keptAside()));
    tellOthers();
    return Done;
}

int add(NotesFile &file, QVariantList &notes, const QVariantList &added)
{
    notes.append(added);
    NoteLists::sortByTitle(notes);
    return save(file, notes);
}

} // namespace

int main(int argc, char *argv[])
{
    ToolTermination::install();
    QCoreApplication app(argc, argv);
    ToolMessages::install();
    QStringList args = app.arguments().mid(1);
    const bool isProtected = args.removeAll(QStringLiteral("--protected")) > 0;
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    const bool takesArgument = command != QLatin1String("list");
    if (args.size() != (takesArgument ? 1 : 0)
        || !QStringList{"list", "show", "add", "import", "export"}.contains(command))
        return usage();
    const QString argument = takesArgument ? args.first() : QString();

    // Only add and a protected command read standard input.
    Input input;
    if (isProtected || command == QLatin1String("add"))
        input = readInput(isProtected);
    NotesFile file(isProtected ? NotesFile::Kind::ProtectedNotes : NotesFile::Kind::Notes);
    QVariantList notes;
    if (const int opened = open(file, input.password, notes); opened != Done)
        return opened;
    const int kind = isProtected ? 6 : 5;

    if (command == QLatin1String("list")) {
        for (const QVariant &note : std::as_const(notes))
            printOut(note.toMap().value(QStringLiteral("T")).toString() + QLatin1Char('\n'));
        return Done;
    }
    if (command == QLatin1String("show")) {
        for (const QVariant &note : std::as_const(notes)) {
            if (note.toMap().value(QStringLiteral("T")).toString() == argument) {
                QString text = note.toMap().value(QStringLiteral("t")).toString();
                printOut(text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n'));
                return Done;
            }
        }
        printError(localized("ToolNotesNoSuchTitle").arg(argument));
        return Failed;
    }
    const bool writes = command == QLatin1String("add") || command == QLatin1String("import");
    if (writes) {
        if (const int confirmed = confirm(file, input); confirmed != Done)
            return confirmed;
    }
    if (command == QLatin1String("add")) {
        if (argument.isEmpty()) {
            printError(localized("ToolNotesNeedsTitle"));
            return Usage;
        }
        QString text = QString::fromUtf8(input.rest);
        SecureMemory::wipe(input.rest.data(), std::size_t(input.rest.size()));
        return add(file, notes,
                   {QVariantMap{{QStringLiteral("x"), kind},
                                {QStringLiteral("T"), argument},
                                {QStringLiteral("t"), text}}});
    }
    if (command == QLatin1String("import")) {
        const NotesText::ImportedFile read = NotesText::importNotesFromFile(argument, isProtected);
        if (!read.failure.isEmpty()) {
            printError(QStringLiteral("%1: %2").arg(argument, read.failure));
            return Failed;
        }
        const QVariantList &imported = read.notes;
        if (imported.isEmpty()) {
            printError(localized("ToolNotesNoneInFile").arg(argument));
            return Failed;
        }
        const int result = add(file, notes, imported);
        if (result == Done)
            printError(QOR_StringUtils::getLocalizedStringForCount(
                QStringLiteral("ToolNotesImported"), int(imported.size())));
        return result;
    }
    // export
    if (isProtected && argument != QLatin1String("-")) {
        // The file leaves the protection of the password: say so, but do as asked.
        printError(localized("ToolNotesExportedUnencrypted").arg(argument));
    }
    const QByteArray text = NotesText::exportNotes(notes);
    if (argument == QLatin1String("-")) {
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return Done;
    }
    QString error;
    ToolTermination::holdFromHere();
    if (!AtomicFile::write(QFileInfo(argument).absoluteFilePath(), text, &error)) {
        printError(QStringLiteral("%1: %2").arg(argument, error));
        return Failed;
    }
    return Done;
}
