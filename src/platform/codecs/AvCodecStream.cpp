#include "AvCodecStream.h"

#include "AvCodecFormats.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace kelbrin {

namespace {

constexpr int kPcmFrame = 4096; // samples per channel handed over at once where any count will do

bool sourceUsable(const WaveFormatEx& s) {
    if (s.nChannels < 1 || s.nChannels > 2 || s.nSamplesPerSec == 0)
        return false;
    if (s.wFormatTag == wave::kPcm)
        return s.wBitsPerSample == 8 || s.wBitsPerSample == 16 || s.wBitsPerSample == 24 ||
               s.wBitsPerSample == 32;
    return s.wFormatTag == wave::kIeeeFloat && s.wBitsPerSample == 32;
}

float readSample(const char* p, const WaveFormatEx& s) {
    if (s.wFormatTag == wave::kIeeeFloat)
        return qFromLittleEndian<float>(p);
    switch (s.wBitsPerSample) {
    case 8:
        return (static_cast<unsigned char>(*p) - 128) / 128.0f;
    case 16:
        return qFromLittleEndian<qint16>(p) / 32768.0f;
    case 24: {
        const auto* u = reinterpret_cast<const unsigned char*>(p);
        std::int32_t v = u[0] | (u[1] << 8) | (u[2] << 16);
        if (v & 0x800000)
            v -= 0x1000000;
        return v / 8388608.0f;
    }
    default:
        return static_cast<float>(qFromLittleEndian<qint32>(p) / 2147483648.0);
    }
}

template <typename T> T toInt(float v, double scale) {
    const double x = std::clamp<double>(std::lround(v * scale), -scale, scale - 1);
    return static_cast<T>(x);
}

// Writes sample `i` of channel `c` in the encoder's sample format.
void writeSample(AVFrame* frame, int i, int c, int channels, float v) {
    const auto fmt = static_cast<AVSampleFormat>(frame->format);
    const bool planar = av_sample_fmt_is_planar(fmt);
    const int index = planar ? i : i * channels + c;
    uint8_t* base = frame->extended_data[planar ? c : 0];
    switch (av_get_packed_sample_fmt(fmt)) {
    case AV_SAMPLE_FMT_U8:
        base[index] = static_cast<uint8_t>(toInt<int>(v, 128.0) + 128);
        break;
    case AV_SAMPLE_FMT_S16:
        reinterpret_cast<int16_t*>(base)[index] = toInt<int16_t>(v, 32768.0);
        break;
    case AV_SAMPLE_FMT_S32:
        reinterpret_cast<int32_t*>(base)[index] = toInt<int32_t>(v, 2147483648.0);
        break;
    case AV_SAMPLE_FMT_FLT:
        reinterpret_cast<float*>(base)[index] = v;
        break;
    case AV_SAMPLE_FMT_DBL:
        reinterpret_cast<double*>(base)[index] = v;
        break;
    default:
        break;
    }
}

} // namespace

AvCodecStream::AvCodecStream(const WaveFormatEx& source, const WaveFormatEx& destination, int* error) {
    const int result = open(source, destination);
    if (error)
        *error = result;
}

AvCodecStream::~AvCodecStream() {
    av_packet_free(&m_packet);
    av_frame_free(&m_frame);
    avcodec_free_context(&m_context);
}

int AvCodecStream::open(const WaveFormatEx& source, const WaveFormatEx& destination) {
    m_source = source;
    m_destination = destination;
    const char* name = avformats::EncoderName(destination);
    if (!name || !sourceUsable(source) || source.nChannels != destination.nChannels ||
        source.nSamplesPerSec != destination.nSamplesPerSec)
        return codec::kNotPossible;
    const AVCodec* encoder = avcodec_find_encoder_by_name(name);
    if (!encoder)
        return codec::kNotPossible;
    m_context = avcodec_alloc_context3(encoder);
    if (!m_context)
        return codec::kError;
    m_context->sample_rate = static_cast<int>(destination.nSamplesPerSec);
    av_channel_layout_default(&m_context->ch_layout, destination.nChannels);
    m_context->sample_fmt = encoder->sample_fmts ? encoder->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    m_context->bit_rate = static_cast<int64_t>(destination.nAvgBytesPerSec) * 8;
    const bool adpcm = destination.wFormatTag == wave::kImaAdpcm || destination.wFormatTag == wave::kMsAdpcm;
    if (adpcm)
        av_opt_set_int(m_context->priv_data, "block_size", destination.nBlockAlign, 0);
    if (destination.wFormatTag == wave::kMpegLayer3)
        av_opt_set_int(m_context->priv_data, "reservoir", 1, 0);
    if (avcodec_open2(m_context, encoder, nullptr) < 0)
        return codec::kNotPossible;
    // A record whose codec block differs from what the encoder writes would
    // describe the data wrongly.
    if ((adpcm || destination.wFormatTag == wave::kGsm610) &&
        m_context->block_align != destination.nBlockAlign)
        return codec::kNotPossible;
    m_frameSize = m_context->frame_size > 0 ? m_context->frame_size : kPcmFrame;
    m_padLastFrame = m_context->frame_size > 0 &&
                     !(encoder->capabilities & (AV_CODEC_CAP_VARIABLE_FRAME_SIZE | AV_CODEC_CAP_SMALL_LAST_FRAME));
    m_frame = av_frame_alloc();
    m_packet = av_packet_alloc();
    if (!m_frame || !m_packet)
        return codec::kError;
    return codec::kOk;
}

qint64 AvCodecStream::destinationSize(qint64 sourceBytes) const {
    const int align = std::max<int>(1, m_source.nBlockAlign);
    const qint64 samples = (sourceBytes + m_partial.size()) / align +
                           static_cast<qint64>(m_pending.size()) / std::max<int>(1, m_source.nChannels) +
                           m_frameSize;
    const qint64 frames = samples / m_frameSize + 2;
    if (m_destination.wFormatTag == wave::kMpegLayer3) {
        const double seconds = static_cast<double>(samples) / std::max<std::uint32_t>(1, m_source.nSamplesPerSec);
        return std::max<qint64>(samples * 5 / 4, static_cast<qint64>(seconds * m_destination.nAvgBytesPerSec * 2)) + 7200;
    }
    if (m_context && m_context->block_align > 0 && m_context->frame_size > 0)
        return frames * m_context->block_align;
    return (samples + m_frameSize) * std::max<int>(1, m_destination.nBlockAlign);
}

void AvCodecStream::decodeSource(const QByteArray& source) {
    const int align = m_source.nBlockAlign > 0 ? m_source.nBlockAlign
                                               : m_source.nChannels * (m_source.wBitsPerSample / 8);
    const int bytes = m_source.wBitsPerSample / 8;
    QByteArray data = m_partial + source;
    const qsizetype whole = data.size() / align * align;
    m_pending.reserve(m_pending.size() + static_cast<size_t>(whole / bytes));
    for (qsizetype at = 0; at < whole; at += align)
        for (int c = 0; c < m_source.nChannels; ++c)
            m_pending.push_back(readSample(data.constData() + at + c * bytes, m_source));
    m_partial = data.mid(whole);
}

int AvCodecStream::sendFrame(int samples, QByteArray& output) {
    const int channels = m_source.nChannels;
    av_frame_unref(m_frame);
    m_frame->format = m_context->sample_fmt;
    m_frame->sample_rate = m_context->sample_rate;
    av_channel_layout_copy(&m_frame->ch_layout, &m_context->ch_layout);
    const int frameSamples = m_padLastFrame ? m_frameSize : samples;
    m_frame->nb_samples = frameSamples;
    if (av_frame_get_buffer(m_frame, 0) < 0)
        return codec::kError;
    for (int i = 0; i < frameSamples; ++i)
        for (int c = 0; c < channels; ++c)
            writeSample(m_frame, i, c, channels,
                        i < samples ? m_pending[static_cast<size_t>(i * channels + c)] : 0.0f);
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(samples) * channels);
    if (avcodec_send_frame(m_context, m_frame) < 0)
        return codec::kError;
    m_sent.push_back(samples); // counted once the encoder took the frame
    return drain(output);
}

int AvCodecStream::drain(QByteArray& output) {
    for (;;) {
        const int r = avcodec_receive_packet(m_context, m_packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            return codec::kOk;
        if (r < 0)
            return codec::kError;
        output.append(reinterpret_cast<const char*>(m_packet->data), m_packet->size);
        av_packet_unref(m_packet);
        // Audio encoders give one packet per frame, in order.
        if (!m_sent.empty()) {
            m_samplesOut += m_sent.front();
            m_sent.pop_front();
        }
    }
}

int AvCodecStream::convert(const QByteArray& source, QByteArray& output, bool end) {
    output.clear();
    if (!m_context || !m_frame)
        return codec::kNotPossible;
    if (m_ended)
        return codec::kUnprepared;
    decodeSource(source);
    const int channels = m_source.nChannels;
    while (static_cast<int>(m_pending.size()) >= m_frameSize * channels)
        if (int r = sendFrame(m_frameSize, output); r != codec::kOk)
            return r;
    if (!end)
        return codec::kOk;
    m_ended = true;
    if (!m_pending.empty())
        if (int r = sendFrame(static_cast<int>(m_pending.size()) / channels, output); r != codec::kOk)
            return r;
    if (avcodec_send_frame(m_context, nullptr) < 0)
        return codec::kError;
    return drain(output);
}

} // namespace kelbrin
