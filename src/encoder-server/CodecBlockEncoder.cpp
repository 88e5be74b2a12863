#include "CodecBlockEncoder.h"

namespace kelbrin {

CodecBlockEncoder::CodecBlockEncoder(const WaveFormatEx& source, const WaveFormatEx& destination,
                                     int* error, CodecLibrary& library) {
    int code = codec::kOk;
    m_stream = library.openStream(source, destination, &code);
    if (!m_stream && code == codec::kOk)
        code = codec::kError;
    if (error)
        *error = code;
}

bool CodecBlockEncoder::encode(const QByteArray& block, QByteArray& out) {
    if (!m_stream || m_flushed)
        return false;
    QByteArray converted;
    const int result = m_stream->convert(block, converted, false);
    if (result != codec::kOk) {
        m_error = CodecErrorText(result);
        return false;
    }
    out.append(converted);
    return true;
}

bool CodecBlockEncoder::flush(QByteArray& out) {
    if (!m_stream || m_flushed)
        return false;
    m_flushed = true;
    // Only what the codec still holds: the last block was converted already.
    QByteArray rest;
    const int result = m_stream->convert(QByteArray(), rest, true);
    if (result != codec::kOk) {
        m_error = CodecErrorText(result);
        return false;
    }
    out.append(rest);
    return true;
}

qint64 CodecBlockEncoder::maxOutput(qint64 blockBytes) const {
    return m_stream ? m_stream->destinationSize(blockBytes) : blockBytes;
}

qint64 CodecBlockEncoder::heldOutputBound() const {
    // What converting nothing more can give covers the samples held, and a
    // codec block besides.
    return m_stream ? m_stream->destinationSize(0) : 0;
}

} // namespace kelbrin
