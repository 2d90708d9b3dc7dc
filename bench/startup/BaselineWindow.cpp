// The start-up benchmark's baselines: the smallest Qt Widgets program that
// shows one window; with "--text" the window shows one line of text, which
// adds the font system's start (font configuration, one font loaded).
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv)
{
    const bool withText = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(320, 200);
    if (withText)
        (new QLabel(QStringLiteral("Startwert-Bildbreite:"), &window))->move(10, 10);
    window.show();
    return app.exec();
}
