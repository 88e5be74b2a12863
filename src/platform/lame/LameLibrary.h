#pragma once
// LAME's stream interface: the calls the editor and the encoder server make to
// encode 16-bit PCM into an MP3 stream. One stream per recording; the server
// may hold a second while it switches files.
//
// Usage: beInitStream gives the stream handle, the input chunk (16-bit values,
// all channels counted) and the output size one chunk can produce. Feed chunks
// with beEncodeChunk, flush with beDeinitStream, close with beCloseStream, then
// beWriteVBRHeader puts the closed stream's VBR (Xing/LAME) frame into the file
// that holds its output. Output buffers must hold the size beInitStream gave.

#include "BeConfig.h"

#include <QString>
#include <memory>

namespace kelbrin {

// Whether the library could be reached before a call.
struct LameLibraryState {
    bool loaded = true;
    // The library is there but would not load (the platform's error-in-loading
    // kind); only this kind is reported to the user.
    bool errorInLoading = false;
    QString description; // the platform's text for the failure
};

class LameLibrary {
public:
    virtual ~LameLibrary() = default;

    virtual LameLibraryState state() = 0;

    virtual BE_ERR beInitStream(const BE_CONFIG& config, std::uint32_t* samplesPerChunk,
                                std::uint32_t* outputBufferSize, HBE_STREAM* stream) = 0;
    // `samples` 16-bit values, channels interleaved; writes at most the output
    // size that beInitStream gave for a chunk.
    virtual BE_ERR beEncodeChunk(HBE_STREAM stream, std::uint32_t samples, const std::int16_t* pcm,
                                 unsigned char* output, std::uint32_t* outputBytes) = 0;
    // Flushes what the encoder still holds.
    virtual BE_ERR beDeinitStream(HBE_STREAM stream, unsigned char* output,
                                  std::uint32_t* outputBytes) = 0;
    virtual BE_ERR beCloseStream(HBE_STREAM stream) = 0;
    virtual void beVersion(BE_VERSION* version) = 0;
    // Writes the VBR frame of the stream closed last over the placeholder frame
    // at the start of `path`. Nothing is written when that stream had no VBR
    // header; a file that does not start with the placeholder is left alone.
    virtual BE_ERR beWriteVBRHeader(const QString& path) = 0;
};

// The library in force: libmp3lame unless a test installed another.
LameLibrary& Lame();
std::unique_ptr<LameLibrary> SetLameLibrary(std::unique_ptr<LameLibrary> library);

} // namespace kelbrin
