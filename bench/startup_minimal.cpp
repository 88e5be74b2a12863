// The reference of bench_startup: the least a Qt Widgets program does to
// show a main window, built with the project's flags. With "--text" the
// window shows one line of text, so the program pays what any window with
// text pays first (the font configuration read and a font loaded).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include <cstring>

int main(int argc, char** argv) {
    const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication app(argc, argv);
    QMainWindow window;
    if (text)
        window.setCentralWidget(new QLabel(QStringLiteral("Kelbrin"), &window));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
