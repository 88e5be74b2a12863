#pragma once
// One conversion from captured PCM into a WAVE codec through a libavcodec
// encoder. Source samples that do not fill a codec block wait for the next call.

#include "CodecLibrary.h"

#include <deque>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace kelbrin {

class AvCodecStream final : public CodecStream {
public:
    // Opens the encoder; `error` gets a result code, 0 when it opened.
    AvCodecStream(const WaveFormatEx& source, const WaveFormatEx& destination, int* error);
    ~AvCodecStream() override;
    AvCodecStream(const AvCodecStream&) = delete;
    AvCodecStream& operator=(const AvCodecStream&) = delete;

    qint64 destinationSize(qint64 sourceBytes) const override;
    int convert(const QByteArray& source, QByteArray& output, bool end) override;
    qint64 samplesOut() const override { return m_samplesOut; }

private:
    int open(const WaveFormatEx& source, const WaveFormatEx& destination);
    void decodeSource(const QByteArray& source);
    int sendFrame(int samples, QByteArray& output);
    int drain(QByteArray& output);

    WaveFormatEx m_source;
    WaveFormatEx m_destination;
    AVCodecContext* m_context = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    int m_frameSize = 0;        // samples per channel in one encoder frame
    bool m_padLastFrame = false; // fixed-size blocks: the last one is filled with silence
    bool m_ended = false;
    QByteArray m_partial;       // source bytes short of one whole sample frame
    std::vector<float> m_pending; // decoded samples, channels interleaved
    std::deque<int> m_sent;       // real samples of each frame sent whose packet has not come back
    qint64 m_samplesOut = 0;
};

} // namespace kelbrin
