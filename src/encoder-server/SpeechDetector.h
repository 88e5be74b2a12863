#pragma once
// Where speech-marker mode plugs into the conversion loop. A detector measures
// the recorded sound block by block and tells the loop when a segment starts
// or ends; the loop writes those moments into the ".tim" list of the output
// file being written. The detector may own a window of its own; the loop runs
// without any detector (then the lists stay empty).

#include "encoder-server/speech/PcmLayout.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <memory>

namespace kelbrin {

class SpeechDetector {
public:
    enum class Change { None, SegmentStarted, SegmentEnded };
    // A change and the sample frame of the block at which it happened.
    struct Mark {
        Change change = Change::None;
        qint64 frameInBlock = 0;
    };

    virtual ~SpeechDetector() = default;
    // The loop starts: read the detector's settings, show its window. The
    // blocks will hold PCM in `layout` (8-bit unsigned or 16-bit signed).
    virtual void recordingStarted(const PcmLayout& layout) = 0;
    // One block of captured PCM, after it was encoded. Each change is written
    // at its own frame's time in the current output file.
    virtual QList<Mark> examineBlock(const QByteArray& block) = 0;
    // The loop ends: save the settings, close the window.
    virtual void recordingEnded() = 0;
};

using SpeechDetectorFactory = std::function<std::unique_ptr<SpeechDetector>()>;
// The detector the loop creates in speech-marker mode; none installed means none.
void SetSpeechDetectorFactory(SpeechDetectorFactory factory);
std::unique_ptr<SpeechDetector> CreateSpeechDetector();

} // namespace kelbrin
