#include "FileMenu.h"

#include "AutoSave.h"
#include "MainMenus.h"
#include "RecentProjectsMenu.h"
#include "core/app/BusyRefusal.h"
#include "core/project/ProjectController.h"
#include "core/project/ProjectWindow.h"

#include <QAction>

namespace kelbrin {

FileMenu::FileMenu(const MainMenus& menus, ProjectWindow& window, ProjectController& project,
                   std::unique_ptr<FileMenuWindow> mainWindow, QObject* parent, int autosaveInterval)
    : QObject(parent), m_menus(menus), m_window(window), m_project(project), m_mainWindow(std::move(mainWindow)) {
    m_recent = new RecentProjectsMenu(menus, this);
    m_autosave = new AutoSave(m_window, m_project, this, autosaveInterval);

    wire("mnuFile_Nowy", &FileMenu::mnuFile_Nowy_Click);
    wire("mnuFile_O", &FileMenu::mnuFile_O_Click);
    wire("mnuFile_Skrypt", &FileMenu::mnuFile_Skrypt_Click);
    wire("mnuFile_S", &FileMenu::mnuFile_S_Click);
    wire("mnuFile_Z", &FileMenu::mnuFile_Z_Click);
    wire("mnuFile_Add", &FileMenu::mnuFile_Add_Click);
    wire("mnuFile_Save", &FileMenu::mnuFile_Save_Click);
    if (QAction* exit = m_menus.item(QStringLiteral("mnuPlik_End(0)"))) {
        exit->setEnabled(true);
        connect(exit, &QAction::triggered, this, [this] { mnuPlik_End_Click(0); });
    }
    connect(m_recent, &RecentProjectsMenu::itemChosen, this, &FileMenu::mnuPlik_End_Click);
}

FileMenu::~FileMenu() = default;

void FileMenu::wire(const char* name, void (FileMenu::*handler)()) {
    QAction* a = m_menus.item(QLatin1String(name));
    if (!a)
        return;
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
}

bool FileMenu::tracksHeld() const { return m_mainWindow->tracksHeld(); }

void FileMenu::mnuFile_Nowy_Click() {
    if (!tracksHeld())
        m_project.NewProject();
}
void FileMenu::mnuFile_O_Click() {
    if (!tracksHeld())
        m_project.OpenProject();
}
void FileMenu::mnuFile_Skrypt_Click() {
    if (!tracksHeld())
        m_project.OpenScript();
}
void FileMenu::mnuFile_S_Click() { m_project.Save(); }
void FileMenu::mnuFile_Z_Click() { m_project.SaveAs(); }

void FileMenu::mnuFile_Add_Click() {
    // With the add button off (the split dialog open) the add command brings
    // that dialog forward.
    if (ReadyOrSayBusy(m_window.IsReady()))
        m_mainWindow->addTrack();
}

void FileMenu::mnuFile_Save_Click() {
    if (ReadyOrSayBusy(m_window.IsReady()))
        m_mainWindow->exportTracks();
}

void FileMenu::mnuPlik_End_Click(int index) {
    if (index == 0) {
        m_mainWindow->exitProgram();
        return;
    }
    const QString path = m_recent->ItemPath(index);
    if (index < 2 || index > 5 || path.isEmpty() || tracksHeld())
        return;
    if (!m_project.SaveChangesFirst(false))
        return;
    // The list keeps its order; only the mark moves to the item opened. A
    // project saved under a new name first went to the top and moved the
    // chosen item down (or off the list).
    if (!m_project.OtworzPlik(path, false, false, false))
        return;
    int shown = m_recent->ItemPath(index) == path ? index : 0;
    for (int k = 2; k <= 5 && shown == 0; ++k)
        if (m_recent->ItemPath(k) == path)
            shown = k;
    m_recent->SetCheckedItem(shown);
}

} // namespace kelbrin
