#include "SpeechMarkerDetector.h"

#include "frmStream.h"

#include <utility>

namespace kelbrin {

SpeechMarkerDetector::SpeechMarkerDetector(bool withWindow) : m_withWindow(withWindow) {}

SpeechMarkerDetector::~SpeechMarkerDetector() {
    m_ended = true;
}

void SpeechMarkerDetector::recordingStarted(const PcmLayout& layout) {
    m_ended = false;
    m_marker = std::make_unique<SpeechMarker>(layout, static_cast<SegmentListWriter&>(*this));
    if (m_withWindow) {
        m_window = std::make_unique<frmStream>();
        m_window->recordingState = [this] { return m_ended ? -1 : 1; };
        m_window->attach(m_marker.get());
    }
    m_marker->start();
    if (m_window)
        m_window->show();
}

QList<SpeechDetector::Mark> SpeechMarkerDetector::examineBlock(const QByteArray& block) {
    m_marks.clear();
    if (m_marker)
        m_marker->examineBlock(block);
    return std::exchange(m_marks, {});
}

void SpeechMarkerDetector::recordingEnded() {
    m_ended = true;
    if (!m_marker)
        return;
    m_marker->finish();
    m_marker->setView(nullptr);
    m_window.reset();
}

void SpeechMarkerDetector::writeSegmentStart(qint64 frameInBlock) {
    m_marks.append({SpeechDetector::Change::SegmentStarted, frameInBlock});
}

void SpeechMarkerDetector::writeSegmentEnd(qint64 frameInBlock) {
    m_marks.append({SpeechDetector::Change::SegmentEnded, frameInBlock});
}

void InstallSpeechMarkerDetector(bool withWindow) {
    SetSpeechDetectorFactory([withWindow] { return std::make_unique<SpeechMarkerDetector>(withWindow); });
}

} // namespace kelbrin
