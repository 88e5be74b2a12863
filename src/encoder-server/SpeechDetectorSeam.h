#pragma once
// Where speech-marker mode plugs into the conversion loop. A detector measures
// the recorded sound block by block and tells the loop when a segment starts
// or ends; the loop writes those moments into the ".tim" list of the output
// file being written. The detector may own a window of its own; the loop runs
// without any detector (then the lists stay empty).

#include <QByteArray>
#include <functional>
#include <memory>

namespace kelbrin {

class SpeechDetector {
public:
    enum class Change { None, SegmentStarted, SegmentEnded };

    virtual ~SpeechDetector() = default;
    // The loop starts: read the detector's settings, show its window.
    virtual void recordingStarted() = 0;
    // One block of captured PCM (16-bit signed values, little-endian), after
    // it was encoded. The change, if any, is written at the block's time.
    virtual Change examineBlock(const QByteArray& block) = 0;
    // The loop ends: save the settings, close the window.
    virtual void recordingEnded() = 0;
};

using SpeechDetectorFactory = std::function<std::unique_ptr<SpeechDetector>()>;
// The detector the loop creates in speech-marker mode; none installed means none.
void SetSpeechDetectorFactory(SpeechDetectorFactory factory);
std::unique_ptr<SpeechDetector> CreateSpeechDetector();

} // namespace kelbrin
