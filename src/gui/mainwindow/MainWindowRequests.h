#pragma once
// What the track graph editor and the File menu ask of the main window: the
// split dialog through its add command, the track panel, the export dialog
// (which holds the tracks while it lists them) and the end of the program.

#include "FileMenu.h"
#include "gui/editor/EditorPartners.h"

namespace kelbrin {

class frmDazudizi;

class MainWindowRequests final : public TrackWindows, public FileMenuWindow {
public:
    explicit MainWindowRequests(frmDazudizi& window) : m_window(window) {}

    void addTrack() override;
    bool canOpenProperties() const override { return true; }
    void openProperties(std::shared_ptr<cPozycjaMP3> track) override;
    void playPreview() override;
    bool tracksHeld() override;
    void exportTracks() override;
    void exitProgram() override;

private:
    frmDazudizi& m_window;
};

} // namespace kelbrin
