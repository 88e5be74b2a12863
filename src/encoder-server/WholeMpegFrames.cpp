#include "WholeMpegFrames.h"

#include "core/document/MpegHeader.h"

namespace kelbrin {

qsizetype WholeFramesLength(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    qsizetype at = 0;
    while (data.size() - at >= 4) {
        const std::uint8_t* header = bytes + at;
        if (!mpeg::IsCandidate(header))
            return at == 0 ? -1 : at;
        const std::int32_t length = mpeg::ExactFrameLength(header[1], header[2]);
        if (length < 4)
            return at == 0 ? -1 : at;
        if (data.size() - at < length)
            break;
        at += length;
    }
    return at;
}

void WholeMpegFrames::take(const char* data, qsizetype size, QByteArray& out) {
    if (!m_framed) {
        out.append(data, size);
        return;
    }
    m_held.append(data, size);
    const qsizetype whole = WholeFramesLength(m_held);
    if (whole < 0) {
        m_framed = false;
        release(out);
        return;
    }
    out.append(m_held.constData(), whole);
    m_held.remove(0, whole);
}

void WholeMpegFrames::release(QByteArray& out) {
    out.append(m_held);
    m_held.clear();
}

} // namespace kelbrin
