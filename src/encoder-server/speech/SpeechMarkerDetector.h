#pragma once
// Speech-marker mode as the conversion loop's speech detector: the segment detector,
// and the server window over it when the program has windows.

#include "SpeechMarker.h"
#include "encoder-server/SpeechDetector.h"

#include <memory>

namespace kelbrin {

class frmStream;

class SpeechMarkerDetector final : public SpeechDetector, private SegmentListWriter {
public:
    explicit SpeechMarkerDetector(bool withWindow);
    ~SpeechMarkerDetector() override;

    void recordingStarted(const PcmLayout& layout) override;
    QList<Mark> examineBlock(const QByteArray& block) override;
    void recordingEnded() override;

    frmStream* window() const { return m_window.get(); }

private:
    void writeSegmentStart(qint64 frameInBlock) override;
    void writeSegmentEnd(qint64 frameInBlock) override;

    bool m_withWindow;
    bool m_ended = false;
    std::unique_ptr<SpeechMarker> m_marker;
    std::unique_ptr<frmStream> m_window;
    QList<Mark> m_marks;
};

// Makes the loop create a SpeechMarkerDetector in speech-marker mode.
void InstallSpeechMarkerDetector(bool withWindow);

} // namespace kelbrin
