#include "SpeechMarker.h"

#include "encoder-server/mixer/Mikser.h"

namespace kelbrin {

SpeechMarker::SpeechMarker(PcmLayout layout, SegmentListWriter& list) : m_detector(layout), m_list(list) {
    m_detector.onPeriod = [this](const SpeechPeriod& period) {
        if (m_view)
            m_view->showPeriod(period, m_detector.parameters());
    };
}

void SpeechMarker::setView(SpeechView* view) {
    m_view = view;
    if (m_view) {
        m_view->showParameters(m_detector.parameters());
        m_view->showSegmentOpen(m_detector.segmentOpen());
    }
}

void SpeechMarker::start() {
    m_diagnostics = MixerDiagnosticsOn();
    m_detector.setParameters(SpeechParameters::load());
    if (m_view) {
        m_view->showSegmentOpen(m_detector.segmentOpen());
        m_view->showParameters(m_detector.parameters());
    }
}

void SpeechMarker::examineBlock(QByteArrayView block) {
    for (const SegmentChange& change : m_detector.examineBlock(block)) {
        if (change.start)
            m_list.writeSegmentStart(change.frameInBlock);
        else
            m_list.writeSegmentEnd(change.frameInBlock);
        if (m_view)
            m_view->showSegmentOpen(change.start);
        if (m_diagnostics)
            ListMixers();
    }
}

void SpeechMarker::finish() {
    m_detector.parameters().save();
}

void SpeechMarker::setParameters(const SpeechParameters& parameters) {
    m_detector.setParameters(parameters);
}

} // namespace kelbrin
