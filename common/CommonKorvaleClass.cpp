#include "CommonKorvaleClass.h"

#include "ArchiveFile.h"
#include "KorvaleArchive.h"
#include "PrivateFolder.h"
#include "QOR_DataUtils.h"
#include "QOR_FilesUtils.h"
#include "SecureMemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QScopeGuard>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace DataFileName {
const QString Applications = QStringLiteral("Applications.krvdata");
const QString Documents = QStringLiteral("Documents.krvdata");
const QString Notes = QStringLiteral("Notes.krvdata");
const QString ProtectedNotes = QStringLiteral("ProtectedNotes.krvdata");
const QString Clipboard = QStringLiteral("Clipboard.krvdata");
const QString ToDo = QStringLiteral("ToDo.krvdata");
const QString Reminder = QStringLiteral("Reminder.krvdata");
const QString ApplicationsUse = QStringLiteral("ApplicationsUse.krvdata");
const QString URLFavicons = QStringLiteral("URLFavicons.krvdata");
const QString StocksSurvey = QStringLiteral("StocksSurvey.krvdata");
const QString StocksSurveyImport = QStringLiteral("StocksSurvey.txt");
const QString Keys = QStringLiteral("keys.txt");
const QString AddressBookItems = QStringLiteral("AddressBookItems.krvdata");
const QString CalendarItems = QStringLiteral("CalendarItems.krvdata");
} // namespace DataFileName

namespace {

QMutex resourcesMutex;
QString &resourcesOverride()
{
    static QString folder;
    return folder;
}
bool resourcesOverridden = false;

QString joinName(const QString &folder, const QString &name)
{
    return name.isEmpty() ? folder : folder + QLatin1Char('/') + name;
}

} // namespace

QString CommonKorvaleClass::pathForApplicationSupportFolder(const QString &name)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = base + QStringLiteral("/Korvale");
    PrivateFolder::ensure(folder);
    return joinName(folder, name);
}

QString CommonKorvaleClass::pathForDataFileInApplicationSupportFolder(const QString &fileName)
{
    const QString folder = pathForApplicationSupportFolder(QStringLiteral("Data"));
    PrivateFolder::ensure(folder);
    return joinName(folder, fileName);
}

QVariantList CommonKorvaleClass::readListInFile(const QString &fileName)
{
    return ArchiveFile::readList(pathForDataFileInApplicationSupportFolder(fileName));
}

void CommonKorvaleClass::saveListInFile(const QVariantList &list, const QString &fileName)
{
    ArchiveFile::write(pathForDataFileInApplicationSupportFolder(fileName), list);
}

QVariantMap CommonKorvaleClass::readDictionaryInFile(const QString &fileName)
{
    const QString resources = resourcesFolder();
    if (!resources.isEmpty()) {
        const QString resource = joinName(resources, fileName);
        if (QFileInfo::exists(resource))
            return ArchiveFile::readDictionary(resource);
    }
    return ArchiveFile::readDictionary(pathForDataFileInApplicationSupportFolder(fileName));
}

void CommonKorvaleClass::saveDictionaryInFile(const QVariantMap &dictionary,
                                              const QString &fileName)
{
    ArchiveFile::write(pathForDataFileInApplicationSupportFolder(fileName), dictionary);
}

QString CommonKorvaleClass::resourcesFolder()
{
    QMutexLocker lock(&resourcesMutex);
    if (resourcesOverridden)
        return resourcesOverride();
    if (!QCoreApplication::instance())
        return {};
    const QString folder = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                           + QStringLiteral("/../share/korvale"));
    return QFileInfo(folder).isDir() ? folder : QString();
}

void CommonKorvaleClass::setResourcesFolder(const QString &folder)
{
    QMutexLocker lock(&resourcesMutex);
    resourcesOverridden = true;
    resourcesOverride() = folder;
}

quint32 CommonKorvaleClass::getPasswordCode(const QString &password)
{
    if (password.isEmpty())
        return 0;
    // Reserved whole, so that no outgrown copy of the repeated password is left behind unwiped.
    QString s;
    s.reserve(std::max<qsizetype>(password.size(), 32) + password.size() + 1);
    s += password;
    while (s.size() < 32)
        s += QLatin1Char('*') + password;
    quint32 code = 0;
    for (qsizetype i = 0; i < s.size(); ++i)
        code = (quint32(s.at(i).unicode()) * quint32(i) + code) * 3u;
    SecureMemory::wipe(s.data(), std::size_t(s.size()) * sizeof(QChar));
    return code;
}

QString CommonKorvaleClass::createStringFromPassword(quint32 passwordCode)
{
    // Formatted in one buffer that is wiped, rather than through intermediate strings.
    char phrase[48];
    const int length = std::snprintf(phrase, sizeof phrase, "Qmw%dbHvk%utje", qint32(passwordCode),
                                     unsigned(passwordCode & 0xffffu));
    QString result = QString::fromLatin1(phrase, std::max(length, 0));
    SecureMemory::wipe(phrase, sizeof phrase);
    return result;
}

CommonKorvaleClass::FirstFormatNote
CommonKorvaleClass::noteForProtectedBlob(const QByteArray &blob, const QString &passPhrase)
{
    std::vector<unsigned char> compressed(ProtectedBufferSize);
    QByteArray archived;
    const auto wipe = qScopeGuard([&] {
        SecureMemory::wipe(compressed.data(), compressed.size());
        if (!archived.isEmpty())
            SecureMemory::wipe(archived.data(), std::size_t(archived.size()));
    });
    const std::size_t compressedSize = QOR_DataUtils::decryptDataSizeToMaxSizeWithPassword(
        blob.constData(), std::size_t(blob.size()), compressed.data(), compressed.size(),
        passPhrase);
    if (compressedSize == 0)
        return {};
    archived.resize(qsizetype(ProtectedBufferSize));
    const std::size_t archivedSize = QOR_DataUtils::zlibUncompressSizeToMaxSize(
        compressed.data(), compressedSize, archived.data(), std::size_t(archived.size()));
    if (archivedSize == 0)
        return {FirstFormatBlob::NotANote, {}};
    archived.truncate(qsizetype(archivedSize));
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(archived);
    if (!decoded.error.isEmpty() || decoded.value.typeId() != QMetaType::QVariantMap)
        return {FirstFormatBlob::NotANote, {}};
    return {FirstFormatBlob::Note, decoded.value.toMap()};
}
