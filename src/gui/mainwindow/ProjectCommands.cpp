#include "ProjectCommands.h"

#include "TrackPanelFrame.h"
#include "frmDazudizi.h"
#include "core/app/ProgramObjects.h"
#include "gui/app/BusyPointer.h"
#include "gui/editor/EditorController.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/Twips.h"
#include "platform/settings/SettingsStore.h"

#include <QAction>
#include <QPushButton>
#include <QTreeWidget>

namespace kelbrin {

namespace {

QAction* recentItem(const frmDazudizi& w, int element) {
    return w.Menus().item(QStringLiteral("mnuPlik_End(%1)").arg(element));
}

} // namespace

ProjectCommands::ProjectCommands(frmDazudizi& window) : m_window(window), m_controller(*this) {}

EditorSession& ProjectCommands::Session() { return Program().session; }
LoadedSettings& ProjectCommands::Loaded() { return Program().settings; }

std::shared_ptr<cPozycjeMP3>& ProjectCommands::Tracks() {
    return m_window.cPozycje;
}
QDate ProjectCommands::ProjectDate() const {
    return m_window.ProjectDate;
}
void ProjectCommands::SetProjectDate(const QDate& date) {
    m_window.ProjectDate = date;
}
void ProjectCommands::SetSelectedTrack(std::int32_t number) {
    m_window.lngSelectedTrack = number;
}
void ProjectCommands::ReleaseClipboardTrack() {
    m_window.CpozSchowek.reset();
}
void ProjectCommands::ClearUndoHistory() {
    m_window.ClearUndoHistory();
}

void ProjectCommands::ReleasePreviewPlayer() {
    if (seams.releasePreviewPlayer)
        seams.releasePreviewPlayer();
}

bool ProjectCommands::IsReady() const {
    return m_window.blnClose;
}
void ProjectCommands::SetReady(bool ready) {
    m_window.blnClose = ready;
}
bool ProjectCommands::IsPlayerIdle() const {
    return !seams.isPlayerIdle || seams.isPlayerIdle();
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

void ProjectCommands::ClearTrackViews() {
    // A link waiting for its second click, a drag or a selection point into
    // the collection that is going away: the next click must not use them.
    m_window.Editor().editor().resetSelection();
    m_window.fraAudio->hide();
    m_window.DrawTrackGraph(false);
    m_window.Form_Resize();
}

void ProjectCommands::RebuildTree() {
    if (seams.rebuildTree)
        seams.rebuildTree();
    else
        m_window.ClearTree();
}

void ProjectCommands::SetTreeRootText(const QString& text) {
    if (seams.setTreeRootText)
        seams.setTreeRootText(text);
    else if (QTreeWidgetItem* root = m_window.tvwNodes->topLevelItem(0))
        root->setText(0, text);
}

void ProjectCommands::ShowLoadedTrack(const cPozycjaMP3& track, std::uint32_t colour, bool listed) {
    if (seams.showLoadedTrack)
        seams.showLoadedTrack(track, colour, listed);
}

void ProjectCommands::FinishProjectLoad() {
    // Successor lists from the stored links, boxes, links, pointer and list.
    m_window.DrawTrackGraph(true);
    if (seams.openStartNode)
        seams.openStartNode();
}

void ProjectCommands::SetCloneEnabled(bool enabled) {
    if (seams.setCloneEnabled)
        seams.setCloneEnabled(enabled);
    else if (auto* clone = m_window.findChild<QPushButton*>(QStringLiteral("cmdKlon")))
        clone->setEnabled(enabled);
}

ProjectGeometry ProjectCommands::Geometry() const {
    ProjectGeometry g;
    if (const QWidget* client = m_window.centralWidget()) {
        g.innerWidth = PxToTwips(client->width());
        g.innerHeight = PxToTwips(client->height());
    }
    if (seams.templateBoxPosition) {
        const QPoint p = seams.templateBoxPosition();
        g.templateLeft = p.x();
        g.templateTop = p.y();
    }
    return g;
}

void ProjectCommands::SetTemplateBoxPosition(std::int32_t left, std::int32_t top) {
    if (seams.setTemplateBoxPosition)
        seams.setTemplateBoxPosition(left, top);
}

void ProjectCommands::SetAutosave(bool on) {
    if (seams.setAutosave)
        seams.setAutosave(on);
}

QString ProjectCommands::ProjectFile() const {
    return seams.projectFile ? seams.projectFile() : m_projectFile;
}

void ProjectCommands::SetProjectFile(const QString& path) {
    if (seams.setProjectFile)
        seams.setProjectFile(path);
    else
        m_projectFile = path;
}

void ProjectCommands::SetCheckedRecentItem(int element) {
    if (seams.setCheckedRecentItem) {
        seams.setCheckedRecentItem(element);
        return;
    }
    for (int k = 2; k <= 5; ++k)
        if (QAction* item = recentItem(m_window, k))
            item->setChecked(k == element);
}

void ProjectCommands::RefreshRecentMenu() {
    if (seams.refreshRecentMenu) {
        seams.refreshRecentMenu();
        return;
    }
    bool any = false;
    for (int k = 2; k <= 5; ++k) {
        const QString path = GetSetting(QStringLiteral("F%1").arg(k - 1), QString());
        QAction* item = recentItem(m_window, k);
        if (path.isEmpty() || !item)
            continue;
        item->setText(path);
        item->setVisible(true);
        any = true;
    }
    if (QAction* separator = recentItem(m_window, 1))
        separator->setVisible(any);
}

QString ProjectCommands::ChooseFile(const QString& initialFolder, const QString& filter,
                                    int& filterIndex, bool save) {
    // Saving asks about an existing file itself, once it has added the extension.
    return ShowFileDialog(&m_window, initialFolder, filter, filterIndex, save, false, QString(),
                          !save);
}

QString ProjectCommands::ChooseFolder(const QString& title) {
    return BrowseForFolder(&m_window, title);
}

} // namespace kelbrin
