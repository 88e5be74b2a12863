#pragma once
// Blocks of captured PCM into a WAVE codec's output through the codec layer.
// One stream runs through the whole recording, across splits.

#include "BlockEncoder.h"

#include "platform/codecs/CodecLibrary.h"

#include <memory>

namespace kelbrin {

class CodecBlockEncoder final : public BlockEncoder {
public:
    // Opens the stream; `error` gets the codec's result code (0 when open).
    CodecBlockEncoder(const WaveFormatEx& source, const WaveFormatEx& destination, int* error,
                      CodecLibrary& library = Codecs());

    bool encode(const QByteArray& block, QByteArray& out) override;
    bool flush(QByteArray& out) override;
    bool restartsAtSplit() const override { return false; }
    void finishFile(const QString&) override {}
    bool restart() override { return true; }
    qint64 maxOutput(qint64 blockBytes) const override;
    qint64 heldOutputBound() const override;
    qint64 samplesOut() const override { return m_stream ? m_stream->samplesOut() : -1; }
    QString lastError() const override { return m_error; }

private:
    std::unique_ptr<CodecStream> m_stream;
    bool m_flushed = false;
    QString m_error;
};

} // namespace kelbrin
