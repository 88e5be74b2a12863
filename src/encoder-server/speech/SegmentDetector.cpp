#include "SegmentDetector.h"

#include <algorithm>
#include <cstdlib>

namespace kelbrin {

SegmentDetector::SegmentDetector(PcmLayout layout, const SpeechParameters& parameters)
    : m_layout(layout.valid() ? layout : PcmLayout{}), m_parameters(parameters.clamped()) {
    restartPeriod();
}

void SegmentDetector::setParameters(const SpeechParameters& parameters) {
    const SpeechParameters next = parameters.clamped();
    const bool periodChanged = next.periodMs != m_parameters.periodMs;
    m_parameters = next;
    // A new period length starts a fresh period, as re-arming a timer would.
    if (periodChanged)
        restartPeriod();
}

qint64 SegmentDetector::periodFrames() const {
    return qint64(m_parameters.periodMs) * m_layout.sampleRate / 1000;
}

void SegmentDetector::restartPeriod() {
    m_periodEndFrame = m_frames + periodFrames();
}

QList<SegmentChange> SegmentDetector::examineBlock(QByteArrayView block) {
    QList<SegmentChange> changes;
    const qint64 count = m_layout.samplesIn(block.size());
    const qint64 blockStartSample = m_samples;
    const qint64 blockStartFrame = blockStartSample / m_layout.channels;
    const qint64 period = periodFrames();
    // Every sample at an even position of the stream; the bound is exclusive.
    for (qint64 i = (blockStartSample % 2 == 0) ? 0 : 1; i < count; i += 2) {
        const qint64 frame = (blockStartSample + i) / m_layout.channels;
        while (period > 0 && frame >= m_periodEndFrame) {
            endPeriod();
            m_periodEndFrame += period;
            bool start = false;
            if (compare(start))
                changes.append({start, frame - blockStartFrame});
        }
        takeValue(m_layout.sampleAt(block, i));
    }
    m_samples += count;
    m_frames = m_samples / m_layout.channels;
    bool start = false;
    if (compare(start))
        changes.append({start, m_frames - blockStartFrame});
    return changes;
}

void SegmentDetector::takeValue(int sample) {
    if (m_windowCount > m_parameters.windowLength)
        evaluateWindow();
    m_windowMax = std::max(m_windowMax, std::abs(sample));
    ++m_windowCount;
}

void SegmentDetector::evaluateWindow() {
    const int level = m_parameters.crossingLevel;
    const int previous = m_lastCrossingMax;
    const int current = m_windowMax;
    const bool across = (previous > level && level > current) || (previous < level && level < current);
    if (std::abs(previous - current) > m_parameters.minimumJump && across) {
        m_lastCrossingMax = current;
        if (current < level && current < m_quietMinimum)
            m_quietMinimum = current;
        ++m_crossings;
    }
    m_windowMax = 0;
    m_windowCount = 0;
}

void SegmentDetector::endPeriod() {
    const qint64 level = m_parameters.crossingLevel;
    if (m_quietMinimum == kNoQuietCrossing)
        m_quietMinimum = level;
    SpeechPeriod found;
    found.crossings = m_crossings;
    found.depth = level - m_quietMinimum;
    // Integer division truncates toward zero, as the smoothing asks.
    found.coefficient = (m_bar + found.depth * found.crossings) / 2;
    found.bar = static_cast<int>(std::clamp<qint64>(found.coefficient, 0, kBarMax));
    m_coefficient = found.coefficient;
    m_bar = found.bar;
    m_crossings = 0;
    m_quietMinimum = kNoQuietCrossing;
    ++m_periodsEnded;
    if (onPeriod)
        onPeriod(found);
}

bool SegmentDetector::compare(bool& start) {
    const bool below = m_coefficient < m_parameters.threshold;
    if (below && !m_segmentOpen) {
        m_segmentOpen = true;
        start = true;
        return true;
    }
    if (!below && m_segmentOpen) {
        m_segmentOpen = false;
        start = false;
        return true;
    }
    return false;
}

} // namespace kelbrin
