#pragma once
// The editor's main window: the drawing surface, the tree and list of tracks,
// the track panel, the help panel, the tool frame and the progress bar. It is
// the host of every long operation: the progress procedures yield to the
// event loop, and while an operation runs (blnClose False) the window cannot
// close and project-changing commands are refused.

#include "MainKeys.h"
#include "MainMenus.h"
#include "core/app/KeyUpTable.h"
#include "core/document/FrameScanHost.h"
#include "gui/editor/cListView.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace kelbrin {

class cPozycjaMP3;
class cPozycjaPlikow;
class cPozycjeMP3;
class DelayTimers;
class EditorController;
class FileMenu;
class MainPlayer;
class MainClose;
class MainKeys;
class PanelSplitters;
class ViewMenus;
class MainSourceToolHost;
class ProjectCommands;
class ScriptExport;
class TrackCommandSet;
class TrackPanel;
class TrackPanelFrame;
class TreeNavigator;
struct ProgramObjects;

class frmDazudizi : public QMainWindow, public FrameScanHost, private KeyCommandTarget {
    Q_OBJECT
public:
    // `program`: the owners of the program's state, which outlive the window.
    explicit frmDazudizi(ProgramObjects& program, QWidget* parent = nullptr);
    ~frmDazudizi() override;

    // The one main window of the run (null before it exists).
    static frmDazudizi* Instance();

    void PokazMnie();
    bool OtworzPlik(const QString& path, int mode, bool isScript, bool fromRecorder);
    static QString TitleText();

    // The project's tracks; the project commands replace the collection.
    const std::shared_ptr<cPozycjeMP3>& cPozycje() const { return m_cPozycje; }
    // The track chosen in the tree, the list or on the surface (0: none).
    std::int32_t lngSelectedTrack() const { return m_lngSelectedTrack; }
    void SetSelectedTrack(std::int32_t number) { m_lngSelectedTrack = number; }
    // The track copied or cut, waiting for a paste.
    const std::shared_ptr<cPozycjaMP3>& CpozSchowek() const { return m_CpozSchowek; }
    void ReleaseClipboardTrack() { m_CpozSchowek.reset(); }
    double ProjectDateValue() const { return m_ProjectDate; }
    void SetProjectDateValue(double value) { m_ProjectDate = value; }
    int NodeSize() const { return m_NodeSize; } // twips
    int FontSize() const { return m_FontSize; }

    // Progress bar and busy pointer (the frame scanner and the save engine drive them).
    void MaxProgress(std::int64_t maximum) override;
    void UstawProgress(std::int64_t value) override;
    void ZerujProgress() override;
    // Clears the progress bar and the hourglass that a long operation left.
    void EndProgress();
    void SetProgressColour(std::uint32_t colour) override;
    void SetBusyPointer(bool busy) override;
    bool IsCaptureFileOpen() override;
    std::optional<SourceFileChoice> ChooseSourceFiles(const SourceFileDialog& dialog) override;
    double ProgressMaximum() const { return m_progressMax; }

    // Opens source files through the frame scanner with this window as its host.
    QString OpenSourceFile(std::shared_ptr<cPozycjaPlikow>& file, bool& buildIndex, bool asNewFile,
                           const QString& title, const cPozycjaMP3* track, bool noTimeLimit,
                           bool offerMediaFiles, QString& folder, std::int32_t filterIndex);

    // A new track through the split dialog (the add button and its twins).
    void cmdDodaj_Click();

    // True while no long operation runs; a command that would change the
    // project asks this first and otherwise says why it does nothing.
    bool CanChangeProject() const { return m_blnClose; }
    // blnClose: false while a long operation holds the window.
    void SetReady(bool ready) { m_blnClose = ready; }
    // True while the export dialog is open: its list names tracks by their
    // places, so no command may remove, replace or reorder them. Says so.
    bool ExportDialogHoldsTracks();

    bool ClearTree();
    // Empties the undo history; undo and redo become disabled.
    void ClearUndoHistory();
    // The track graph editor: drawing surface, list, undo history.
    EditorController& Editor() const { return *m_editor; }
    // The Track menu's commands and their buttons.
    TrackCommandSet& Commands() const { return *m_commands; }
    // The track tree.
    TreeNavigator& Tree() const { return *m_tree; }
    // The File menu with the recent projects and the autosave.
    FileMenu& Files() const { return *m_fileMenu; }
    // New, open and save, as the rest of the program reaches them.
    ProjectCommands& Projects() const { return *m_projects; }
    // The close of the window; the recorder hands in its part of it.
    MainClose& Closing() const { return *m_close; }
    // The host of the tools that change source files.
    MainSourceToolHost& ToolHost() const { return *m_toolHost; }
    // One undo snapshot of the whole collection, before a change.
    void TworzUndo();
    // Repaints the graph after the collection changed from outside the editor
    // (project loading asks for the successor lists too) and rebuilds the list.
    void DrawTrackGraph(bool rebuildSuccessors);
    void Form_Resize();
    void LoadLang();
    void ShowHelpText(const QString& text);

    // The sequence player with its buttons (its pause flag is blnPause).
    ProgramObjects& Objects() const { return m_program; }
    MainPlayer& Player() const { return *m_player; }
    // The export a batch script runs in this window; a test may put its own
    // in (the previous one is given back).
    ScriptExport& ScriptExporter() const { return *m_scriptExport; }
    std::unique_ptr<ScriptExport> SetScriptExporter(std::unique_ptr<ScriptExport> exporter);
    const MainMenus& Menus() const { return m_menus; }
    // The track panel with its preview.
    TrackPanel& Panel() const { return *m_panel; }
    DelayTimers& Timers() { return *m_timers; }
    // The View, Options and Info menus.
    ViewMenus& Views() const { return *m_views; }
    PanelSplitters& Splitters() const { return *m_splitters; }

    // The recording windows plug in here: the recording options dialog
    // (Options > Recording options) and the recorder window (the Record
    // button). Until one does, its command stays disabled.
    void SetRecordingOptionsWindow(std::function<void()> show);
    void SetRecorderWindow(std::function<void()> show);

    // Controls, by their names.
    QTreeWidget* tvwNodes() const { return m_tvwNodes; }
    QTreeWidget* lvwNodes() const { return m_lvwNodes; }
    QWidget* picWork() const { return m_picWork; }
    TrackPanelFrame* fraAudio() const { return m_fraAudio; }
    QGroupBox* fraHelp() const { return m_fraHelp; }
    QLabel* lblHelp() const { return m_lblHelp; }
    QFrame* fraTools() const { return m_fraTools; }
    QPushButton* cmdSave() const { return m_cmdSave; }
    QPushButton* cmdDodaj() const { return m_cmdDodaj; }
    QPushButton* cmdKlon() const { return m_cmdKlon; }
    QPushButton* cmdRecord() const { return m_cmdRecord; }
    QLabel* lblTrackInfo() const { return m_lblTrackInfo; }
    QLabel* lblProgress() const { return m_lblProgress; }
    QFrame* shpPostep() const { return m_shpPostep; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void buildControls();
    void buildClientWidgets(QWidget* client);
    void wireToolMenuItems();
    void buildEditor(QWidget* client);
    void wireSettingsMenuItems();
    void buildTreeAndPlayer();
    void buildToolButtons();
    void wireHelpEdge();
    void wireProjectCommands();
    void wireTrackPanel();
    KeyUpState keyUpState() const override;
    void runKeyCommand(KeyCommand command) override;
    void restorePlacement();

    // ProjectWindow::Tracks hands out the collection itself.
    friend class ProjectCommands;

    std::shared_ptr<cPozycjeMP3> m_cPozycje;
    bool m_blnClose = false;
    std::int32_t m_lngSelectedTrack = 0;
    std::shared_ptr<cPozycjaMP3> m_CpozSchowek;
    // The project's date as its file stores it.
    double m_ProjectDate = 0;
    int m_NodeSize = 450; // twips
    int m_FontSize = 8;

    QTreeWidget* m_tvwNodes = nullptr;
    QTreeWidget* m_lvwNodes = nullptr;
    QWidget* m_picWork = nullptr;
    TrackPanelFrame* m_fraAudio = nullptr;
    QGroupBox* m_fraHelp = nullptr;
    QLabel* m_lblHelp = nullptr;
    QFrame* m_fraTools = nullptr;
    QPushButton* m_cmdSave = nullptr;
    QPushButton* m_cmdDodaj = nullptr;
    QPushButton* m_cmdKlon = nullptr;
    QPushButton* m_cmdRecord = nullptr;
    QLabel* m_lblTrackInfo = nullptr;
    QLabel* m_lblProgress = nullptr;
    QFrame* m_shpPostep = nullptr;

    MainMenus m_menus;
    DelayTimers* m_timers = nullptr;
    EditorController* m_editor = nullptr;
    TrackCommandSet* m_commands = nullptr;
    TreeNavigator* m_tree = nullptr;
    MainPlayer* m_player = nullptr;
    std::unique_ptr<ProjectCommands> m_projects;
    FileMenu* m_fileMenu = nullptr;
    std::unique_ptr<MainClose> m_close;
    std::unique_ptr<MainSourceToolHost> m_toolHost;
    cListView m_lvwStyle;
    double m_progressMax = 0;
    bool m_hourglass = false;
    bool m_loaded = false;
    ProgramObjects& m_program;
    TrackPanel* m_panel = nullptr;
    ViewMenus* m_views = nullptr;
    PanelSplitters* m_splitters = nullptr;
    MainKeys* m_keys = nullptr;
    std::unique_ptr<ScriptExport> m_scriptExport;
};

} // namespace kelbrin
