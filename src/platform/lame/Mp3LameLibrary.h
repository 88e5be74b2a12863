#pragma once
// LAME's stream interface over libmp3lame.

#include "LameLibrary.h"

#include <QByteArray>
#include <map>

namespace kelbrin {

class Mp3LameLibrary final : public LameLibrary {
public:
    Mp3LameLibrary() = default;
    ~Mp3LameLibrary() override;
    Mp3LameLibrary(const Mp3LameLibrary&) = delete;
    Mp3LameLibrary& operator=(const Mp3LameLibrary&) = delete;

    LameLibraryState state() override { return {}; }
    BE_ERR beInitStream(const BE_CONFIG& config, std::uint32_t* samplesPerChunk,
                        std::uint32_t* outputBufferSize, HBE_STREAM* stream) override;
    BE_ERR beEncodeChunk(HBE_STREAM stream, std::uint32_t samples, const std::int16_t* pcm,
                         unsigned char* output, std::uint32_t* outputBytes) override;
    BE_ERR beDeinitStream(HBE_STREAM stream, unsigned char* output,
                          std::uint32_t* outputBytes) override;
    BE_ERR beCloseStream(HBE_STREAM stream) override;
    void beVersion(BE_VERSION* version) override;
    BE_ERR beWriteVBRHeader(const QString& path) override;

private:
    struct Stream {
        void* flags = nullptr; // lame_global_flags
        int channels = 2;
        std::uint32_t outputSize = 0;
        bool flushed = false;
    };
    Stream* find(HBE_STREAM handle);

    std::map<HBE_STREAM, Stream> m_streams;
    HBE_STREAM m_nextHandle = 1;
    QByteArray m_lastTag; // VBR frame of the stream closed last
};

} // namespace kelbrin
