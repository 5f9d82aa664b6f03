// Owns the display's CLIPBOARD as a password manager does: the text given, and with --secret the
// mark "x-kde-passwordManagerHint" = "secret" beside it. Prints "owner" once the clipboard is its
// own, and ends when another program takes it.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
        return 2;
    auto *mime = new QMimeData;
    mime->setText(arguments.at(1));
    if (arguments.contains(QStringLiteral("--secret")))
        mime->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    QClipboard *board = QGuiApplication::clipboard();
    board->setMimeData(mime);
    if (!board->ownsClipboard())
        return 1;
    std::puts("owner");
    std::fflush(stdout);
    QObject::connect(board, &QClipboard::changed, &app, [board](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !board->ownsClipboard())
            QCoreApplication::quit();
    });
    return app.exec();
}
