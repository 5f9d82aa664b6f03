#pragma once

#include <QByteArray>

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

// The entries of one folder, read with getdents64 directly: a walk of tens of thousands of
// folders is bound by system calls, and opendir adds some per folder. The scanners of
// applications and of documents both read their folders through it.
namespace FolderEntries {

// Calls visit(name, type, folderFd) for each entry whose name does not begin with a dot
// (visitDot(name) for those), with the file system's d_type (DT_UNKNOWN where it gives none)
// and the folder's descriptor for a fstatat. False when the folder cannot be opened.
template <typename Visit, typename VisitDot>
bool read(const QByteArray &path, Visit visit, VisitDot visitDot)
{
    const int fd = open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct LinuxDirent64 {
        ino64_t inode;
        off64_t offset;
        unsigned short length;
        unsigned char type;
        char name[1];
    };
    alignas(8) char buffer[32768];
    for (;;) {
        const long got = syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (long at = 0; at < got;) {
            const auto *entry = reinterpret_cast<const LinuxDirent64 *>(buffer + at);
            at += entry->length;
            if (entry->name[0] == '.')
                visitDot(entry->name);
            else
                visit(entry->name, entry->type, fd);
        }
    }
    close(fd);
    return true;
}

} // namespace FolderEntries
