#include "SharedPreferences.h"

#include "ArchiveFile.h"
#include "AtomicFile.h"
#include "KorvaleArchive.h"
#include "KorvaleLog.h"
#include "PrivateFolder.h"
#include "SaveFailures.h"
#include "SaveLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Decoding {
    QVariantMap values;
    QString error; // empty when the file is missing, empty, or a dictionary
    QString errorName = QStringLiteral("PreferencesDecodeError");
    bool notRegular = false;
};

Decoding decodeFile(const QString &path)
{
    Decoding result;
    const ArchiveFile::Raw raw = ArchiveFile::readBytes(path);
    if (!raw.error.isEmpty()) {
        result.error = raw.error;
        result.errorName = raw.errorName;
        result.notRegular = raw.notRegular;
        return result;
    }
    const QByteArray &bytes = raw.bytes;
    if (bytes.isEmpty())
        return result;
    const KorvaleArchive::Decoded decoded = KorvaleArchive::decode(bytes);
    if (!decoded.error.isEmpty())
        result.error = decoded.error;
    else if (decoded.value.typeId() != QMetaType::QVariantMap)
        result.error = QStringLiteral("the archive does not hold a dictionary");
    else
        result.values = decoded.value.toMap();
    return result;
}

} // namespace

SharedPreferences::SharedPreferences(const QString &path)
    : mPath(path)
{
}

QString SharedPreferences::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Korvale/preferences.cbor");
}

SharedPreferences &SharedPreferences::standard()
{
    static std::unique_ptr<SharedPreferences> instance;
    const QString path = defaultPath();
    if (!instance || instance->path() != path)
        instance = std::make_unique<SharedPreferences>(path);
    return *instance;
}

SharedPreferences::FileStamp SharedPreferences::stampOf(const QString &path)
{
    FileStamp stamp;
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.modificationNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.size = qint64(info.st_size);
    stamp.inode = quint64(info.st_ino);
    return stamp;
}

QVariantMap SharedPreferences::readFileContents(bool lockHeld) const
{
    Decoding decoding = decodeFile(mPath);
    if (decoding.error.isEmpty())
        return decoding.values;
    if (decoding.notRegular) {
        KorvaleLog::line(QStringLiteral("Exception reading file %1: %2: %3; it is left as it is "
                                        "and the default settings are used")
                             .arg(mPath, decoding.errorName, decoding.error));
        return {};
    }
    if (!lockHeld) {
        // Another program may be replacing the file right now; only a file that is still damaged
        // under the lock is moved aside, so a good file written meanwhile is never taken away.
        const SaveLock lock(mPath);
        if (lock.held())
            return readFileContents(true);
    }
    const QString aside = AtomicFile::keepAside(mPath);
    const QString where = aside.isEmpty() ? QStringLiteral("; it could not be moved aside")
                                          : QStringLiteral("; kept aside as %1").arg(aside);
    KorvaleLog::line(
        QStringLiteral("Exception reading file %1: %2: %3%4; using the default settings")
            .arg(mPath, decoding.errorName, decoding.error, where));
    return {};
}

void SharedPreferences::reloadIfChanged() const
{
    const FileStamp stamp = stampOf(mPath);
    if (mLoaded && stamp == mLoadedStamp)
        return;
    mValues = readFileContents(false);
    // The stamp is taken again: a damaged file moved aside must not be reread at every access.
    mLoadedStamp = stampOf(mPath);
    mLoaded = true;
}

void SharedPreferences::applyStaged(QVariantMap &values) const
{
    for (const QString &key : mRemoved)
        values.remove(key);
    for (auto it = mStaged.cbegin(); it != mStaged.cend(); ++it)
        values.insert(it.key(), it.value());
}

bool SharedPreferences::contains(const QString &key) const
{
    if (mRemoved.contains(key))
        return false;
    if (mStaged.contains(key))
        return true;
    reloadIfChanged();
    return mValues.contains(key);
}

QVariant SharedPreferences::value(const QString &key, const QVariant &fallback) const
{
    if (mRemoved.contains(key))
        return fallback;
    const auto staged = mStaged.constFind(key);
    if (staged != mStaged.cend())
        return staged.value();
    reloadIfChanged();
    return mValues.value(key, fallback);
}

std::optional<int> SharedPreferences::integerOf(const QVariant &value)
{
    const auto inRange = [](qint64 n) -> std::optional<int> {
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            return std::nullopt;
        return int(n);
    };
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return inRange(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const qulonglong n = value.toULongLong();
        if (n > qulonglong(std::numeric_limits<int>::max()))
            return std::nullopt;
        return int(n);
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d) || d < std::numeric_limits<int>::min()
            || d > std::numeric_limits<int>::max())
            return std::nullopt;
        return int(d);
    }
    case QMetaType::QString: {
        // Someone who typed "1" into a settings file means 1; toLongLong takes no "0x" or ".0".
        bool ok = false;
        const qlonglong n = value.toString().trimmed().toLongLong(&ok, 10);
        if (!ok)
            return std::nullopt;
        return inRange(n);
    }
    default:
        return std::nullopt;
    }
}

std::optional<int> SharedPreferences::intValue(const QString &key) const
{
    return integerOf(value(key));
}

std::optional<QString> SharedPreferences::stringValue(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<QByteArray> SharedPreferences::dataValue(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return v.toByteArray();
}

std::optional<QVariantList> SharedPreferences::listValue(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return v.toList();
}

QVariantMap SharedPreferences::dictionaryRepresentation() const
{
    reloadIfChanged();
    QVariantMap values = mValues;
    applyStaged(values);
    return values;
}

void SharedPreferences::setValue(const QString &key, const QVariant &value)
{
    if (!value.isValid()) {
        removeValue(key);
        return;
    }
    mRemoved.remove(key);
    mStaged.insert(key, value);
}

void SharedPreferences::removeValue(const QString &key)
{
    mStaged.remove(key);
    mRemoved.insert(key);
}

bool SharedPreferences::synchronize()
{
    if (mStaged.isEmpty() && mRemoved.isEmpty()) {
        reloadIfChanged();
        return true;
    }
    auto failed = [this](const SaveFailure &failure) {
        mFailure = failure;
        SaveFailures::report(mPath, failure);
        return false;
    };

    PrivateFolder::ensure(QFileInfo(mPath).absolutePath());
    const SaveLock lock(mPath);
    if (!lock.held())
        return failed(SaveFailure::fromErrno(lock.errorNumber()));
    if (const QFileInfo there(mPath); there.exists() && !there.isFile())
        return failed(SaveFailure::notAFile(mPath));

    QVariantMap merged = readFileContents(true);
    applyStaged(merged);
    const KorvaleArchive::Encoded encoded = KorvaleArchive::encode(merged);
    if (!encoded.error.isEmpty())
        return failed(SaveFailure::fromErrno(0, encoded.error));
    QString why;
    int code = 0;
    if (!AtomicFile::write(mPath, encoded.bytes, &why, &code))
        return failed(SaveFailure::fromErrno(code, why));
    mFailure = {};
    SaveFailures::saved(mPath);

    mValues = merged;
    mLoadedStamp = stampOf(mPath);
    mLoaded = true;
    mStaged.clear();
    mRemoved.clear();
    return true;
}

void SharedPreferences::dropCache()
{
    mLoaded = false;
    mValues.clear();
}
