#pragma once
// The list of open source files: close a file that no track uses, or open
// the tag editor for one.

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

class QListWidget;
class QPushButton;

namespace kelbrin {

class cPozycjaPlikow;
class cPozycjeMP3;

class frmPliki : public QDialog {
    Q_OBJECT
public:
    // What the window needs of the main window and of the tag editor.
    struct Services {
        std::function<std::shared_ptr<cPozycjeMP3>()> tracks;
        std::function<void()> clearUndoHistory;
        // Opens the tag editor for a file; empty while there is no tag editor.
        std::function<void(std::shared_ptr<cPozycjaPlikow>)> openTagEditor;
        // False while a long operation runs; no file is closed meanwhile.
        std::function<bool()> canChangeFiles;
    };

    // Shows the window, modeless, once; with no open file says so instead.
    static frmPliki* PokazMnie(const Services& services, QWidget* parent = nullptr);

    QListWidget* lstFile;
    QPushButton* cmdUsun;
    QPushButton* cmdTAG;
    QPushButton* cmdOK;

    void lstFile_Click();
    void lstFile_DblClick();
    void cmdUsun_Click();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frmPliki(const Services& services, QWidget* parent);
    void Form_Load();
    std::int32_t selectedFilePosition() const;

    Services m_services;
    static QPointer<frmPliki> s_instance;
};

} // namespace kelbrin
