#pragma once
// The main window's part in recording: the record button, the recorder's
// host (saving the project and closing the window after an unattended
// recording), the refusal to scan the file being recorded, and the close's
// wait for the encoder server.

class QObject;

namespace kelbrin {

class frmDazudizi;
struct RecordingConfiguration;

// A buffer an editor left when it was killed goes, unless it holds sound the
// server never encoded: that is kept, and the user told where once the event
// loop runs (while `context` lives). Every start does it, with a window or not.
void ClearStaleCaptureBuffers(RecordingConfiguration& recording, QObject* context);

// Plugs the recorder window into the record button and into the window's
// close. Called once by the window while it is built.
void InstallRecorder(frmDazudizi& window);

} // namespace kelbrin
