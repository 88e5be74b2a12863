#pragma once
// Blocks of 16-bit PCM into MP3 frames through LAME's stream interface, fed
// chunk by chunk in the size the encoder asks for. Its output goes on in whole
// frames only, so a file always ends on a frame boundary.

#include "BlockEncoder.h"
#include "WholeMpegFrames.h"

#include "platform/lame/LameLibrary.h"

#include <vector>

namespace kelbrin {

class LameBlockEncoder final : public BlockEncoder {
public:
    explicit LameBlockEncoder(const BE_CONFIG& config, LameLibrary& library = Lame());
    ~LameBlockEncoder() override;

    // Opens the stream; false (with lastError) when the library cannot be
    // loaded or refuses the configuration.
    bool open();
    std::uint32_t outputBufferSize() const { return m_outputSize; }

    bool encode(const QByteArray& block, QByteArray& out) override;
    bool flush(QByteArray& out) override;
    bool restartsAtSplit() const override { return true; }
    void finishFile(const QString& path) override;
    bool restart() override { return open(); }
    qint64 maxOutput(qint64 blockBytes) const override;
    qint64 heldOutputBound() const override;
    qint64 samplesOut() const override;
    QString lastError() const override { return m_error; }

private:
    void closeStream();

    BE_CONFIG m_config;
    LameLibrary& m_lame;
    HBE_STREAM m_stream = 0;
    bool m_open = false;
    std::uint32_t m_chunk = 0;      // 16-bit values per call
    std::uint32_t m_outputSize = 0; // bytes one call can give
    std::vector<unsigned char> m_output;
    WholeMpegFrames m_frames; // the part of the last frame, until the rest comes
    QString m_error;
};

} // namespace kelbrin
