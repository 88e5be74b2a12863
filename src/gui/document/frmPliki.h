#pragma once
// The list of open source files: close a file that no track uses, or open
// the tag editor for one.

#include "gui/app/KeyPressedHere.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QListWidget;
class QPushButton;

namespace kelbrin {

class cPozycjaPlikow;
struct EditorSession;
class cPozycjeMP3;

// What the list needs of the window that owns the project, and of the tag editor.
class OpenFilesOwner {
public:
    virtual ~OpenFilesOwner() = default;
    // The session whose open files the window lists and closes.
    virtual EditorSession& session() const = 0;
    virtual std::shared_ptr<cPozycjeMP3> tracks() const = 0;
    virtual void clearUndoHistory() = 0;
    // The file with this path was closed: what still refers to it goes.
    virtual void fileClosed(const QString& path) { Q_UNUSED(path); }
    // False while there is no tag editor.
    virtual bool canOpenTagEditor() const = 0;
    virtual void openTagEditor(std::shared_ptr<cPozycjaPlikow> file) = 0;
    // False while a long operation runs; no file is closed meanwhile.
    virtual bool canChangeFiles() const = 0;
};

class frmPliki : public QDialog {
    Q_OBJECT
public:
    // Shows the window, modeless, once; with no open file says so instead.
    // A window already open keeps the owner it has.
    static frmPliki* PokazMnie(std::unique_ptr<OpenFilesOwner> owner, QWidget* parent = nullptr);

    QListWidget* lstFile;
    QPushButton* cmdUsun;
    QPushButton* cmdTAG;
    QPushButton* cmdOK;

    void lstFile_Click();
    void lstFile_DblClick();
    void cmdUsun_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frmPliki(std::unique_ptr<OpenFilesOwner> owner, QWidget* parent);
    void Form_Load();
    std::int32_t selectedFilePosition() const;

    std::unique_ptr<OpenFilesOwner> m_owner;
    KeyPressedHere m_enter{Qt::Key_Return, Qt::Key_Enter};
    static QPointer<frmPliki> s_instance;
};

} // namespace kelbrin
