// A program with one window, launched by the end-to-end launch tests. It prints each key it is
// typed ("key Ctrl+V"), for the tests of keys sent to the window in front.
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QRasterWindow>
#include <QTimer>

#include <cstdio>

namespace {

class KeyWindow : public QRasterWindow
{
protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Control)
            return;
        std::printf("key %s\n", qPrintable(QKeySequence(event->keyCombination()).toString()));
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char **argv)
{
    // The test programs draw off screen; this window must reach the X display.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    KeyWindow window;
    window.setTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Test window"));
    window.resize(320, 200);
    window.show();
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
