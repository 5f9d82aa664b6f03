#pragma once

#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Files and folders made for a test inside its temporary home.
class BrowserTestFolder
{
public:
    QString path(const QString &relative = {}) const
    {
        return relative.isEmpty() ? mHome.path() + "/tree" : mHome.path() + "/tree/" + relative;
    }

    QString file(const QString &relative, const QByteArray &contents = "x") const
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile out(full);
        out.open(QIODevice::WriteOnly);
        out.write(contents);
        return full;
    }

    QString folder(const QString &relative) const
    {
        const QString full = path(relative);
        QDir().mkpath(full);
        return full;
    }

    static QByteArray contents(const QString &path)
    {
        QFile in(path);
        in.open(QIODevice::ReadOnly);
        return in.readAll();
    }

    static void setModified(const QString &path, const QDateTime &when)
    {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(when, QFileDevice::FileModificationTime);
    }

    static QDateTime modified(const QString &path)
    {
        return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
    }

    static bool runsAsRoot() { return ::geteuid() == 0; }

    // The immutable flag: no rename, no date change, not even by root. False where it cannot be
    // set (no capability, a file system without it).
    static bool setImmutable(const QString &path, bool immutable)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    // Keeps an item immutable for its own lifetime, so that the temporary folder can go.
    class Unchangeable
    {
    public:
        explicit Unchangeable(const QString &path)
            : mPath(path)
            , mSet(setImmutable(path, true))
        {
        }
        ~Unchangeable()
        {
            if (mSet)
                setImmutable(mPath, false);
        }
        bool isSet() const { return mSet; }

    private:
        QString mPath;
        bool mSet;
    };

    TemporaryHome mHome;
};
