#include "WholeMpegFrames.h"

#include "core/document/MpegHeader.h"

namespace kelbrin {

namespace {
// The real count, not the editor's timing convention: an MPEG-2 Layer III
// frame holds 576.
qint64 FrameSamples(std::uint8_t byte2) {
    if (mpeg::Layer(byte2) == mpeg::kLayer1)
        return 384;
    return mpeg::Layer(byte2) == mpeg::kLayer3 && mpeg::Version(byte2) != mpeg::kVersionMpeg1 ? 576 : 1152;
}
} // namespace

qsizetype WholeFramesLength(const QByteArray& data, qint64 most, qint64* frames, qint64* samples) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    qsizetype at = 0;
    qint64 count = 0;
    qint64 decoded = 0;
    while (data.size() - at >= 4 && (most < 0 || count < most)) {
        const std::uint8_t* header = bytes + at;
        const std::int32_t length = mpeg::IsCandidate(header) ? mpeg::ExactFrameLength(header[1], header[2]) : 0;
        if (length < 4) {
            if (at == 0)
                return -1;
            break;
        }
        if (data.size() - at < length)
            break;
        at += length;
        ++count;
        decoded += FrameSamples(header[1]);
    }
    if (frames)
        *frames = count;
    if (samples)
        *samples = decoded;
    return at;
}

void WholeMpegFrames::take(const char* data, qsizetype size, QByteArray& out) {
    if (!m_framed) {
        out.append(data, size);
        return;
    }
    m_held.append(data, size);
    qint64 samples = 0;
    const qsizetype whole = WholeFramesLength(m_held, -1, nullptr, &samples);
    if (whole < 0) {
        m_framed = false;
        release(out);
        return;
    }
    out.append(m_held.constData(), whole);
    m_held.remove(0, whole);
    m_samples += samples;
}

void WholeMpegFrames::release(QByteArray& out) {
    if (m_framed) {
        qint64 samples = 0;
        WholeFramesLength(m_held, -1, nullptr, &samples);
        m_samples += samples;
    }
    out.append(m_held);
    m_held.clear();
}

} // namespace kelbrin
