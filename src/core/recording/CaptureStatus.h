#pragma once
// What the rest of the editor may ask about the recording in progress. The
// capture engine and the recorder keep it; the main window reads it.

#include <QString>
#include <cstdint>

namespace kelbrin {

struct CaptureStatus {
    bool fileOpen = false;     // blocks are being written (not paused, not stopped)
    QString bufferName;        // inside the temporary recording folder; empty before the first recording
    std::int32_t recordingFlag = 0; // 1 from a successful INIT until the recording is torn down
};

} // namespace kelbrin
