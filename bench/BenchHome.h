#pragma once

// What the benchmarks put in a home for the real agent: a documents folder of 100,000 empty files
// in 10,000 folders, desktop entries with sixteen translations each; and waiting on the agent
// until it has indexed the documents (its Status() on the session bus).
#include "BenchAgent.h"
#include "platform/DBusNotificationCenter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace BenchHome {

constexpr int TopFolders = 100;
constexpr int SubFoldersEach = 100; // 10,000 folders below the top ones
constexpr int FilesEach = 10; // 100,000 files
// What the index holds of the tree: every file and every folder below the top ones.
constexpr int TreeEntries = TopFolders * SubFoldersEach * (FilesEach + 1);

inline void buildTree(const QString &root)
{
    for (int top = 0; top < TopFolders; ++top) {
        for (int sub = 0; sub < SubFoldersEach; ++sub) {
            const QString folder = root + QStringLiteral("/project %1/part %2").arg(top).arg(sub);
            QDir().mkpath(folder);
            for (int file = 0; file < FilesEach; ++file) {
                QFile(folder + QStringLiteral("/report-%1-%2-%3.odt").arg(top).arg(sub).arg(file))
                    .open(QIODevice::WriteOnly);
            }
        }
    }
}

inline QByteArray desktopEntry(int index)
{
    static const char *const languages[] = {"de", "fr", "es",    "it", "ja", "nl", "pl", "pt_BR",
                                            "ru", "sv", "zh_CN", "cs", "da", "fi", "hu", "ko"};
    QByteArray text = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Application "
        + QByteArray::number(index) + "\nGenericName=Tool\nComment=Does things\n";
    for (const char *language : languages) {
        text += QByteArray("Name[") + language + "]=Application " + QByteArray::number(index) + " ("
            + language + ")\n";
        text += QByteArray("Comment[") + language + "]=Does things in " + language + "\n";
    }
    text += "Exec=true %U\nIcon=application-x-executable\nTerminal=false\n"
            "Categories=Utility;Development;\nStartupNotify=true\n";
    if (index % 10 == 0)
        text += "NoDisplay=true\n";
    return text;
}

// True once the agent's index is done and holds at least `wanted` entries.
inline bool waitIndexed(int wanted, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        const QVariantMap state = DBusNotificationCenter::fromWire(
                                      BenchAgent::status().value(QStringLiteral("documents")))
                                      .toMap();
        if (!state.isEmpty() && !state.value(QStringLiteral("indexing")).toBool()
            && state.value(QStringLiteral("entries")).toInt() >= wanted)
            return true;
        QThread::msleep(20);
    }
    return false;
}

} // namespace BenchHome
