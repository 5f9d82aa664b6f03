// A program with one window, launched by the end-to-end launch tests.
#include <QGuiApplication>
#include <QRasterWindow>
#include <QTimer>

int main(int argc, char **argv)
{
    // The test programs draw off screen; this window must reach the X display.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QRasterWindow window;
    window.setTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Test window"));
    window.resize(320, 200);
    window.show();
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
