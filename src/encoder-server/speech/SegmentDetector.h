#pragma once
// Measures how talkative the recorded sound is. Every other sample of the
// stream is looked at; the samples are cut into windows of W + 1 values and
// each window's largest magnitude is kept. When a window's maximum lies on
// the other side of the crossing level L from the last counted one and
// differs from it by more than D, a crossing is counted. Once per period the
// crossings, weighted by how deep the quiet windows fell below L, are folded
// into the speech coefficient (half the old value plus half the new count).
//
// A segment is a stretch where the coefficient stays below the threshold:
// steady sound or silence, little talk. The detector reports where segments
// open and close; writing them into a list is its caller's job.
//
// The period is counted on the examined audio, not on a wall clock, so a
// backlog of blocks is measured exactly as a live stream would be.

#include "PcmLayout.h"
#include "SpeechParameters.h"

#include <QByteArrayView>
#include <QList>
#include <functional>

namespace kelbrin {

// What one period found, for the server window.
struct SpeechPeriod {
    qint64 crossings = 0;   // C of the period
    qint64 depth = 0;       // L - m: how far the quietest crossing fell below L
    qint64 coefficient = 0; // the new coefficient, not clipped
    int bar = 0;            // the coefficient clipped to the bar's range
};

// A segment opening (start) or closing, at a frame of the examined block.
struct SegmentChange {
    bool start = true;
    qint64 frameInBlock = 0;
    bool operator==(const SegmentChange&) const = default;
};

class SegmentDetector {
public:
    static constexpr int kBarMax = 32767;

    explicit SegmentDetector(PcmLayout layout, const SpeechParameters& parameters = {});

    // The values in force; they may change at any time (the window's sliders).
    const SpeechParameters& parameters() const { return m_parameters; }
    void setParameters(const SpeechParameters& parameters);
    const PcmLayout& layout() const { return m_layout; }

    // Examines one block of the stream; windows and periods run on across
    // blocks. Reads only the whole samples inside `block`. Returns the segment
    // changes in the order they happened: one may follow each period that ends
    // inside the block, and one more is decided at the block's end (after a
    // change of the threshold, for instance).
    QList<SegmentChange> examineBlock(QByteArrayView block);

    // Ends the current period now (what the period's end does on its own).
    void endPeriod();

    qint64 coefficient() const { return m_coefficient; }
    int bar() const { return m_bar; }
    bool segmentOpen() const { return m_segmentOpen; }
    qint64 crossingsThisPeriod() const { return m_crossings; }
    qint64 framesExamined() const { return m_frames; }
    bool anyPeriodEnded() const { return m_periodsEnded > 0; }

    // Called after each period with what it found.
    std::function<void(const SpeechPeriod&)> onPeriod;

private:
    void takeValue(int sample);
    void evaluateWindow();
    bool compare(bool& start);
    void restartPeriod();
    qint64 periodFrames() const;

    PcmLayout m_layout;
    SpeechParameters m_parameters;

    // Window state, carried across blocks.
    int m_windowMax = 0;      // M
    int m_windowCount = 0;    // n
    int m_lastCrossingMax = 0; // P

    // Period state.
    static constexpr qint64 kNoQuietCrossing = 100000;
    qint64 m_crossings = 0;   // C
    qint64 m_quietMinimum = 0; // m; 0 before the first period ends
    qint64 m_coefficient = 0;
    int m_bar = 0;
    bool m_segmentOpen = false;
    int m_periodsEnded = 0;

    qint64 m_samples = 0;        // samples examined or skipped so far
    qint64 m_frames = 0;         // whole frames of all blocks so far
    qint64 m_periodEndFrame = 0; // the frame at which the current period ends
};

} // namespace kelbrin
