#pragma once
// The track panel's tempo box over the core's PanelTempo: the tap and reset
// buttons, the match label with its menu of the project's tracks.

#include "core/playback/PanelTempo.h"

#include <QObject>

class QGroupBox;
class QLabel;

namespace kelbrin {

class frmDazudizi;
class PreviewPlayer;
class TrackPanelFrame;

class TrackPanelTempo final : public QObject {
public:
    // `changed` runs after every change of the tempo or the speed.
    TrackPanelTempo(frmDazudizi& window, TrackPanelFrame& frame, PreviewPlayer& preview,
                    std::function<void()> changed);

    // A track is shown: the match menu gets one item per track of the
    // project, tagged with its number, and the tap samples are forgotten.
    void Load();
    void cmdBPM_Click();
    void cmdReset_Click();
    // Names the tracks with their tempo and opens the match menu.
    void lblSync_Click();
    void mnuSync_Click(int index);

    PanelTempo& tempo() { return m_tempo; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void highlight(bool on);

    frmDazudizi& m_window;
    // Taken from the frame at the start and used from then on: the controls'
    // last events come while the frame is already half destroyed, when its
    // members are no longer valid.
    QLabel* const m_syncLabel;
    QGroupBox* const m_tempoBox;
    PanelTempo m_tempo;
    std::function<void()> m_changed;
};

} // namespace kelbrin
