#include "AvCodecFormats.h"

#include <QtEndian>
#include <algorithm>

namespace kelbrin::avformats {

namespace {

const QList<std::uint32_t> kRates = {8000, 11025, 16000, 22050, 32000, 44100, 48000};

QString channelsText(std::uint16_t channels) {
    return channels == 1 ? QStringLiteral("mono") : QStringLiteral("stereo");
}

QString rateText(const WaveFormatEx& f) {
    const std::uint32_t kb = (f.nAvgBytesPerSec + 512) / 1024;
    return QStringLiteral("%1 KB/s").arg(kb == 0 ? 1 : kb);
}

CodecFormat plain(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    WaveFormatEx f = WaveFormatEx::pcm(channels, rate, bits);
    f.wFormatTag = tag;
    return {f, QStringLiteral("%1 Hz, %2 bit, %3, %4").arg(rate).arg(bits).arg(channelsText(channels)).arg(rateText(f))};
}

void putWord(QByteArray& bytes, int at, std::uint16_t value) {
    if (bytes.size() < at + 2)
        bytes.resize(at + 2, '\0');
    qToLittleEndian<quint16>(value, bytes.data() + at);
}

CodecFormat adpcm(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate) {
    WaveFormatEx f;
    f.wFormatTag = tag;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = 4;
    f.nBlockAlign = AdpcmBlockAlign(rate, channels);
    std::uint16_t samplesPerBlock = 0;
    if (tag == wave::kImaAdpcm) {
        samplesPerBlock = static_cast<std::uint16_t>((f.nBlockAlign - 4 * channels) * 8 / (4 * channels) + 1);
        f.cbSize = 2;
        putWord(f.extra, 0, samplesPerBlock);
    } else {
        // The seven standard predictor pairs of MS ADPCM.
        static const std::int16_t kCoefficients[7][2] = {{256, 0},   {512, -256}, {0, 0},    {192, 64},
                                                         {240, 0},   {460, -208}, {392, -232}};
        samplesPerBlock = static_cast<std::uint16_t>((f.nBlockAlign - 7 * channels) * 2 / channels + 2);
        f.cbSize = 32;
        putWord(f.extra, 0, samplesPerBlock);
        putWord(f.extra, 2, 7);
        for (int i = 0; i < 7; ++i) {
            putWord(f.extra, 4 + i * 4, static_cast<std::uint16_t>(kCoefficients[i][0]));
            putWord(f.extra, 6 + i * 4, static_cast<std::uint16_t>(kCoefficients[i][1]));
        }
    }
    f.nAvgBytesPerSec = static_cast<std::uint32_t>(
        (static_cast<std::uint64_t>(rate) * f.nBlockAlign + samplesPerBlock / 2) / samplesPerBlock);
    return {f, QStringLiteral("%1 Hz, 4 bit, %2, %3").arg(rate).arg(channelsText(channels)).arg(rateText(f))};
}

CodecFormat gsm() {
    WaveFormatEx f;
    f.wFormatTag = wave::kGsm610;
    f.nChannels = 1;
    f.nSamplesPerSec = 8000;
    f.nBlockAlign = 65;
    f.nAvgBytesPerSec = 1625;
    f.cbSize = 2;
    putWord(f.extra, 0, 320);
    return {f, QStringLiteral("8000 Hz, mono, 1 KB/s")};
}

CodecFormat mp3(std::uint16_t channels, std::uint32_t rate, std::uint32_t kbps) {
    WaveFormatEx f;
    f.wFormatTag = wave::kMpegLayer3;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.nAvgBytesPerSec = kbps * 1000 / 8;
    f.nBlockAlign = 1;
    f.cbSize = 12;
    const std::uint32_t perFrame = rate >= 32000 ? 144000 : 72000;
    putWord(f.extra, 0, 1);                       // wID: MPEG
    putWord(f.extra, 2, 0);                       // fdwFlags: padding as the encoder decides
    putWord(f.extra, 4, 0);
    putWord(f.extra, 6, static_cast<std::uint16_t>(perFrame * kbps / rate)); // nBlockSize
    putWord(f.extra, 8, 1);                       // nFramesPerBlock
    putWord(f.extra, 10, 1105);                   // nCodecDelay: the encoder's delay in samples
    return {f, QStringLiteral("%1 kbit/s, %2 Hz, %3").arg(kbps).arg(rate).arg(channelsText(channels))};
}

} // namespace

std::uint16_t AdpcmBlockAlign(std::uint32_t rate, std::uint16_t channels) {
    const std::uint32_t factor = rate >= 44100 ? 4 : (rate >= 22050 ? 2 : 1);
    return static_cast<std::uint16_t>(256 * channels * factor);
}

const QList<TagInfo>& KnownTags() {
    static const QList<TagInfo> tags = {
        {wave::kPcm, "PCM", 16},
        {wave::kIeeeFloat, "IEEE Float", 18},
        {wave::kALaw, "CCITT A-Law", 18},
        {wave::kMuLaw, "CCITT u-Law", 18},
        {wave::kImaAdpcm, "IMA ADPCM", 20},
        {wave::kMsAdpcm, "MS ADPCM", 50},
        {wave::kGsm610, "GSM 6.10", 20},
        {wave::kMpegLayer3, "MPEG Layer-3", 30},
    };
    return tags;
}

const char* EncoderName(const WaveFormatEx& f) {
    switch (f.wFormatTag) {
    case wave::kPcm:
        switch (f.wBitsPerSample) {
        case 8: return "pcm_u8";
        case 16: return "pcm_s16le";
        case 24: return "pcm_s24le";
        case 32: return "pcm_s32le";
        default: return nullptr;
        }
    case wave::kIeeeFloat:
        return f.wBitsPerSample == 32 ? "pcm_f32le" : (f.wBitsPerSample == 64 ? "pcm_f64le" : nullptr);
    case wave::kALaw: return "pcm_alaw";
    case wave::kMuLaw: return "pcm_mulaw";
    case wave::kImaAdpcm: return "adpcm_ima_wav";
    case wave::kMsAdpcm: return "adpcm_ms";
    case wave::kGsm610: return "libgsm_ms";
    case wave::kMpegLayer3: return "libmp3lame";
    default: return nullptr;
    }
}

QList<CodecFormat> FormatsOf(std::uint16_t tag) {
    QList<CodecFormat> list;
    if (tag == wave::kGsm610)
        return {gsm()};
    if (tag == wave::kMpegLayer3) {
        const QList<std::uint32_t> mpeg1 = {64, 96, 128, 160, 192, 256, 320};
        const QList<std::uint32_t> mpeg2 = {8, 16, 24, 32, 48, 64, 96, 128};
        const QList<std::uint32_t> mpeg25 = {8, 16, 24, 32};
        for (std::uint32_t rate : {48000u, 44100u, 32000u, 24000u, 22050u, 16000u, 12000u, 11025u, 8000u}) {
            const auto& rates = rate >= 32000 ? mpeg1 : (rate >= 16000 ? mpeg2 : mpeg25);
            for (std::uint16_t channels : {2, 1})
                for (qsizetype i = rates.size() - 1; i >= 0; --i)
                    list.append(mp3(channels, rate, rates.at(i)));
        }
        return list;
    }
    for (qsizetype r = kRates.size() - 1; r >= 0; --r) {
        const std::uint32_t rate = kRates.at(r);
        for (std::uint16_t channels : {2, 1}) {
            switch (tag) {
            case wave::kPcm:
                for (std::uint16_t bits : {16, 8, 24})
                    list.append(plain(tag, channels, rate, bits));
                break;
            case wave::kIeeeFloat:
                list.append(plain(tag, channels, rate, 32));
                break;
            case wave::kALaw:
            case wave::kMuLaw:
                list.append(plain(tag, channels, rate, 8));
                break;
            case wave::kImaAdpcm:
            case wave::kMsAdpcm:
                list.append(adpcm(tag, channels, rate));
                break;
            default:
                break;
            }
        }
    }
    return list;
}

} // namespace kelbrin::avformats
