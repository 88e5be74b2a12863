#pragma once
// The File menu of the main window: new project, open project, open batch
// script, save, save as, add a source file, export, exit and the recent
// projects, with the autosave timer that keeps the open project's file up to
// date. The project commands do the opening and saving.

#include <QObject>
#include <memory>

namespace kelbrin {

class AutoSave;
class ProjectController;
class ProjectWindow;
class RecentProjectsMenu;
struct MainMenus;

// What the File menu asks of the main window beyond the project commands.
class FileMenuWindow {
public:
    virtual ~FileMenuWindow() = default;
    // frmDazudizi::cmdDodaj_Click (brings an open split dialog forward).
    virtual void addTrack() = 0;
    virtual void exportTracks() = 0; // the export dialog
    virtual void exitProgram() = 0;  // closes the main window
    // True (having said why) while the tracks may not be replaced.
    virtual bool tracksHeld() = 0;
};

class FileMenu : public QObject {
    Q_OBJECT
public:
    // `window` is what the project commands work on; `mainWindow` does the
    // rest (owned from here on); `autosaveInterval` in ms.
    FileMenu(const MainMenus& menus, ProjectWindow& window, ProjectController& project,
             std::unique_ptr<FileMenuWindow> mainWindow, QObject* parent = nullptr, int autosaveInterval = 60000);
    ~FileMenu() override;

    RecentProjectsMenu& recent() { return *m_recent; }
    AutoSave& autosave() { return *m_autosave; }

    void mnuFile_Nowy_Click();
    void mnuFile_O_Click();
    void mnuFile_Skrypt_Click();
    void mnuFile_S_Click();
    void mnuFile_Z_Click();
    void mnuFile_Add_Click();
    void mnuFile_Save_Click();
    void mnuPlik_End_Click(int index);

private:
    void wire(const char* name, void (FileMenu::*handler)());

    const MainMenus& m_menus;
    ProjectWindow& m_window;
    ProjectController& m_project;
    bool tracksHeld() const;

    std::unique_ptr<FileMenuWindow> m_mainWindow;
    RecentProjectsMenu* m_recent;
    AutoSave* m_autosave;
};

} // namespace kelbrin
