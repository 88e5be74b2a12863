#pragma once
// The project commands of the main window: new, open a project, open and run
// a batch script, save and save as, and the one entry that opens a file
// (OtworzPlik). Each command that would replace an open project with unsaved
// work asks first whether to save it.

#include "ProjectLoader.h"
#include "ScriptRunner.h"

#include <QString>

namespace kelbrin {

class ProjectWindow;

class ProjectController {
public:
    explicit ProjectController(ProjectWindow& window);

    // Opens a project file (isScript false) or runs a batch script. True only
    // when a project file was read to its end. quiet: ask nothing about
    // missing sources.
    bool OtworzPlik(const QString& path, bool updateRecent, bool isScript, bool quiet);
    bool Zapisz(bool updateRecent, bool& keepName, const QString& projectName);
    void ResetProject();

    // The menu commands.
    void NewProject();  // File New
    void OpenProject(); // File Open project
    void OpenScript();  // File Open batch script
    void Save();        // File Save
    void SaveAs();      // File Save as

    // With open source files, asks whether to save first (Yes, No, Cancel).
    // False when the user cancelled or the save failed.
    bool SaveChangesFirst(bool updateRecent);

    QString MissingSourceFolder() const { return m_loader.MissingSourceFolder; }

private:
    bool openProject(const QString& path, bool updateRecent, bool quiet);
    void openChosenFile(int filterText, const QString& pattern, bool isScript);

    ProjectWindow& m_window;
    ProjectLoader m_loader;
    ScriptRunner m_scripts;
};

} // namespace kelbrin
