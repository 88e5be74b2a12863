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

// Ten seconds of noise encoded once; its frames are repeated to an hour.
// Returns the number of frames written, 0 on failure.
std::int64_t MakeHourLongMp3(const QString& folder, const QString& target) {
    const QString wav = folder + "/seed.wav";
    const QString seed = folder + "/seed.mp3";
    if (!RunProgram("sox", {"-q", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "10",
                            "pinknoise", "vol", "0.5"}) ||
        !RunProgram("lame", {"--quiet", "-b", "128", "-t", wav, seed}))
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
    const double frameSeconds = 1152.0 / 44100.0;
    const auto wanted = static_cast<std::int64_t>(3600 / frameSeconds) + 1;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    QByteArray chunk;
    for (std::int64_t i = 0; i < wanted; ++i) {
        chunk += frames[i % frames.size()];
        if (chunk.size() > (4 << 20) || i + 1 == wanted) {
            if (out.write(chunk) != chunk.size())
                return 0;
            chunk.clear();
        }
    }
    return wanted;
}

} // namespace kelbrin::bench
