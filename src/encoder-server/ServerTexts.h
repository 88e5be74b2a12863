#pragma once
// Catalogue numbers of the encoder server's own messages.

namespace kelbrin::servertext {
constexpr int kFormatFileMissing = 6650;  // "Formatex.ini not found"
constexpr int kDiskNearlyFull = 6651;
constexpr int kOutputWriteFailed = 6652;  // |1: the file
constexpr int kBufferUnreadable = 6653;
constexpr int kOutputCreateFailed = 6654; // |1: the file
constexpr int kBufferOpenFailed = 6655;   // |1: the file
constexpr int kEncoderFailed = 6656;      // |1: what the encoder said
constexpr int kErrorIn = 6657;            // |1: the call, |2: the system's text
constexpr int kEditorGone = 6658;
} // namespace kelbrin::servertext
