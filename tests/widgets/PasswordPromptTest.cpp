#include "ArchiveFile.h"
#include "NotesFile.h"
#include "PasswordSheet.h"
#include "QOR_StringUtils.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QTimer>

namespace {

// The prompt of the first password sheet that comes up, which is then cancelled.
QString promptOfTheSheet(NotesFile &file)
{
    QString prompt;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *sheet = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!sheet || sheet->objectName() != "PasswordSheet")
            return;
        if (auto *label = sheet->findChild<QLabel *>("PasswordPrompt"))
            prompt = label->text();
        sheet->reject();
    });
    poll.start(10);
    QVariantList notes;
    EXPECT_EQ(PasswordSheet::unlock(nullptr, file, notes, false),
              PasswordSheet::Outcome::Cancelled);
    return prompt;
}

} // namespace

// Before any protected note exists there is no password to type: the sheet asks to choose one.
TEST(PasswordPromptTest, TheFirstSheetAsksToChooseThePassword)
{
    TemporaryHome home;
    const QString path = home.path() + "/ProtectedNotes.krvdata";
    for (const char *language : {"en", "fr"}) {
        SCOPED_TRACE(language);
        QOR_StringUtils::installTranslations(QLocale(QString::fromLatin1(language)));
        const QString choose = QOR_StringUtils::getLocalizedStringForKey("PasswordChooseText");
        const QString type = QOR_StringUtils::getLocalizedStringForKey("PasswordSheetText");
        ASSERT_NE(choose, type);

        QFile::remove(path);
        NotesFile none(NotesFile::Kind::ProtectedNotes, path);
        EXPECT_EQ(promptOfTheSheet(none), choose);

        ASSERT_TRUE(ArchiveFile::write(path, QVariantList()));
        NotesFile empty(NotesFile::Kind::ProtectedNotes, path);
        EXPECT_EQ(promptOfTheSheet(empty), choose) << "a file without notes has no password";

        ASSERT_TRUE(ArchiveFile::write(path, QVariantList{QByteArray("a sealed note")}));
        NotesFile some(NotesFile::Kind::ProtectedNotes, path);
        EXPECT_EQ(promptOfTheSheet(some), type);
    }
    QOR_StringUtils::installTranslations(QLocale("en"));
}

// French puts a space before these marks; an ordinary one lets a line break leave the mark
// alone at the start of the next line.
TEST(PasswordPromptTest, NoFrenchMarkCanWrapOntoALineOfItsOwn)
{
    QFile table(QStringLiteral(KORVALE_SOURCE_DIR) + "/translations/korvale_fr.ts");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(table.readAll());
    const QRegularExpression translation("<translation>(.*?)</translation>",
                                         QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression breakable("[ \\t\\n]([:;?!»])|(«)[ \\t\\n]");
    int checked = 0;
    for (auto it = translation.globalMatch(text); it.hasNext();) {
        const QString entry = it.next().captured(1);
        ++checked;
        EXPECT_FALSE(breakable.match(entry).hasMatch()) << entry.toStdString();
    }
    EXPECT_GT(checked, 100);
}
