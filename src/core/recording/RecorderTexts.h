#pragma once
// Catalogue numbers of the recorder's messages and captions.

namespace kelbrin::texts {

constexpr int kCaptureError = 3018;       // sound card error in |1, then the system's text
constexpr int kAbandonBacklog = 3180;     // stop again while the server still encodes
constexpr int kNoServer = 6700;           // no encoder server: nothing can be recorded
constexpr int kBufferWriteFailed = 6701;  // |1 buffer file, |2 reason
constexpr int kServerEnded = 6702;        // the server ended the recording by itself
constexpr int kWaitingForServer = 6703;   // help line while the close waits
constexpr int kServerTimedOut = 6704;     // the close stopped waiting; |1 buffer file
constexpr int kRecorderCaption = 6705;    // the recorder window's caption while idle
constexpr int kBufferOpenFailed = 6706;   // |1 buffer file, |2 reason
constexpr int kBufferDiskNearlyFull = 7046; // |1 the temporary recording folder

} // namespace kelbrin::texts
