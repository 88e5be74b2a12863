#include "Mp3LameLibrary.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QVersionNumber>

#include <lame/lame.h>

#include <algorithm>
#include <cstring>

namespace kelbrin {

namespace {

lame_global_flags* gf(void* flags) { return static_cast<lame_global_flags*>(flags); }

// LAME's own advice for the output of n samples per channel.
std::uint32_t outputBound(std::uint32_t samplesPerChannel) {
    return samplesPerChannel + samplesPerChannel / 4 + 7200;
}

int qualityOfPreset(std::int32_t preset) {
    switch (preset) {
    case LQP_LOW_QUALITY:
        return 7;
    case LQP_HIGH_QUALITY:
        return 2;
    default: // normal and voice: the library's standard trade-off
        return 5;
    }
}

bool configure(lame_global_flags* g, const BE_CONFIG& c, int channels) {
    if (c.dwConfig != BE_CONFIG_LAME || c.dwSampleRate == 0 || c.nMode < 0 || c.nMode > 3)
        return false;
    lame_set_in_samplerate(g, static_cast<int>(c.dwSampleRate));
    // The chosen rate is kept; LAME would otherwise pick its own for low bit rates.
    lame_set_out_samplerate(g, static_cast<int>(c.dwReSampleRate ? c.dwReSampleRate : c.dwSampleRate));
    lame_set_num_channels(g, channels);
    lame_set_mode(g, static_cast<MPEG_mode>(c.nMode));
    lame_set_quality(g, qualityOfPreset(c.nPreset));
    lame_set_emphasis(g, static_cast<int>(c.dwEmphasis));
    lame_set_extension(g, c.bPrivate != 0);
    lame_set_error_protection(g, c.bCRC != 0);
    lame_set_copyright(g, c.bCopyright != 0);
    lame_set_original(g, c.bOriginal != 0);
    if (c.bEnableVBR) {
        const bool abr = c.nVbrMethod == VBR_METHOD_ABR;
        lame_set_VBR(g, abr ? vbr_abr : vbr_default);
        // LAME aborts on a minimum above the maximum or a mean outside them,
        // so a record that holds them the wrong way round is put right here.
        const int low = static_cast<int>(std::min(c.dwBitrate, c.dwMaxBitrate));
        const int high = static_cast<int>(std::max(c.dwBitrate, c.dwMaxBitrate));
        lame_set_VBR_min_bitrate_kbps(g, low);
        lame_set_VBR_max_bitrate_kbps(g, high);
        if (abr)
            lame_set_VBR_mean_bitrate_kbps(g, std::clamp(static_cast<int>((c.dwVbrAbr_bps + 500) / 1000), low, high));
        else
            lame_set_VBR_q(g, std::clamp<int>(c.nVBRQuality, 0, 9));
        lame_set_bWriteVbrTag(g, c.bWriteVBRHeader != 0);
    } else {
        lame_set_VBR(g, vbr_off);
        lame_set_brate(g, static_cast<int>(c.dwBitrate));
        lame_set_bWriteVbrTag(g, 0);
    }
    return lame_init_params(g) >= 0;
}

// Offset of the "Xing" or "Info" mark inside a VBR frame, or -1.
qsizetype tagMark(const QByteArray& frame) {
    for (const char* mark : {"Xing", "Info"}) {
        const qsizetype at = frame.indexOf(mark);
        if (at >= 0)
            return at;
    }
    return -1;
}

} // namespace

Mp3LameLibrary::~Mp3LameLibrary() {
    for (auto& [handle, stream] : m_streams)
        lame_close(gf(stream.flags));
}

Mp3LameLibrary::Stream* Mp3LameLibrary::find(HBE_STREAM handle) {
    auto it = m_streams.find(handle);
    return it == m_streams.end() ? nullptr : &it->second;
}

BE_ERR Mp3LameLibrary::beInitStream(const BE_CONFIG& config, std::uint32_t* samplesPerChunk,
                                    std::uint32_t* outputBufferSize, HBE_STREAM* stream) {
    lame_global_flags* g = lame_init();
    if (!g)
        return BE_ERR_NO_MORE_HANDLES;
    const int channels = config.nMode == BE_MP3_MODE_MONO ? 1 : 2;
    if (!configure(g, config, channels)) {
        lame_close(g);
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    const auto framesize = static_cast<std::uint32_t>(lame_get_framesize(g));
    Stream s;
    s.flags = g;
    s.channels = channels;
    s.outputSize = outputBound(framesize);
    const HBE_STREAM handle = m_nextHandle++;
    m_streams[handle] = s;
    if (samplesPerChunk)
        *samplesPerChunk = framesize * static_cast<std::uint32_t>(channels);
    if (outputBufferSize)
        *outputBufferSize = s.outputSize;
    if (stream)
        *stream = handle;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR Mp3LameLibrary::beEncodeChunk(HBE_STREAM handle, std::uint32_t samples, const std::int16_t* pcm,
                                     unsigned char* output, std::uint32_t* outputBytes) {
    if (outputBytes)
        *outputBytes = 0;
    Stream* s = find(handle);
    if (!s || s->flushed)
        return BE_ERR_INVALID_HANDLE;
    if (!pcm || !output)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const int perChannel = static_cast<int>(samples) / s->channels;
    // The caller's buffer holds what beInitStream promised; LAME refuses to
    // write more rather than overrun it.
    const int capacity = static_cast<int>(s->outputSize);
    int written = 0;
    if (s->channels == 1)
        written = lame_encode_buffer(gf(s->flags), const_cast<short*>(pcm), const_cast<short*>(pcm),
                                     perChannel, output, capacity);
    else
        written = lame_encode_buffer_interleaved(gf(s->flags), const_cast<short*>(pcm), perChannel,
                                                 output, capacity);
    if (written < 0)
        return written == -1 ? BE_ERR_BUFFER_TOO_SMALL : BE_ERR_INVALID_FORMAT;
    if (outputBytes)
        *outputBytes = static_cast<std::uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

BE_ERR Mp3LameLibrary::beDeinitStream(HBE_STREAM handle, unsigned char* output, std::uint32_t* outputBytes) {
    if (outputBytes)
        *outputBytes = 0;
    Stream* s = find(handle);
    if (!s || s->flushed)
        return BE_ERR_INVALID_HANDLE;
    if (!output)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const int written = lame_encode_flush(gf(s->flags), output, static_cast<int>(s->outputSize));
    if (written < 0)
        return BE_ERR_BUFFER_TOO_SMALL;
    s->flushed = true;
    if (outputBytes)
        *outputBytes = static_cast<std::uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

BE_ERR Mp3LameLibrary::beCloseStream(HBE_STREAM handle) {
    Stream* s = find(handle);
    if (!s)
        return BE_ERR_INVALID_HANDLE;
    m_lastTag.clear();
    if (s->flushed) {
        // The frame is only final once everything has been flushed.
        unsigned char buffer[8192];
        const size_t size = lame_get_lametag_frame(gf(s->flags), buffer, sizeof buffer);
        if (size > 0 && size <= sizeof buffer)
            m_lastTag = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    }
    lame_close(gf(s->flags));
    m_streams.erase(handle);
    return BE_ERR_SUCCESSFUL;
}

void Mp3LameLibrary::beVersion(BE_VERSION* version) {
    if (!version)
        return;
    *version = BE_VERSION{};
    // The interface is this program's own layer: its version and build date.
    const QVersionNumber own = QVersionNumber::fromString(QStringLiteral(KELBRIN_VERSION));
    version->byDLLMajorVersion = static_cast<std::uint8_t>(own.majorVersion());
    version->byDLLMinorVersion = static_cast<std::uint8_t>(own.minorVersion());
    lame_version_t engine;
    get_lame_version_numerical(&engine);
    version->byMajorVersion = static_cast<std::uint8_t>(engine.major);
    version->byMinorVersion = static_cast<std::uint8_t>(engine.minor);
    version->byAlphaLevel = static_cast<std::uint8_t>(engine.alpha);
    version->byBetaLevel = static_cast<std::uint8_t>(engine.beta);
    const QDate built = QLocale::c().toDate(QString::fromLatin1(__DATE__).simplified(),
                                            QStringLiteral("MMM d yyyy"));
    if (built.isValid()) {
        version->byDay = static_cast<std::uint8_t>(built.day());
        version->byMonth = static_cast<std::uint8_t>(built.month());
        version->wYear = static_cast<std::uint16_t>(built.year());
    }
    std::strncpy(version->zHomepage, get_lame_url(), sizeof version->zHomepage - 1);
}

BE_ERR Mp3LameLibrary::beWriteVBRHeader(const QString& path) {
    if (m_lastTag.isEmpty())
        return BE_ERR_SUCCESSFUL; // the stream had no VBR header to write
    const qsizetype mark = tagMark(m_lastTag);
    QFile file(path);
    if (mark < 0 || !file.exists() || !file.open(QIODevice::ReadWrite))
        return BE_ERR_INVALID_HANDLE;
    // Only the placeholder frame LAME wrote at the start may be replaced: a
    // frame of the same size (the first three header bytes fix it; the channel
    // bits of the fourth may differ) with an empty body, or a tag written before.
    const QByteArray head = file.read(m_lastTag.size());
    const QByteArray mark4 = head.mid(mark, 4);
    if (head.size() != m_lastTag.size() || head.left(3) != m_lastTag.left(3) ||
        (mark4 != QByteArray(4, '\0') && mark4 != m_lastTag.mid(mark, 4)))
        return BE_ERR_INVALID_FORMAT;
    if (!file.seek(0) || file.write(m_lastTag) != m_lastTag.size() || !file.flush())
        return BE_ERR_INVALID_HANDLE;
    return BE_ERR_SUCCESSFUL;
}

} // namespace kelbrin
