#include "BatchRename.h"
#include "BrowserItem.h"
#include "BrowserModel.h"
#include "BrowserTestFolder.h"
#include "DateChange.h"
#include "FileIcons.h"
#include "NativeFileName.h"

#include <QScopeGuard>
#include <QSet>

#include <cstring>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The names in a folder as the kernel holds them.
QSet<QByteArray> bytesOnDisk(const QString &folder)
{
    QSet<QByteArray> names;
    DIR *directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory)
        return names;
    while (const dirent *entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.insert(name);
    }
    ::closedir(directory);
    return names;
}

QModelIndex rowNamed(const BrowserModel &model, const QString &name)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.index(row, 0).data().toString() == name)
            return model.index(row, 0);
    }
    return {};
}

} // namespace

TEST(NativeFileNameTest, EveryByteStringComesBackAsItWasRead)
{
    const QByteArray samples[] = {
        "plain.txt",
        "caf\xc3\xa9.txt", // valid UTF-8: decoded as usual
        "caf\xe9.txt", // Latin-1
        "\xc0\xaf", // overlong "/"
        "\xed\xa0\x80", // an encoded surrogate
        "\xe2\x82", // cut short
        "\xf0\x9f\x98\x80\x80", // a character past U+FFFF, then a stray continuation byte
        "\xf4\x90\x80\x80", // past U+10FFFF
        "\xff\xfe",
    };
    for (const QByteArray &bytes : samples) {
        const QString name = NativeFileName::fromNative(bytes);
        EXPECT_EQ(NativeFileName::toNative(name), bytes) << bytes.toHex().constData();
        EXPECT_EQ(NativeFileName::hasEscapes(name), QString::fromUtf8(bytes).toUtf8() != bytes)
            << bytes.toHex().constData();
    }
    for (int byte = 0x80; byte <= 0xff; ++byte) {
        const QByteArray one(1, char(byte));
        EXPECT_EQ(NativeFileName::toNative(NativeFileName::fromNative(one)), one) << byte;
    }
    EXPECT_EQ(NativeFileName::fromNative("caf\xc3\xa9"), QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(NativeFileName::forDisplay(NativeFileName::fromNative("caf\xe9.txt")),
              QString::fromUtf8("caf\xef\xbf\xbd.txt"));
    EXPECT_EQ(NativeFileName::forDisplay(NativeFileName::fromNative("\xf0\x9f\x98\x80")),
              QString::fromUtf8("\xf0\x9f\x98\x80"));
}

// A name in Latin-1 (as an old disk or archive gives it) is listed, renamed and dated.
TEST(NativeFileNameTest, ANameThatIsNotUtf8IsListedRenamedAndDated)
{
    BrowserTestFolder tree;
    tree.folder({});
    const QByteArray folder = QFile::encodeName(tree.path());
    const QByteArray latin1 = "caf\xe9 menu.txt";
    const QByteArray renamed = "caf\xe9 menu-01.txt";
    // Qt cannot reach these names: the temporary folder could not remove them.
    const auto removeNames = qScopeGuard([&] {
        ::unlink((folder + '/' + latin1).constData());
        ::unlink((folder + '/' + renamed).constData());
    });
    const int fd = ::open((folder + '/' + latin1).constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);

    BrowserModel model;
    model.setRoot(std::make_unique<BrowserItem>(tree.path(), std::nullopt, false, false));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0, 0).data().toString(), QString::fromUtf8("caf\xef\xbf\xbd menu.txt"));
    BrowserItem *item = model.itemAt(model.index(0, 0));

    // The parts of the name the scheme keeps keep their bytes.
    EXPECT_TRUE(BatchRename::run({item}, {QStringLiteral("%N-%X"), 1, 2, true}).isEmpty());
    EXPECT_EQ(bytesOnDisk(tree.path()), QSet<QByteArray>{renamed});
    EXPECT_EQ(NativeFileName::toNative(item->getPath()), folder + '/' + renamed);

    const QDateTime when(QDate(2021, 6, 1), QTime(8, 30, 0));
    EXPECT_TRUE(DateChange::run({item}, when, true, 0, false).isEmpty());
    struct stat status {
    };
    ASSERT_EQ(::lstat((folder + '/' + renamed).constData(), &status), 0);
    EXPECT_EQ(qint64(status.st_mtim.tv_sec), when.toSecsSinceEpoch());
    EXPECT_EQ(DateChange::modificationDate(item->getPath()), when);
}

// Names without an extension each get the icon of their own type, in the outline and in its
// menus, however many were drawn before them.
TEST(FileTypeIconsTest, NamesWithoutAnExtensionDoNotShareTheFirstOnesIcon)
{
    BrowserTestFolder tree;
    tree.file("Makefile");
    tree.file("a.txt");
    tree.file("b.txt");
    const QString target = tree.folder("target");
    ASSERT_TRUE(QFile::link(target, tree.path("linked")));
    const QString socketPath = tree.path("socket");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketName = QFile::encodeName(socketPath);
    ASSERT_LT(std::size_t(socketName.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, socketName.constData(), std::size_t(socketName.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)), 0);

    EXPECT_EQ(FileTypeIcons::typeKey(tree.path("linked"), false), "type:inode/directory");
    EXPECT_EQ(FileTypeIcons::typeKey(socketPath, false), "type:inode/socket");
    EXPECT_EQ(FileTypeIcons::typeKey(tree.path("Makefile"), false), "type:text/x-makefile");
    EXPECT_EQ(FileTypeIcons::typeKey(tree.path("a.txt"), false), ".txt");

    BrowserModel model;
    model.setRoot(std::make_unique<BrowserItem>(tree.path(), std::nullopt, false, false));
    const auto iconOf = [&model](const char *name) {
        return model.data(rowNamed(model, QString::fromLatin1(name)), Qt::DecorationRole)
            .value<QIcon>()
            .cacheKey();
    };
    // The Makefile first, as the outline's order would have it before "linked".
    const qint64 makefile = iconOf("Makefile");
    EXPECT_NE(iconOf("linked"), makefile);
    EXPECT_NE(iconOf("socket"), makefile);
    EXPECT_NE(iconOf("socket"), iconOf("linked"));
    EXPECT_EQ(iconOf("a.txt"), iconOf("b.txt")) << "one type, one icon drawn";
    ::close(fd);
}
