#pragma once
// Helpers of the recording tests: sine sources, the oracles (ffprobe, ffmpeg,
// mpg123) and a WAVE file laid out as the encoder server writes it.

#include "platform/codecs/WaveFormat.h"

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <vector>

namespace kelbrin::test {

inline QByteArray RunOracle(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

// 16-bit interleaved sine samples (all channels alike).
inline std::vector<std::int16_t> SineS16(double frequency, int rate, int channels, double seconds,
                                         double amplitude = 0.5) {
    const int frames = static_cast<int>(std::lround(rate * seconds));
    std::vector<std::int16_t> samples(static_cast<size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(std::lround(amplitude * 32767 * std::sin(2 * M_PI * frequency * i / rate)));
        for (int c = 0; c < channels; ++c)
            samples[static_cast<size_t>(i) * channels + c] = v;
    }
    return samples;
}

// A sine in the capture format: 8-bit unsigned mono or 16-bit stereo.
inline QByteArray SinePcm(const WaveFormatEx& format, double frequency, double seconds) {
    const auto s16 = SineS16(frequency, static_cast<int>(format.nSamplesPerSec), format.nChannels, seconds);
    QByteArray bytes;
    if (format.wBitsPerSample == 8) {
        for (std::int16_t v : s16)
            bytes.append(static_cast<char>((v >> 8) + 128));
    } else {
        bytes.resize(static_cast<qsizetype>(s16.size() * 2));
        for (size_t i = 0; i < s16.size(); ++i)
            qToLittleEndian<qint16>(s16[i], bytes.data() + i * 2);
    }
    return bytes;
}

// IMA ADPCM at 22050 Hz, 4 bits, as the chooser gives it (512 bytes a block per channel).
inline WaveFormatEx ImaAdpcm22050(std::uint16_t channels) {
    WaveFormatEx f;
    f.wFormatTag = wave::kImaAdpcm;
    f.nChannels = channels;
    f.nSamplesPerSec = 22050;
    f.nAvgBytesPerSec = channels == 1 ? 11100 : 22311;
    f.nBlockAlign = static_cast<std::uint16_t>(512 * channels);
    f.wBitsPerSample = 4;
    f.cbSize = 2;
    f.extra = QByteArray("\xf9\x03", 2);
    return f;
}

// ffprobe's fields of the first audio stream ("codec_name", "sample_rate", ...).
inline QMap<QString, QString> ProbeStream(const QString& path) {
    const QString out = QString::fromUtf8(RunOracle(
        "ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries",
                    "stream=codec_name,sample_rate,channels,bit_rate:format=duration,bit_rate", "-of",
                    "default=noprint_wrappers=1", path}));
    QMap<QString, QString> fields;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && !fields.contains(line.left(eq)))
            fields.insert(line.left(eq), line.mid(eq + 1));
    }
    return fields;
}

// The file decoded by ffmpeg to 16-bit mono samples at its own rate.
inline std::vector<std::int16_t> DecodeMono(const QString& path) {
    const QByteArray raw = RunOracle("ffmpeg", {"-v", "error", "-i", path, "-ac", "1", "-f", "s16le", "-"});
    std::vector<std::int16_t> samples(static_cast<size_t>(raw.size() / 2));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = qFromLittleEndian<qint16>(raw.constData() + i * 2);
    return samples;
}

// The frequency of a sine from its rising zero crossings, skipping the edges.
inline double SineFrequency(const std::vector<std::int16_t>& s, int rate) {
    const size_t skip = s.size() / 10;
    int first = -1, last = -1, count = 0;
    for (size_t i = skip + 1; i + skip < s.size(); ++i)
        if (s[i - 1] < 0 && s[i] >= 0) {
            if (first < 0)
                first = static_cast<int>(i);
            last = static_cast<int>(i);
            ++count;
        }
    if (count < 2)
        return 0;
    return static_cast<double>(count - 1) * rate / (last - first);
}

// A WAVE file as the encoder server lays it out: RIFF, "fmt " with the first
// `formatSize` bytes of the record, "fact", "data".
inline void WriteWave(const QString& path, const WaveFormatEx& format, int formatSize, const QByteArray& data) {
    auto u32 = [](std::uint32_t v) {
        QByteArray b(4, '\0');
        qToLittleEndian<quint32>(v, b.data());
        return b;
    };
    QByteArray body = "WAVE";
    body += "fmt " + u32(formatSize) + format.toBytes(formatSize);
    body += "fact" + u32(4) + u32(0);
    body += "data" + u32(static_cast<std::uint32_t>(data.size())) + data;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("RIFF" + u32(static_cast<std::uint32_t>(body.size())) + body);
}

} // namespace kelbrin::test
