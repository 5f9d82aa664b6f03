#pragma once

#include "SaveFailure.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <optional>

// The suite's one preferences domain, shared by the agent, the manager and the browser: a CBOR
// dictionary in $XDG_CONFIG_HOME/Korvale/preferences.cbor. Writes are merged key by key into the
// file as it is on disk (under an advisory lock, replaced atomically), so two programs never drop
// each other's keys; reads see another program's writes once the file's modification time moves.
// One object is used from one thread; several objects (or processes) may share the file.
class SharedPreferences
{
public:
    explicit SharedPreferences(const QString &path = defaultPath());

    static QString defaultPath();
    // The process-wide instance on the default path (rebuilt when that path changes, as it does
    // when tests point XDG_CONFIG_HOME elsewhere).
    static SharedPreferences &standard();

    QString path() const { return mPath; }

    bool contains(const QString &key) const;
    QVariant value(const QString &key, const QVariant &fallback = {}) const;
    // Typed reads: a value of the wrong type counts as absent. Integer settings follow
    // integerOf().
    std::optional<int> intValue(const QString &key) const;
    std::optional<QString> stringValue(const QString &key) const;
    std::optional<QByteArray> dataValue(const QString &key) const;
    std::optional<QVariantList> listValue(const QString &key) const;
    // Every key with its value as this object sees it (file plus staged changes).
    QVariantMap dictionaryRepresentation() const;

    // Staged in memory until synchronize().
    void setValue(const QString &key, const QVariant &value);
    void removeValue(const QString &key);

    // Merges the staged keys into the file under the save lock; false (and one log line) when it
    // could not be written, the keys then staying staged for the next synchronize().
    bool synchronize();
    const SaveFailure &lastFailure() const { return mFailure; }
    // Forgets the cached copy so that the next read goes to the file.
    void dropCache();

    // The one rule for integer settings, whoever reads them: an integer, a boolean (0 or 1), a
    // whole floating-point number, or a text holding a whole decimal number (blanks around it
    // allowed), within the range of int. Anything else ("yes", 2.5, a list) is no integer.
    static std::optional<int> integerOf(const QVariant &value);

private:
    struct FileStamp {
        bool exists = false;
        qint64 modificationNs = 0;
        qint64 size = 0;
        quint64 inode = 0;
        bool operator==(const FileStamp &) const = default;
    };
    static FileStamp stampOf(const QString &path);

    void reloadIfChanged() const;
    // Reads and decodes the file; a damaged file is moved aside under the lock and reads as empty.
    QVariantMap readFileContents(bool lockHeld) const;
    void applyStaged(QVariantMap &values) const;

    QString mPath;
    mutable QVariantMap mValues;
    mutable FileStamp mLoadedStamp;
    mutable bool mLoaded = false;
    QVariantMap mStaged;
    QSet<QString> mRemoved;
    SaveFailure mFailure;
};
