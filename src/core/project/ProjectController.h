#pragma once
// The project commands of the main window: new, open a project, open and run
// a batch script, save and save as, and the one entry that opens a file
// (OtworzPlik). Each command that would replace an open project with unsaved
// work asks first whether to save it.

#include "ProjectLoader.h"
#include "ScriptRunner.h"

#include <QByteArray>
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

    // Unwritten frame header edits are settled first; then, with open source
    // files, asks whether to save first (Yes, No, Cancel). False when the user
    // cancelled or a write or the save failed.
    bool SaveChangesFirst(bool updateRecent);

    QString MissingSourceFolder() const { return m_loader.MissingSourceFolder; }

    // Before an undo step is taken, undone or redone: the first such moment
    // after a save or an opening notes the project as its file holds it, when
    // nothing has changed yet.
    void BeforeUndoStep();
    // After an undo or redo: when the project is again exactly the one noted,
    // its tracks no longer count as changed, so closing does not ask to save
    // what the file already holds. Changes to the open files themselves
    // (edited frame headers) still count.
    void ForgetChangesIfSaved();

private:
    bool openProject(const QString& path, bool updateRecent, bool quiet);
    void openChosenFile(int filterText, const QString& pattern, bool isScript);
    void projectFileMatches(bool matches);
    bool unchanged() const;

    ProjectWindow& m_window;
    ProjectLoader m_loader;
    ScriptRunner m_scripts;
    // The bytes of the project as last saved or opened, taken only when an
    // undo step first needs them (opening a project does no more work);
    // empty while unknown or when the project has no file.
    QByteArray m_saved;
    bool m_savedPending = false;
};

} // namespace kelbrin
