#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// The shared data store: the data folder, its list and dictionary files, and the protected notes.
class CommonKorvaleClass
{
public:
    CommonKorvaleClass() = delete;

    // $XDG_DATA_HOME/Korvale (created when missing), or the named item inside it.
    static QString pathForApplicationSupportFolder(const QString &name = {});
    // $XDG_DATA_HOME/Korvale/Data (created when missing), or the named file inside it.
    static QString pathForDataFileInApplicationSupportFolder(const QString &fileName = {});

    static QVariantList readListInFile(const QString &fileName);
    static void saveListInFile(const QVariantList &list, const QString &fileName);
    // Prefers a read-only resource of the installed suite over the data folder.
    static QVariantMap readDictionaryInFile(const QString &fileName);
    static void saveDictionaryInFile(const QVariantMap &dictionary, const QString &fileName);

    // share/korvale beside the running program's bin folder; empty when there is none.
    static QString resourcesFolder();
    static void setResourcesFolder(const QString &folder);

    // The first format of protected notes, still read (NotesFile); nothing writes it any more.
    // The code and the pass phrase are key material: the caller wipes them after use.
    static quint32 getPasswordCode(const QString &password);
    static QString createStringFromPassword(quint32 passwordCode);
    static constexpr std::size_t ProtectedBufferSize = 0x40000;
    // One first-format blob under a pass phrase. A blob that decrypts proves the code right (its
    // twelve zero bytes match by chance once in 2^96), even when what it holds is not a record.
    enum class FirstFormatBlob { Note, NotOpened, NotANote };
    struct FirstFormatNote {
        FirstFormatBlob status = FirstFormatBlob::NotOpened;
        QVariantMap note;
    };
    static FirstFormatNote noteForProtectedBlob(const QByteArray &blob, const QString &passPhrase);

    // The general clipboard (main thread; see PasteboardContents for the packed form).
    static QByteArray getPasteboardContents();
    static std::optional<QString> getStringFromPasteboard();
    // False, and the clipboard untouched, when the blob does not decode.
    static bool writeContentsToPasteBoard(const QByteArray &packed);
    static std::optional<QVariantMap> getAllContentsFrom(const QByteArray &packed);
    // The preferred representation: "key", and "string" / "data" when present; empty when none.
    static QVariantMap getContentsFrom(const QByteArray &packed);
    static QString getTypeForPasteboardType(const QString &type);
    // Replaces the clipboard with the text alone.
    static void copyPlainTextToPasteboard(const QString &text);
    // The text-transform paste: the clipboard's text, transformed, as its only content; false
    // (nothing changed) without a text.
    static bool pasteTextClipboard(int tag);
};

// File names of the data folder.
namespace DataFileName {
extern const QString Applications;
extern const QString Documents;
extern const QString Notes;
extern const QString ProtectedNotes;
extern const QString Clipboard;
extern const QString ToDo;
extern const QString Reminder;
extern const QString ApplicationsUse;
extern const QString URLFavicons;
extern const QString StocksSurvey;
extern const QString StocksSurveyImport;
extern const QString Keys;
// The agent's last contacts and calendar events, read at its start before the readers answer.
extern const QString AddressBookItems;
extern const QString CalendarItems;
} // namespace DataFileName
