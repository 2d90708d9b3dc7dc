// The start-up benchmark's baseline: the smallest Qt Widgets program that
// shows one window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(320, 200);
    window.show();
    return app.exec();
}
