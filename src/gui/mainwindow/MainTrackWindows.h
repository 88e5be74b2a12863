#pragma once
// The windows around the track graph editor, as the main window offers them:
// the split dialog through its add command, the track panel, and the export
// dialog that holds the tracks while it lists them.

#include "gui/editor/EditorPartners.h"

namespace kelbrin {

class frmDazudizi;

class MainTrackWindows final : public TrackWindows {
public:
    explicit MainTrackWindows(frmDazudizi& window) : m_window(window) {}

    void addTrack() override;
    bool canOpenProperties() const override { return true; }
    void openProperties(std::shared_ptr<cPozycjaMP3> track) override;
    void playPreview() override;
    bool tracksHeld() override;

private:
    frmDazudizi& m_window;
};

} // namespace kelbrin
