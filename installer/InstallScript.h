#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The model read from "installscript.txt": the product's header and its three step lists. A list
// whose group is missing stays absent and counts as zero steps.
struct InstallScript {
    QString appName;
    QString iconName;
    QString bundleName;
    QString newsName;
    std::optional<QStringList> installSteps;
    std::optional<QStringList> uninstallSteps;
    std::optional<QStringList> uninstallIgnoreSettingsSteps;

    // Script lines are split at tabs; these prefixes name what a step does.
    static inline const QString ApplTag = QStringLiteral("_appl\t");
    static inline const QString QuitTag = QStringLiteral("_quit\t");
    static inline const QString TrashTag = QStringLiteral("_trash\t");
    static inline const QString TrashNoErrTag = QStringLiteral("_trashNoErr\t");
    static inline const QString CopyTag = QStringLiteral("_copy\t");
    static inline const QString LaunchTag = QStringLiteral("_launch\t");

    static qsizetype stepCount(const std::optional<QStringList> &steps)
    {
        return steps ? steps->size() : 0;
    }
    // The installer can run: the script was read and has install steps.
    bool isCorrect() const { return stepCount(installSteps) > 0; }
};

// Reads the script. Its bytes come from outside (a script may be edited by hand and saved in any
// of the old encodings), so nothing in them is trusted.
class InstallScriptReader
{
public:
    static inline const QString FileName = QStringLiteral("installscript.txt");
    static inline const QString GroupSeparator = QStringLiteral("{GROUP}");

    // The script of a resource folder; an empty model when the file cannot be read.
    static InstallScript readScriptInFolder(const QString &resourceFolder);
    static InstallScript readScript(const QByteArray &bytes);

    // UTF-8, else Mac OS Roman, else ISO Latin 1, else ASCII: the first that decodes to a
    // non-empty text.
    static QString decodeScript(const QByteArray &bytes);
    static QString decodeMacRoman(const QByteArray &bytes);

    // The installer's strings table.
    static inline const QString Table = QStringLiteral("Installer");

    // The text of the information drawer: a header, then one line per step that acts.
    static QString stepDescriptions(const QStringList &steps, const QString &appName,
                                    bool installList);

    // The kept lines of one group: longer than five characters and not a "/" comment.
    static QStringList groupLines(const QString &group);
};
