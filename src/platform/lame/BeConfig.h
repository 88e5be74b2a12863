#pragma once
// The records of LAME's stream interface: the configuration handed to
// beInitStream and the version record filled by beVersion, with the result
// codes of the calls. The configuration travels as 86 little-endian bytes.

#include <QByteArray>
#include <cstdint>

namespace kelbrin {

using BE_ERR = std::uint32_t;
using HBE_STREAM = std::uint32_t;

constexpr BE_ERR BE_ERR_SUCCESSFUL = 0;
constexpr BE_ERR BE_ERR_INVALID_FORMAT = 1;
constexpr BE_ERR BE_ERR_INVALID_FORMAT_PARAMETERS = 2;
constexpr BE_ERR BE_ERR_NO_MORE_HANDLES = 3;
constexpr BE_ERR BE_ERR_INVALID_HANDLE = 4;
constexpr BE_ERR BE_ERR_BUFFER_TOO_SMALL = 5;

constexpr std::uint32_t BE_CONFIG_LAME = 256;

// Channel modes (nMode).
constexpr std::int32_t BE_MP3_MODE_STEREO = 0;
constexpr std::int32_t BE_MP3_MODE_JSTEREO = 1;
constexpr std::int32_t BE_MP3_MODE_DUALCHANNEL = 2;
constexpr std::int32_t BE_MP3_MODE_MONO = 3;

// MPEG versions (dwMpegVersion): MPEG-1, or MPEG-2 and 2.5 (the low rates).
constexpr std::uint32_t MPEG1 = 1;
constexpr std::uint32_t MPEG2 = 0;

// Quality presets (nPreset).
constexpr std::int32_t LQP_NORMAL_QUALITY = 0;
constexpr std::int32_t LQP_LOW_QUALITY = 1;
constexpr std::int32_t LQP_HIGH_QUALITY = 2;
constexpr std::int32_t LQP_VOICE_QUALITY = 3;

// VBR methods (nVbrMethod).
constexpr std::int32_t VBR_METHOD_NONE = -1;
constexpr std::int32_t VBR_METHOD_DEFAULT = 0;
constexpr std::int32_t VBR_METHOD_OLD = 1;
constexpr std::int32_t VBR_METHOD_NEW = 2;
constexpr std::int32_t VBR_METHOD_MTRH = 3;
constexpr std::int32_t VBR_METHOD_ABR = 4;

struct BE_CONFIG {
    static constexpr int kRecordSize = 86;

    std::uint32_t dwConfig = BE_CONFIG_LAME;
    std::uint32_t dwStructVersion = 1;
    std::uint32_t dwStructSize = kRecordSize;
    std::uint32_t dwSampleRate = 0;
    std::uint32_t dwReSampleRate = 0;
    std::int32_t nMode = 0;
    std::uint32_t dwBitrate = 0;    // kbit/s; the minimum with VBR
    std::uint32_t dwMaxBitrate = 0; // kbit/s
    std::int32_t nPreset = 0;
    std::uint32_t dwMpegVersion = MPEG1;
    std::uint32_t dwPsyModel = 0;
    std::uint32_t dwEmphasis = 0;
    std::int32_t bPrivate = 0;
    std::int32_t bCRC = 0;
    std::int32_t bCopyright = 0;
    std::int32_t bOriginal = 0;
    std::int32_t bWriteVBRHeader = 0;
    std::int32_t bEnableVBR = 0;
    std::int16_t nVBRQuality = 0;   // stored in the low half of a 32-bit field
    std::uint32_t dwVbrAbr_bps = 0; // mean bit rate of ABR in bit/s
    std::int32_t nVbrMethod = 0;

    // The 86 bytes handed to the library; bytes past nVbrMethod are zero.
    QByteArray toBytes() const;
    // Reads a record from its bytes; missing bytes read as zero.
    static BE_CONFIG fromBytes(const QByteArray& bytes);

    bool operator==(const BE_CONFIG&) const = default;
};

struct BE_VERSION {
    std::uint8_t byDLLMajorVersion = 0;
    std::uint8_t byDLLMinorVersion = 0;
    std::uint8_t byMajorVersion = 0;
    std::uint8_t byMinorVersion = 0;
    std::uint8_t byDay = 0;
    std::uint8_t byMonth = 0;
    std::uint16_t wYear = 0;
    char zHomepage[129] = {};
    std::uint8_t byAlphaLevel = 0;
    std::uint8_t byBetaLevel = 0;
    std::uint8_t byMMXEnabled = 0;
};

} // namespace kelbrin
