#pragma once
// The main window's project commands: New, Open project, Open batch script,
// Save, Save as, and OtworzPlik / Zapisz / ResetProject for the other callers.
// The work is done by the core's ProjectController; this class is the window
// it works on. The drawing surface and the list are drawn from the collection
// (DrawTrackGraph); what other parts of the window own (the tree, the
// autosave timer, the recent menu, the players) is reached through the main
// window's accessors.

#include "core/project/ProjectController.h"
#include "core/project/ProjectWindow.h"

namespace kelbrin {

class frmDazudizi;

class ProjectCommands final : public ProjectWindow {
public:
    explicit ProjectCommands(frmDazudizi& window);

    ProjectController& controller() { return m_controller; }

    // Menu commands.
    void mnuFile_Nowy_Click() { m_controller.NewProject(); }
    void mnuFile_O_Click() { m_controller.OpenProject(); }
    void mnuFile_Skrypt_Click() { m_controller.OpenScript(); }
    void mnuFile_S_Click() { m_controller.Save(); }
    void mnuFile_Z_Click() { m_controller.SaveAs(); }

    bool OtworzPlik(const QString& path, bool updateRecent, bool isScript, bool quiet) {
        return m_controller.OtworzPlik(path, updateRecent, isScript, quiet);
    }
    bool Zapisz(bool updateRecent, bool& keepName, const QString& projectName) {
        return m_controller.Zapisz(updateRecent, keepName, projectName);
    }
    void ResetProject() { m_controller.ResetProject(); }

    // ProjectWindow
    EditorSession& Session() override;
    LoadedSettings& Loaded() override;
    ScriptExport& ScriptExporter() override;
    std::shared_ptr<cPozycjeMP3>& Tracks() override;
    double ProjectDateValue() const override;
    void SetProjectDateValue(double value) override;
    void SetSelectedTrack(std::int32_t number) override;
    void ReleaseClipboardTrack() override;
    void ClearUndoHistory() override;
    void ReleasePreviewPlayer() override;
    bool IsReady() const override;
    void SetReady(bool ready) override;
    bool IsPlayerIdle() const override;
    void StopPlayer() override;
    void SetInputEnabled(bool enabled) override;
    void SetBusyPointer(bool busy) override;
    FrameScanHost& ScanHost() override;
    bool SettleHeaderEdits() override;
    void ClearTrackViews() override;
    void RebuildTree() override;
    void SetTreeRootText(const QString& text) override;
    void ShowLoadedTrack(const cPozycjaMP3& track, std::uint32_t colour, bool listed) override;
    void FinishProjectLoad() override;
    void SetCloneEnabled(bool enabled) override;
    ProjectGeometry Geometry() const override;
    void SetTemplateBoxPosition(std::int32_t left, std::int32_t top) override;
    void SetAutosave(bool on) override;
    QString ProjectFile() const override;
    void SetProjectFile(const QString& path) override;
    void SetCheckedRecentItem(int element) override;
    void RefreshRecentMenu() override;
    QString ChooseFile(const QString& initialFolder, const QString& filter, int& filterIndex,
                       bool save) override;
    QString ChooseFolder(const QString& title, int titleNumber) override;

private:
    frmDazudizi& m_window;
    ProjectController m_controller;
    QString m_projectFile;
};

} // namespace kelbrin
