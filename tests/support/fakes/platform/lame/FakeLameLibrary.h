#pragma once
// Test stand-in for LAME's stream interface: records every call and "encodes"
// each chunk into a fixed number of bytes, so that callers' loops, splits and
// hand-overs can be checked without real audio.

#include "platform/lame/LameLibrary.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <set>

namespace kelbrin {

class FakeLameLibrary final : public LameLibrary {
public:
    // What the fake answers.
    LameLibraryState libraryState;
    BE_ERR initResult = BE_ERR_SUCCESSFUL;
    std::uint32_t samplesPerChunk = 1152; // as the library reports it (all channels)
    std::uint32_t outputBufferSize = 8640;
    std::uint32_t bytesPerChunk = 417;    // output of one beEncodeChunk call
    std::uint32_t bytesAtFlush = 100;
    BE_VERSION version;

    // What the callers did.
    QList<BE_CONFIG> initConfigs;
    QList<std::uint32_t> encodedSamples; // samples of each beEncodeChunk call
    int deinitCalls = 0;
    QList<HBE_STREAM> closedStreams;
    QStringList vbrHeaderPaths;
    int versionCalls = 0;

    LameLibraryState state() override { return libraryState; }

    BE_ERR beInitStream(const BE_CONFIG& config, std::uint32_t* samples, std::uint32_t* outputSize,
                        HBE_STREAM* stream) override {
        if (!libraryState.loaded)
            return BE_ERR_INVALID_HANDLE;
        initConfigs.append(config);
        if (initResult != BE_ERR_SUCCESSFUL)
            return initResult;
        const HBE_STREAM handle = nextHandle++;
        open.insert(handle);
        if (samples)
            *samples = samplesPerChunk;
        if (outputSize)
            *outputSize = outputBufferSize;
        if (stream)
            *stream = handle;
        return BE_ERR_SUCCESSFUL;
    }
    BE_ERR beEncodeChunk(HBE_STREAM stream, std::uint32_t samples, const std::int16_t*,
                         unsigned char* output, std::uint32_t* outputBytes) override {
        if (!open.count(stream))
            return BE_ERR_INVALID_HANDLE;
        encodedSamples.append(samples);
        return produce(bytesPerChunk, output, outputBytes);
    }
    BE_ERR beDeinitStream(HBE_STREAM stream, unsigned char* output, std::uint32_t* outputBytes) override {
        if (!open.count(stream))
            return BE_ERR_INVALID_HANDLE;
        ++deinitCalls;
        return produce(bytesAtFlush, output, outputBytes);
    }
    BE_ERR beCloseStream(HBE_STREAM stream) override {
        if (!open.erase(stream))
            return BE_ERR_INVALID_HANDLE;
        closedStreams.append(stream);
        return BE_ERR_SUCCESSFUL;
    }
    void beVersion(BE_VERSION* out) override {
        ++versionCalls;
        if (out)
            *out = libraryState.loaded ? version : BE_VERSION{};
    }
    BE_ERR beWriteVBRHeader(const QString& path) override {
        vbrHeaderPaths.append(path);
        return BE_ERR_SUCCESSFUL;
    }

    int openStreams() const { return static_cast<int>(open.size()); }

private:
    BE_ERR produce(std::uint32_t bytes, unsigned char* output, std::uint32_t* outputBytes) {
        bytes = bytes < outputBufferSize ? bytes : outputBufferSize;
        if (output)
            for (std::uint32_t i = 0; i < bytes; ++i)
                output[i] = static_cast<unsigned char>(i);
        if (outputBytes)
            *outputBytes = bytes;
        return BE_ERR_SUCCESSFUL;
    }

    std::set<HBE_STREAM> open;
    HBE_STREAM nextHandle = 1;
};

} // namespace kelbrin
