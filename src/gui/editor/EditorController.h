#pragma once
// Puts the track graph editor into a window: it owns the editor's state, the
// undo history, the drawing surface and the list navigator, answers what the
// editor asks of the window (menus, buttons, hover line), and offers the
// window's undo commands. What belongs to other windows (the split dialog,
// the track panel, the fade editor, the tree) is reached through the
// interfaces in EditorPartners.h, handed in by the main window.

#include "EditorPartners.h"
#include "core/editor/GraphEditor.h"
#include "core/editor/UndoHistory.h"

#include <QObject>
#include <functional>
#include <memory>

class QAbstractButton;
class QLabel;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace kelbrin {

class TrackListNavigator;
class TrackSurface;
struct LoadedSettings;
struct MainMenus;

struct EditorControllerParts {
    std::function<cPozycjeMP3*()> tracks; // the project's collection, read each time
    QWidget* surfaceParent = nullptr;    // where the drawing surface goes
    QTreeWidget* list = nullptr;         // lvwNodes (optional)
    QLabel* hoverLabel = nullptr;        // lblTrackInfo (optional)
    const MainMenus* menus = nullptr;    // the Track and View menus (optional)
    QWidget* controls = nullptr;         // searched for buttons by name (optional)
    QWidget* toolFrame = nullptr;        // where cmdUndo and cmdRedo go (optional)
};

class EditorController : public QObject, public GraphEditorHost {
    Q_OBJECT
public:
    // `settings`: the mouse sensitivity is read from it and follows its changes.
    EditorController(const EditorControllerParts& parts, LoadedSettings& settings,
                     QObject* parent = nullptr);
    ~EditorController() override;

    GraphEditor& editor() { return *m_editor; }
    UndoHistory& history() { return m_history; }
    TrackSurface* surface() const { return m_surface; }
    TrackListNavigator* list() const { return m_list.get(); }
    cPozycjeMP3& tracks() const;

    // The windows around the editor (owned from here on), the fade editors
    // and the tree; each may be absent.
    void setTrackWindows(std::unique_ptr<TrackWindows> windows);
    void setFadeEditors(FadeEditorOpener* fades) { m_fades = fades; }
    void setTree(TrackTreeUpdates* tree) { m_tree = tree; }
    TrackTreeUpdates* tree() const { return m_tree; }
    // TrackWindows::tracksHeld; false without the windows.
    bool tracksHeld() const;

    QPushButton* cmdUndo = nullptr;
    QPushButton* cmdRedo = nullptr;
    // Heard just before an undo step is taken, undone or redone (optional).
    std::function<void()> beforeUndoStep;

    // The undo history's commands (both do nothing in link mode).
    void cmdUndo_Click();
    void cmdRedo_Click();
    void ClearUndoHistory();
    // Repaint after the collection changed outside the editor (load, split
    // dialog): successor lists from the links when asked, the list, the view.
    void DrawTrackGraph(bool rebuildSuccessors);
    void mnuTrack_Refresh_Click();
    void mnuTrack_Labelki_Click(int index, bool checked);
    // Esc in the window: leaves link mode; true when it did.
    bool CancelLinkMode();
    // The list rebuilt from the collection (and the tree, through its hook).
    void RebuildViews();
    // Tracks were added, deleted or replaced: the information line no longer
    // describes what the pointer rests on, and windows bound to one track
    // check that it is still there.
    void TracksChanged();
    // An undo snapshot of the collection as it was before the tracks with
    // these numbers were added (for additions that are known only afterwards).
    void TworzUndoWithout(const QList<std::int32_t>& added);

    // GraphEditorHost
    void TworzUndo() override;
    void showTrackMenu() override;
    void showLoopMenu() override;
    void openProperties(std::shared_ptr<cPozycjaMP3> track) override;
    bool canOpenProperties() const override;
    void addTrack() override;
    void openFadeEditor(std::shared_ptr<cPozycjaMP3> ending,
                        std::shared_ptr<cPozycjaMP3> starting) override;
    bool canOpenFadeEditor() const override;
    void applyCommandStates(const CommandStates& states) override;
    void showHoverText(const QString& text) override;
    void trackLinkChanged(std::int32_t number) override;
    void update() override;

    // A command control (menu item or button) by name.
    void setControlEnabled(const QString& name, bool on);
    bool controlEnabled(const QString& name) const;

signals:
    // Sent by TracksChanged().
    void tracksChanged();
    // An undo or redo wrote a snapshot's fields back into the tracks (after
    // tracksChanged): a window that shows a track's fields shows them anew.
    void tracksRestored();

private:
    void restore(const UndoHistory::Snapshot& snapshot);
    void updateUndoButtons();
    void wireMenus();

    EditorControllerParts m_parts;
    LoadedSettings& m_settings;
    std::unique_ptr<TrackWindows> m_windows;
    FadeEditorOpener* m_fades = nullptr;
    TrackTreeUpdates* m_tree = nullptr;
    std::unique_ptr<GraphEditor> m_editor;
    UndoHistory m_history;
    TrackSurface* m_surface = nullptr;
    std::unique_ptr<TrackListNavigator> m_list;
    bool m_undoBusy = false;
};

} // namespace kelbrin
