#pragma once
// What opening, saving and resetting a project need of the main window: the
// model it holds, the views to refresh, its dialogs and its chrome. The main
// window implements it; tests use a fake, so every project procedure runs
// headless.

#include <QString>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;
class FrameScanHost;
class ScriptExport;
struct EditorSession;
struct LoadedSettings;

// The window values the project header carries, in twips.
struct ProjectGeometry {
    std::int32_t innerWidth = 0;
    std::int32_t innerHeight = 0;
    std::int32_t templateLeft = 0; // the design-time box (element 0)
    std::int32_t templateTop = 0;
};

class ProjectWindow {
public:
    virtual ~ProjectWindow() = default;

    // The editing session the project fills (open files, next numbers) and
    // the loaded settings its dialogs start from.
    virtual EditorSession& Session() = 0;
    virtual LoadedSettings& Loaded() = 0;
    // The export a batch script hands its tracks to.
    virtual ScriptExport& ScriptExporter() = 0;

    // The model.
    virtual std::shared_ptr<cPozycjeMP3>& Tracks() = 0;
    // The project's date as its file stores it: days from 30 December 1899,
    // the fraction the time of day. Kept as read, so a save gives it back.
    virtual double ProjectDateValue() const = 0;
    virtual void SetProjectDateValue(double value) = 0;
    virtual void SetSelectedTrack(std::int32_t number) = 0;
    virtual void ReleaseClipboardTrack() = 0;
    virtual void ClearUndoHistory() = 0; // also disables the undo and redo buttons
    virtual void ReleasePreviewPlayer() = 0;

    // The busy guard: false while a long operation runs; commands that would
    // replace the project refuse then, and the window cannot close.
    virtual bool IsReady() const = 0;
    virtual void SetReady(bool ready) = 0;
    // False while the player runs (the play button is disabled).
    virtual bool IsPlayerIdle() const = 0;
    // Ends the player's run, and a Play not yet started, before the tracks
    // it plays go.
    virtual void StopPlayer() = 0;
    virtual void SetInputEnabled(bool enabled) = 0;
    virtual void SetBusyPointer(bool busy) = 0;
    // The frame scanner's host (progress bar, open dialog).
    virtual FrameScanHost& ScanHost() = 0;
    // Before the open files are replaced: frame header edits not yet written
    // into their files are written or dropped as the user chooses. False when
    // the user cancelled or a write did not finish.
    virtual bool SettleHeaderEdits() = 0;

    // Views of the tracks.
    // After the collection was emptied: boxes, links, list rows, track panel,
    // pointer and layout show the empty project.
    virtual void ClearTrackViews() = 0;
    virtual void RebuildTree() = 0; // root and start nodes only
    virtual void SetTreeRootText(const QString& text) = 0;
    // A loaded track's box (in `colour`, 0x00BBGGRR) and, when listed, its list row.
    virtual void ShowLoadedTrack(const cPozycjaMP3& track, std::uint32_t colour, bool listed) = 0;
    // After a load: links rebuilt and drawn, pointer placed, the start node opened.
    virtual void FinishProjectLoad() = 0;
    virtual void SetCloneEnabled(bool enabled) = 0;
    virtual ProjectGeometry Geometry() const = 0;
    virtual void SetTemplateBoxPosition(std::int32_t left, std::int32_t top) = 0;

    // Chrome.
    virtual void SetAutosave(bool on) = 0;
    // The open project's file: set by every project file opened or saved,
    // cleared by a reset; empty while the project has none (Save then asks).
    virtual QString ProjectFile() const = 0;
    virtual void SetProjectFile(const QString& path) = 0;
    // The recent-project item (2..5) with the check mark; 0 clears every mark.
    virtual void SetCheckedRecentItem(int element) = 0;
    virtual void RefreshRecentMenu() = 0;

    // Dialogs. `filter` and `filterIndex` as ShowFileDialog takes them; an
    // empty result is a cancel.
    virtual QString ChooseFile(const QString& initialFolder, const QString& filter,
                               int& filterIndex, bool save) = 0;
    // `titleNumber`: the title's catalogue number (0 when it has none), which
    // an unattended run writes with what the dialog asked.
    virtual QString ChooseFolder(const QString& title, int titleNumber) = 0;
};

} // namespace kelbrin
