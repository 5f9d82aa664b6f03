// Another program saving a list in a loop, for the tests of saves that meet: each save adds one
// record "PREFIX N" to the list named, through the same ListFile every program uses.
//   korvale-test-saver FILE PREFIX COUNT
#include "ClipboardList.h"
#include "CommonKorvaleClass.h"
#include "ListFile.h"
#include "PasteboardContents.h"
#include "ToDoItems.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    const QString fileName = args.at(1);
    const QString prefix = args.at(2);
    const int count = args.at(3).toInt();
    const bool clipboard = fileName == DataFileName::Clipboard;
    ListFile file(fileName, {},
                  clipboard ? ListFile::Sort(&ClipboardList::sortList)
                            : ListFile::Sort(&ToDoItems::sort));
    QVariantList list = file.read();
    for (int i = 0; i < count; ++i) {
        const QString title = QStringLiteral("%1 %2").arg(prefix).arg(i);
        if (clipboard)
            ClipboardList::add(list, title,
                               PasteboardContents::pack({{PasteboardContents::TypeString,
                                                          QVariantMap{{"string", title}}}}));
        else
            list.append(ToDoItems::newRecord(title, QDateTime::currentDateTimeUtc(), false));
        if (!file.save(list)) {
            std::fprintf(stderr, "%s\n", qPrintable(file.lastFailure().reasonText()));
            return 1;
        }
    }
    return 0;
}
