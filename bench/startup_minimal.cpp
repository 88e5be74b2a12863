// The reference of bench_startup: the least a Qt Widgets program does to
// show a main window, built with the project's flags.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    window.show();
    return app.exec();
}
