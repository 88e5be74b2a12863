#pragma once
// The project window of a run nobody watches: an unattended batch script,
// which ends the program once it has run. It holds the project and runs the
// script as the main window does, without building a single widget: nothing
// is drawn, the progress calls only let waiting events run (a stop request
// is heard as it is with the window, a few milliseconds later at most), and
// every dialog is answered as an unattended run answers it.

#include "core/document/FrameScanHost.h"
#include "core/project/ProjectController.h"
#include "core/project/ProjectWindow.h"
#include "core/project/ScriptExport.h"

#include <QElapsedTimer>
#include <memory>

namespace kelbrin {

struct ProgramObjects;

class UnseenProjectWindow final : public ProjectWindow, private FrameScanHost, private ScriptExport {
public:
    explicit UnseenProjectWindow(ProgramObjects& program);

    // As the main window's OtworzPlik: opens a project, or runs a batch script.
    bool OtworzPlik(const QString& path, int mode, bool isScript, bool quiet);
    // Asked from outside to end: an export running ends after the piece it
    // writes, so a service manager's stop is not held up by the whole run.
    void RequestEnd() { m_endRequested = true; }

    // ProjectWindow
    EditorSession& Session() override;
    LoadedSettings& Loaded() override;
    ScriptExport& ScriptExporter() override { return *this; }
    std::shared_ptr<cPozycjeMP3>& Tracks() override { return m_tracks; }
    double ProjectDateValue() const override { return m_projectDate; }
    void SetProjectDateValue(double value) override { m_projectDate = value; }
    void SetSelectedTrack(std::int32_t) override {}
    void ReleaseClipboardTrack() override {}
    void ClearUndoHistory() override {}
    void ReleasePreviewPlayer() override {}
    bool IsReady() const override { return m_ready; }
    void SetReady(bool ready) override { m_ready = ready; }
    bool IsPlayerIdle() const override { return true; }
    void StopPlayer() override {}
    void SetInputEnabled(bool) override {}
    void SetBusyPointer(bool busy) override;
    FrameScanHost& ScanHost() override { return *this; }
    bool SettleHeaderEdits() override { return true; } // no tool window could edit one
    void ClearTrackViews() override {}
    void RebuildTree() override {}
    void SetTreeRootText(const QString&) override {}
    void ShowLoadedTrack(const cPozycjaMP3&, std::uint32_t, bool) override {}
    void FinishProjectLoad() override {}
    void SetCloneEnabled(bool) override {}
    ProjectGeometry Geometry() const override { return {}; }
    void SetTemplateBoxPosition(std::int32_t, std::int32_t) override {}
    void SetAutosave(bool) override {}
    QString ProjectFile() const override { return m_projectFile; }
    void SetProjectFile(const QString& path) override { m_projectFile = path; }
    void SetCheckedRecentItem(int) override {}
    void RefreshRecentMenu() override {}
    QString ChooseFile(const QString& initialFolder, const QString& filter, int& filterIndex,
                       bool save) override;
    QString ChooseFolder(const QString& title, int titleNumber) override;

private:
    // FrameScanHost
    void MaxProgress(std::int64_t) override {}
    void UstawProgress(std::int64_t value) override;
    void ZerujProgress() override {}
    void SetProgressColour(std::uint32_t) override {}
    bool IsCaptureFileOpen() override;
    std::optional<SourceFileChoice> ChooseSourceFiles(const SourceFileDialog& dialog) override;

    // ScriptExport
    void Run(const ScriptExportRequest& request) override;

    // Lets waiting events run, unless they just did: progress comes for
    // every piece and every chunk.
    void letEventsRun();
    QElapsedTimer m_eventsRan;

    ProgramObjects& m_program;
    std::shared_ptr<cPozycjeMP3> m_tracks;
    double m_projectDate = 0;
    QString m_projectFile;
    bool m_ready = true;
    bool m_endRequested = false;
    ProjectController m_controller;
};

} // namespace kelbrin
