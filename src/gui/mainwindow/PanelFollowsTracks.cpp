#include "PanelFollowsTracks.h"

#include "TrackPanel.h"
#include "TrackPanelFrame.h"
#include "frmDazudizi.h"
#include "core/document/cPozycjaMP3.h"
#include "core/editor/TrackGraph.h"
#include "gui/editor/EditorController.h"

namespace kelbrin {

namespace {

void Follow(frmDazudizi& window, bool restored) {
    TrackPanel& panel = window.Panel();
    const std::shared_ptr<cPozycjaMP3> shown = panel.Cpoz();
    if (!shown)
        return;
    const auto now = TrackByNumber(window.Editor().tracks(), shown->lngNrPozycji);
    if (now == shown && !restored)
        return;
    const bool visible = window.fraAudio()->isVisible();
    if (now && visible) {
        panel.PokazMnie_FA(now);
        return;
    }
    if (now == shown)
        return; // hidden: the next opening reads the track afresh
    panel.preview().Load(nullptr);
    panel.ReleasePreview();
    if (visible) {
        window.fraAudio()->hide();
        window.Form_Resize();
    }
}

} // namespace

void InstallPanelFollower(frmDazudizi& window) {
    EditorController& editor = window.Editor();
    frmDazudizi* w = &window;
    QObject::connect(&editor, &EditorController::tracksChanged, &window, [w] { Follow(*w, false); });
    QObject::connect(&editor, &EditorController::tracksRestored, &window, [w] { Follow(*w, true); });
}

} // namespace kelbrin
