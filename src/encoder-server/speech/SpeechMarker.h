#pragma once
// The speech-marker mode of a recording: the segment detector fed block by
// block, its segment changes written into the output file's segment list,
// the tuning values taken from the settings at the start and saved at the
// end, a view (the server window) kept up to date, and the mixer
// diagnostics run at each change when they are asked for.

#include "SegmentDetector.h"

#include <QByteArrayView>
#include <memory>

namespace kelbrin {

// Where segment changes go: the segment list of the current output file. The
// position is the frame of the last examined block at which it happened.
class SegmentListWriter {
public:
    virtual ~SegmentListWriter() = default;
    virtual void writeSegmentStart(qint64 frameInBlock) = 0;
    virtual void writeSegmentEnd(qint64 frameInBlock) = 0;
};

// What the server window shows of the detector.
class SpeechView {
public:
    virtual ~SpeechView() = default;
    virtual void showParameters(const SpeechParameters& parameters) = 0;
    virtual void showPeriod(const SpeechPeriod& period, const SpeechParameters& parameters) = 0;
    virtual void showSegmentOpen(bool open) = 0;
};

class SpeechMarker {
public:
    SpeechMarker(PcmLayout layout, SegmentListWriter& list);

    // The view to keep up to date (nullptr: none); it may set parameters back.
    void setView(SpeechView* view);

    // Start of the recording: the tuning values from the settings, a closed
    // segment, the diagnostics setting read once.
    void start();
    // One block of the buffer file, in the recording's sample layout.
    void examineBlock(QByteArrayView block);
    // End of the recording: the tuning values back into the settings. A
    // segment still open stays open; no end is written for it.
    void finish();

    // New tuning values (the window's sliders); they apply from the next sample.
    void setParameters(const SpeechParameters& parameters);
    const SegmentDetector& detector() const { return m_detector; }
    bool diagnosticsOn() const { return m_diagnostics; }

private:
    SegmentDetector m_detector;
    SegmentListWriter& m_list;
    SpeechView* m_view = nullptr;
    bool m_diagnostics = false;
};

} // namespace kelbrin
