#pragma once
// The track panel's range controls over the core's RangeEditor: the frame
// and time boxes, the spinners, the unit menu, the two mark buttons and the
// range undo. The user's edits go to the editor; afterwards every box and
// spinner is set from it again without its change signals.

#include "core/playback/RangeEditor.h"

#include <QObject>
#include <memory>

namespace kelbrin {

class frmDazudizi;
class PreviewPlayer;
class TrackPanelFrame;

class TrackPanelRange final : public QObject, private RangeEditorHost {
public:
    TrackPanelRange(frmDazudizi& window, TrackPanelFrame& frame, PreviewPlayer& preview);

    // Shows the track's range (the unit may ask to scan its source).
    void Load(std::shared_ptr<cPozycjaMP3> track);
    void cmdMark_Click(int index);
    void cmdUndo2_Click();
    void mnuUnits_Jednostki_Click(int index);
    // Copies the editor's texts, values, unit and captions into the controls.
    void Show();

    RangeEditor& editor() { return m_editor; }

private:
    void UpdateTrackListRow(const cPozycjaMP3& track) override;
    void FocusTimeBox(int index) override;
    bool RescanSource(std::shared_ptr<cPozycjaPlikow>& file) override;

    void connectControls();
    // The guard and the panel's visibility as the frame has them now.
    void takeState();

    frmDazudizi& m_window;
    TrackPanelFrame& m_frame;
    PreviewPlayer& m_preview;
    RangeEditor m_editor;
};

} // namespace kelbrin
