#include "LameBlockEncoder.h"

#include <algorithm>

namespace kelbrin {

LameBlockEncoder::LameBlockEncoder(const BE_CONFIG& config, LameLibrary& library)
    : m_config(config), m_lame(library) {}

LameBlockEncoder::~LameBlockEncoder() { closeStream(); }

bool LameBlockEncoder::open() {
    const LameLibraryState state = m_lame.state();
    if (!state.loaded) {
        m_error = state.description;
        return false;
    }
    std::uint32_t chunk = 0;
    std::uint32_t outputSize = 0;
    HBE_STREAM stream = 0;
    const BE_ERR result = m_lame.beInitStream(m_config, &chunk, &outputSize, &stream);
    if (result != BE_ERR_SUCCESSFUL || chunk == 0 || outputSize == 0) {
        m_error = QStringLiteral("beInitStream %1").arg(result);
        return false;
    }
    m_stream = stream;
    m_open = true;
    m_chunk = chunk;
    m_outputSize = outputSize;
    m_output.assign(outputSize, 0);
    m_frames = WholeMpegFrames();
    return true;
}

bool LameBlockEncoder::encode(const QByteArray& block, QByteArray& out) {
    if (!m_open)
        return false;
    const auto* samples = reinterpret_cast<const std::int16_t*>(block.constData());
    const qint64 count = block.size() / 2;
    for (qint64 start = 0; start < count; start += m_chunk) {
        // A block that is not a whole number of chunks ends with a shorter call.
        const auto n = static_cast<std::uint32_t>(std::min<qint64>(m_chunk, count - start));
        std::uint32_t produced = 0;
        const BE_ERR result = m_lame.beEncodeChunk(m_stream, n, samples + start, m_output.data(), &produced);
        if (result != BE_ERR_SUCCESSFUL) {
            m_error = QStringLiteral("beEncodeChunk %1").arg(result);
            return false;
        }
        m_frames.take(reinterpret_cast<const char*>(m_output.data()), produced, out);
    }
    return true;
}

bool LameBlockEncoder::flush(QByteArray& out) {
    if (!m_open)
        return false;
    std::uint32_t produced = 0;
    const BE_ERR result = m_lame.beDeinitStream(m_stream, m_output.data(), &produced);
    if (result == BE_ERR_SUCCESSFUL)
        m_frames.take(reinterpret_cast<const char*>(m_output.data()), produced, out);
    // The stream ends here: the frames held back go with its last output.
    m_frames.release(out);
    if (result != BE_ERR_SUCCESSFUL) {
        m_error = QStringLiteral("beDeinitStream %1").arg(result);
        return false;
    }
    return true;
}

void LameBlockEncoder::closeStream() {
    if (m_open)
        m_lame.beCloseStream(m_stream);
    m_open = false;
}

void LameBlockEncoder::finishFile(const QString& path) {
    if (!m_open)
        return;
    closeStream();
    m_lame.beWriteVBRHeader(path);
}

qint64 LameBlockEncoder::maxOutput(qint64 blockBytes) const {
    if (m_chunk == 0)
        return blockBytes;
    const qint64 calls = (blockBytes / 2 + m_chunk - 1) / m_chunk;
    return calls * m_outputSize;
}

qint64 LameBlockEncoder::heldOutputBound() const {
    // LAME's own bound for what its flush gives, two of the longest frames
    // (320 kbit/s at 32 kHz) for the frame a full disk cuts, and the frame part
    // waiting here.
    constexpr qint64 kFlushBound = 7200;
    constexpr qint64 kLongestFrame = 1441;
    return kFlushBound + 2 * kLongestFrame + m_frames.held();
}

qint64 LameBlockEncoder::samplesOut() const {
    // A decoder gives LAME's encoder delay and its own first (576 + 529
    // samples) before the first sample that went in.
    constexpr qint64 kDelay = 1105;
    const qint64 decoded = m_frames.samples();
    return decoded < 0 ? -1 : std::max<qint64>(0, decoded - kDelay);
}

} // namespace kelbrin
