#pragma once
// The main window's part in recording: the record button, the recorder's
// host (saving the project and closing the window after an unattended
// recording), the refusal to scan the file being recorded, and the close's
// wait for the encoder server.

namespace kelbrin {

class frmDazudizi;

// Plugs the recorder window into the record button and into the window's
// close. Called once by the window while it is built.
void InstallRecorder(frmDazudizi& window);

} // namespace kelbrin
