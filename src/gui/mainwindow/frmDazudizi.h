#pragma once
// The editor's main window. Closing it ends the program.

#include <QMainWindow>

namespace kelbrin {

class frmDazudizi : public QMainWindow {
    Q_OBJECT
public:
    explicit frmDazudizi(QWidget* parent = nullptr);

    // Shows the window (its load runs inside).
    void PokazMnie();
    // Opens a project, or runs a batch script; true when the file was opened.
    bool OtworzPlik(const QString& path, int mode, bool isScript, bool fromRecorder);

    // The window title: text 101 with the program's version.
    static QString TitleText();

private:
    void Form_Load();
};

} // namespace kelbrin
