#pragma once
// The File menu of the main window: new project, open project, open batch
// script, save, save as, add a source file, export, exit and the recent
// projects, with the autosave timer that keeps the open project's file up to
// date. The project commands do the opening and saving.

#include <QObject>
#include <functional>

namespace kelbrin {

class AutoSave;
class ProjectController;
class ProjectWindow;
class RecentProjectsMenu;
struct MainMenus;

class FileMenu : public QObject {
    Q_OBJECT
public:
    struct Services {
        std::function<void()> addTrack;      // cmdDodaj_Click (brings an open split dialog forward)
        std::function<void()> exportTracks;  // the export dialog
        std::function<void()> exitProgram;   // closes the main window
        // True (having said why) while the tracks may not be replaced.
        std::function<bool()> tracksHeld;
    };

    // `window` is what the project commands work on; `autosaveInterval` in ms.
    FileMenu(const MainMenus& menus, ProjectWindow& window, ProjectController& project, Services services,
             QObject* parent = nullptr, int autosaveInterval = 60000);

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

    Services m_services;
    RecentProjectsMenu* m_recent;
    AutoSave* m_autosave;
};

} // namespace kelbrin
