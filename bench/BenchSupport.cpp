#include "BenchSupport.h"

#include "core/document/MpegHeader.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QProcess>
#include <cstdio>

namespace kelbrin::bench {

bool RunProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return false;
    }
    return true;
}

namespace {

// `seconds` of sound made by sox's synth with `synth`, encoded once by lame with
// `lame`; its frames are repeated to an hour. The seed's first frame (lame's
// tag frame, when it writes one) is written once only. Returns the number of
// frames written, 0 on failure.
std::int64_t makeHour(const QString& folder, const QString& target, const QStringList& synth,
                      const QStringList& lame) {
    const QString wav = folder + "/seed.wav";
    const QString seed = folder + "/seed.mp3";
    if (!RunProgram("sox", QStringList{"-q", "-n", "-r", "44100", "-c", "2", "-b", "16", wav,
                                       "synth"} + synth) ||
        !RunProgram("lame", QStringList{"--quiet"} + lame + QStringList{wav, seed}))
        return 0;
    QFile seedFile(seed);
    if (!seedFile.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = seedFile.readAll();
    QList<QByteArray> frames;
    for (qsizetype pos = 0; pos + 4 <= bytes.size();) {
        const auto* h = reinterpret_cast<const std::uint8_t*>(bytes.constData() + pos);
        if (!mpeg::IsCandidate(h) || mpeg::Layer(h[1]) != mpeg::kLayer3 ||
            mpeg::Version(h[1]) != mpeg::kVersionMpeg1)
            return 0;
        // The real length of an MPEG-1 Layer III frame (the scanner's own may
        // be rounded one byte up).
        const int length =
            144 * mpeg::Bitrate(h[1], h[2]) / mpeg::RealRate(h[1], h[2]) + mpeg::Padding(h[2]);
        frames.append(bytes.mid(pos, length));
        pos += length;
    }
    if (frames.size() < 2)
        return 0;
    const double frameSeconds = 1152.0 / 44100.0;
    const auto wanted = static_cast<std::int64_t>(3600 / frameSeconds) + 1;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    QByteArray chunk;
    for (std::int64_t i = 0; i < wanted; ++i) {
        chunk += frames[i == 0 ? 0 : 1 + (i - 1) % (frames.size() - 1)];
        if (chunk.size() > (4 << 20) || i + 1 == wanted) {
            if (out.write(chunk) != chunk.size())
                return 0;
            chunk.clear();
        }
    }
    return wanted;
}

} // namespace

std::int64_t MakeHourLongMp3(const QString& folder, const QString& target) {
    return makeHour(folder, target, {"10", "pinknoise", "vol", "0.5"}, {"-b", "128", "-t"});
}

// Noise in one channel and a sweep in the other: lame -V 4 changes the bit
// rate from one frame to the next about every other frame, as with music.
std::int64_t MakeHourLongVbrMp3(const QString& folder, const QString& target) {
    return makeHour(folder, target,
                    {"30", "pinknoise", "sine", "100-9000", "highpass", "200", "vol", "0.7"},
                    {"-V", "4"});
}

} // namespace kelbrin::bench
