#pragma once
// The main window's project commands: New, Open project, Open batch script,
// Save, Save as, and OtworzPlik / Zapisz / ResetProject for the other callers.
// The work is done by the core's ProjectController; this class is the window
// it works on. The drawing surface and the list are drawn from the collection
// (DrawTrackGraph); what other parts own (the tree, the autosave timer, the
// recent menu, the player) is reached through the seams below, which the main
// window fills; each has a harmless default.

#include "core/project/ProjectController.h"
#include "core/project/ProjectWindow.h"

#include <functional>

namespace kelbrin {

class frmDazudizi;

struct ProjectViewSeams {
    // A track just loaded from a project, with its box colour and whether its
    // source exists (only then does it get a list row).
    std::function<void(const cPozycjaMP3& track, std::uint32_t colour, bool listed)>
        showLoadedTrack;
    // After a load, once the links are drawn: the tree's start node opened.
    std::function<void()> openStartNode;
    // PokazMnieTvw: the tree with its root and start nodes only. Default: ClearTree.
    std::function<void()> rebuildTree;
    // The tree's root node text. Default: the first top-level item's text.
    std::function<void(const QString&)> setTreeRootText;
    // TmrSave on or off.
    std::function<void(bool)> setAutosave;
    // RefreshRecentMenu. Default: items 1 to 5 of mnuPlik_End from F1..F4.
    std::function<void()> refreshRecentMenu;
    // The check mark on mnuPlik_End(2..5); 0 clears it. Default: the items' own marks.
    std::function<void(int)> setCheckedRecentItem;
    // The open project's file, when another object keeps it. Default: kept here.
    std::function<QString()> projectFile;
    std::function<void(const QString&)> setProjectFile;
    // False while the player runs (cmdPlay disabled). Default: true.
    std::function<bool()> isPlayerIdle;
    // The track panel's preview player released.
    std::function<void()> releasePreviewPlayer;
    // cmdKlon. Default: a button of that name, when there is one.
    std::function<void(bool)> setCloneEnabled;
    // The design-time box (element 0) of the drawing surface, in twips.
    std::function<QPoint()> templateBoxPosition;
    std::function<void(std::int32_t, std::int32_t)> setTemplateBoxPosition;
};

class ProjectCommands final : public ProjectWindow {
public:
    explicit ProjectCommands(frmDazudizi& window);

    ProjectViewSeams seams;
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
    std::shared_ptr<cPozycjeMP3>& Tracks() override;
    QDate ProjectDate() const override;
    void SetProjectDate(const QDate& date) override;
    void SetSelectedTrack(std::int32_t number) override;
    void ReleaseClipboardTrack() override;
    void ClearUndoHistory() override;
    void ReleasePreviewPlayer() override;
    bool IsReady() const override;
    void SetReady(bool ready) override;
    bool IsPlayerIdle() const override;
    void SetInputEnabled(bool enabled) override;
    void SetBusyPointer(bool busy) override;
    FrameScanHost& ScanHost() override;
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
    QString ChooseFolder(const QString& title) override;

private:
    frmDazudizi& m_window;
    ProjectController m_controller;
    QString m_projectFile;
};

} // namespace kelbrin
