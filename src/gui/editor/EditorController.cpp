#include "EditorController.h"

#include "TrackListNavigator.h"
#include "TrackSurface.h"
#include "core/app/ProgramObjects.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/app/Twips.h"
#include "gui/mainwindow/MainMenus.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace kelbrin {

namespace {
// Before the window has a project, the editor looks at an empty one.
cPozycjeMP3& NoTracks() {
    static cPozycjeMP3 empty;
    return empty;
}
} // namespace

EditorController::EditorController(const EditorControllerParts& parts, LoadedSettings& settings,
                                   QObject* parent)
    : QObject(parent), m_parts(parts), m_settings(settings) {
    m_editor = std::make_unique<GraphEditor>([this] { return &tracks(); }, *this);
    m_editor->mouseSensitivity = settings.MouseSensitivity;
    settings.onChange = [this, &settings] { m_editor->mouseSensitivity = settings.MouseSensitivity; };
    m_surface = new TrackSurface(*m_editor, parts.surfaceParent);
    if (parts.list) {
        m_list = std::make_unique<TrackListNavigator>(*parts.list, *m_editor);
        m_list->playPreview = [this] {
            if (m_windows)
                m_windows->playPreview();
        };
    }
    if (parts.toolFrame) {
        cmdUndo = new QPushButton(parts.toolFrame);
        cmdUndo->setObjectName(QStringLiteral("cmdUndo"));
        cmdUndo->setProperty("Tag", QStringLiteral("1159;5012"));
        cmdUndo->setGeometry(TwipRect{0, 60, 495, 435}.toPx());
        cmdRedo = new QPushButton(parts.toolFrame);
        cmdRedo->setObjectName(QStringLiteral("cmdRedo"));
        cmdRedo->setProperty("Tag", QStringLiteral("1160;5013"));
        cmdRedo->setGeometry(TwipRect{510, 60, 495, 435}.toPx());
        connect(cmdUndo, &QPushButton::clicked, this, &EditorController::cmdUndo_Click);
        connect(cmdRedo, &QPushButton::clicked, this, &EditorController::cmdRedo_Click);
    }
    updateUndoButtons();
    wireMenus();
}

EditorController::~EditorController() {
    m_settings.onChange = nullptr;
}

void EditorController::setTrackWindows(std::unique_ptr<TrackWindows> windows) { m_windows = std::move(windows); }

bool EditorController::tracksHeld() const { return m_windows && m_windows->tracksHeld(); }

cPozycjeMP3& EditorController::tracks() const {
    cPozycjeMP3* t = m_parts.tracks ? m_parts.tracks() : nullptr;
    return t ? *t : NoTracks();
}

void EditorController::wireMenus() {
    const MainMenus* menus = m_parts.menus;
    if (!menus)
        return;
    if (QAction* refresh = menus->item(QStringLiteral("mnuTrack_Refresh"))) {
        refresh->setEnabled(true);
        connect(refresh, &QAction::triggered, this, &EditorController::mnuTrack_Refresh_Click);
    }
    for (int k = 0; k <= 2; ++k) {
        QAction* toggle = menus->item(QStringLiteral("mnuTrack_Labelki(%1)").arg(k));
        if (!toggle)
            continue;
        toggle->setEnabled(true);
        connect(toggle, &QAction::triggered, this, [this, k](bool on) { mnuTrack_Labelki_Click(k, on); });
    }
    // The Track menu, as it opens, follows the selection, except in link mode.
    if (QMenu* track = menus->menu(QStringLiteral("mnuTrack")))
        connect(track, &QMenu::aboutToShow, this, [this] {
            if (m_editor->linkMode())
                return;
            m_editor->MovePointer();
            m_editor->Udostepniaj(m_editor->lngSelectedTrack);
        });
}

// ---- undo ----

void EditorController::TworzUndo() {
    if (m_undoBusy)
        return;
    m_undoBusy = true;
    if (beforeUndoStep)
        beforeUndoStep();
    m_history.Take(tracks());
    updateUndoButtons();
    m_undoBusy = false;
}

void EditorController::TworzUndoWithout(const QList<std::int32_t>& added) {
    if (m_undoBusy)
        return;
    m_undoBusy = true;
    if (beforeUndoStep)
        beforeUndoStep();
    m_history.Push(UndoHistory::MakeSnapshot(tracks(), added));
    updateUndoButtons();
    m_undoBusy = false;
}

void EditorController::cmdUndo_Click() {
    if (m_editor->linkMode() || tracksHeld())
        return;
    if (beforeUndoStep && m_history.CanUndo())
        beforeUndoStep();
    restore(m_history.Undo(tracks()));
}

void EditorController::cmdRedo_Click() {
    if (m_editor->linkMode() || tracksHeld())
        return;
    if (beforeUndoStep && m_history.CanRedo())
        beforeUndoStep();
    restore(m_history.Redo());
}

void EditorController::restore(const UndoHistory::Snapshot& snapshot) {
    if (m_undoBusy)
        return;
    if (snapshot) {
        m_undoBusy = true;
        RestoreSnapshot(tracks(), *snapshot, &m_editor->run);
        m_undoBusy = false;
        mnuTrack_Refresh_Click();
        m_editor->resetSelection();
        RebuildViews();
        updateUndoButtons();
        emit tracksRestored();
        return;
    }
    updateUndoButtons();
}

void EditorController::ClearUndoHistory() {
    m_history.Clear();
    updateUndoButtons();
}

void EditorController::updateUndoButtons() {
    if (cmdUndo)
        cmdUndo->setEnabled(m_history.CanUndo());
    if (cmdRedo)
        cmdRedo->setEnabled(m_history.CanRedo());
}

// ---- views ----

void EditorController::DrawTrackGraph(bool rebuildSuccessors) {
    if (rebuildSuccessors)
        AppendSuccessorsFromLinks(tracks());
    // A new or reopened project has none of the old selection.
    if (m_editor->lngSelectedTrack != 0 && !TrackByNumber(tracks(), m_editor->lngSelectedTrack))
        m_editor->resetSelection();
    m_editor->MovePointer();
    m_editor->fullRepaint();
}

void EditorController::mnuTrack_Refresh_Click() { DrawTrackGraph(false); }

void EditorController::mnuTrack_Labelki_Click(int index, bool checked) {
    if (index == 0) {
        m_editor->nameLabelsShown = checked;
        m_surface->update();
    } else if (index == 2) {
        m_editor->hoverInfoShown = checked;
        if (m_parts.hoverLabel)
            m_parts.hoverLabel->setVisible(checked);
    }
}

bool EditorController::CancelLinkMode() {
    if (!m_editor->linkMode())
        return false;
    m_editor->cancelLinkMode();
    return true;
}

void EditorController::RebuildViews() {
    if (m_list)
        m_list->Rebuild(tracks());
    if (m_tree)
        m_tree->Refresh();
    TracksChanged();
}

void EditorController::TracksChanged() {
    if (m_parts.hoverLabel)
        m_parts.hoverLabel->clear();
    emit tracksChanged();
}

// ---- host ----

void EditorController::showTrackMenu() {
    if (!m_parts.menus)
        return;
    if (QMenu* menu = m_parts.menus->menu(QStringLiteral("mnuTrack")))
        menu->popup(QCursor::pos());
}

void EditorController::showLoopMenu() {
    if (!m_parts.menus)
        return;
    if (QMenu* menu = m_parts.menus->menu(QStringLiteral("mnuLoopTrack"))) {
        menu->menuAction()->setVisible(true);
        menu->popup(QCursor::pos());
    }
}

void EditorController::openProperties(std::shared_ptr<cPozycjaMP3> track) {
    if (m_windows && m_windows->canOpenProperties())
        m_windows->openProperties(std::move(track));
}

bool EditorController::canOpenProperties() const { return m_windows && m_windows->canOpenProperties(); }

bool EditorController::canOpenFadeEditor() const { return m_fades && m_fades->FadeEditorAvailable(); }

void EditorController::addTrack() {
    if (m_windows)
        m_windows->addTrack();
}

void EditorController::openFadeEditor(std::shared_ptr<cPozycjaMP3> ending,
                                      std::shared_ptr<cPozycjaMP3> starting) {
    if (tracks().Count() == 0)
        return;
    if (m_fades)
        m_fades->OpenFadeEditor(std::move(ending), std::move(starting));
}

void EditorController::setControlEnabled(const QString& name, bool on) {
    if (m_parts.menus)
        if (QAction* a = m_parts.menus->item(name)) {
            a->setEnabled(on);
            return;
        }
    if (m_parts.controls)
        if (auto* b = m_parts.controls->findChild<QAbstractButton*>(name))
            b->setEnabled(on);
}

bool EditorController::controlEnabled(const QString& name) const {
    if (m_parts.menus)
        if (QAction* a = m_parts.menus->item(name))
            return a->isEnabled();
    if (m_parts.controls)
        if (auto* b = m_parts.controls->findChild<QAbstractButton*>(name))
            return b->isEnabled();
    return false;
}

void EditorController::applyCommandStates(const CommandStates& states) {
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        setControlEnabled(it.key(), it.value());
}

void EditorController::showHoverText(const QString& text) {
    if (!m_parts.hoverLabel)
        return;
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QStringLiteral("; "));
    m_parts.hoverLabel->setText(shown);
}

void EditorController::trackLinkChanged(std::int32_t number) {
    if (m_tree)
        m_tree->TrackRelinked(number);
}

void EditorController::update() {
    if (m_surface)
        m_surface->update();
}

} // namespace kelbrin
