#include "ProjectCommands.h"

#include "MainSourceToolHost.h"
#include "TrackPanelFrame.h"
#include "frmDazudizi.h"
#include "core/app/ProgramObjects.h"
#include "gui/app/BusyPointer.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TreeNavigator.h"
#include "core/playback/SequencePlayer.h"
#include "gui/playback/MainPlayer.h"
#include "AutoSave.h"
#include "FileMenu.h"
#include "RecentProjectsMenu.h"
#include "TrackPanel.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/Twips.h"
#include "gui/document/UnwrittenHeaderEdits.h"
#include "gui/document/SourceToolWindows.h"

#include <QAction>
#include <QPushButton>
#include <QTreeWidget>

namespace kelbrin {

ProjectCommands::ProjectCommands(frmDazudizi& window) : m_window(window), m_controller(*this) {}

EditorSession& ProjectCommands::Session() {
    return m_window.Objects().session;
}
LoadedSettings& ProjectCommands::Loaded() {
    return m_window.Objects().settings;
}
ScriptExport& ProjectCommands::ScriptExporter() {
    return m_window.ScriptExporter();
}

std::shared_ptr<cPozycjeMP3>& ProjectCommands::Tracks() {
    return m_window.m_cPozycje;
}
double ProjectCommands::ProjectDateValue() const {
    return m_window.ProjectDateValue();
}
void ProjectCommands::SetProjectDateValue(double value) {
    m_window.SetProjectDateValue(value);
}
void ProjectCommands::SetSelectedTrack(std::int32_t number) {
    m_window.SetSelectedTrack(number);
}
void ProjectCommands::ReleaseClipboardTrack() {
    m_window.ReleaseClipboardTrack();
}
void ProjectCommands::ClearUndoHistory() {
    m_window.ClearUndoHistory();
}

void ProjectCommands::ReleasePreviewPlayer() {
    m_window.Panel().ReleasePreview();
}

bool ProjectCommands::IsReady() const {
    return m_window.CanChangeProject();
}
void ProjectCommands::SetReady(bool ready) {
    m_window.SetReady(ready);
}
bool ProjectCommands::IsPlayerIdle() const {
    // A project is not replaced under a run of the player.
    return m_window.Player().isIdle();
}
void ProjectCommands::StopPlayer() {
    m_window.Player().player().Shutdown();
}
void ProjectCommands::SetInputEnabled(bool enabled) {
    m_window.setEnabled(enabled);
}

void ProjectCommands::SetBusyPointer(bool busy) {
    ShowBusyPointer(busy);
}

FrameScanHost& ProjectCommands::ScanHost() {
    return m_window;
}

bool ProjectCommands::SettleHeaderEdits() {
    return SettleUnwrittenHeaderEdits(m_window.ToolHost());
}

void ProjectCommands::ClearTrackViews() {
    // A link waiting for its second click, a drag or a selection point into
    // the collection that is going away: the next click must not use them.
    m_window.Editor().editor().resetSelection();
    SourceToolWindowsFollowOpenFiles();
    m_window.fraAudio()->hide();
    m_window.DrawTrackGraph(false);
    m_window.Form_Resize();
}

void ProjectCommands::RebuildTree() {
    m_window.Tree().PokazMnieTvw();
}

void ProjectCommands::SetTreeRootText(const QString& text) {
    m_window.Tree().SetRootText(text);
}

// The boxes, the list and the tree are drawn from the whole collection once
// the load is done (FinishProjectLoad).
void ProjectCommands::ShowLoadedTrack(const cPozycjaMP3&, std::uint32_t, bool) {}

void ProjectCommands::FinishProjectLoad() {
    // Successor lists from the stored links, boxes, links, pointer and list.
    m_window.DrawTrackGraph(true);
    SourceToolWindowsFollowOpenFiles();
    if (QTreeWidgetItem* start = m_window.Tree().ZnajdzNoda(0))
        m_window.Tree().tvwNodes_NodeClick(start);
}

void ProjectCommands::SetCloneEnabled(bool enabled) {
    if (auto* clone = m_window.findChild<QPushButton*>(QStringLiteral("cmdKlon")))
        clone->setEnabled(enabled);
}

ProjectGeometry ProjectCommands::Geometry() const {
    ProjectGeometry g;
    if (const QWidget* client = m_window.centralWidget()) {
        g.innerWidth = PxToTwips(client->width());
        g.innerHeight = PxToTwips(client->height());
    }
    // The design-time box (element 0) of the drawing surface, in twips.
    const QPoint p = m_window.Editor().editor().startBox().topLeft();
    g.templateLeft = p.x();
    g.templateTop = p.y();
    return g;
}

void ProjectCommands::SetTemplateBoxPosition(std::int32_t left, std::int32_t top) {
    m_window.Editor().editor().setStartBoxTopLeft(QPoint(left, top));
    m_window.Editor().update();
}

void ProjectCommands::SetAutosave(bool on) {
    m_window.Files().autosave().SetEnabled(on);
}

QString ProjectCommands::ProjectFile() const {
    return m_projectFile;
}

void ProjectCommands::SetProjectFile(const QString& path) {
    m_projectFile = path;
}

void ProjectCommands::SetCheckedRecentItem(int element) {
    m_window.Files().recent().SetCheckedItem(element);
}

void ProjectCommands::RefreshRecentMenu() {
    m_window.Files().recent().RefreshRecentMenu();
}

QString ProjectCommands::ChooseFile(const QString& initialFolder, const QString& filter,
                                    int& filterIndex, bool save) {
    // Saving asks about an existing file itself, once it has added the extension.
    return ShowFileDialog(&m_window, initialFolder, filter, filterIndex, save, false, QString(),
                          !save);
}

QString ProjectCommands::ChooseFolder(const QString& title, int titleNumber) {
    return BrowseForFolder(&m_window, title, titleNumber);
}

} // namespace kelbrin
