// Indexing speed and index memory of the frame scanner on a 60-minute
// 128 kbit/s MP3, against one plain read of the same file from the page cache.
//
//   bench_frame_index [folder]   (default: a new folder under the temp folder,
//                                 removed afterwards)
//
// Targets: indexing within 2x the plain read, at most 16 bytes of index per frame.

#include "core/document/FrameScanHost.h"
#include "core/document/MpegHeader.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaPlikow.h"
#include "platform/settings/MemorySettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace kelbrin;

namespace {

constexpr double kTargetSeconds = 3600;
constexpr int kRuns = 5;

bool run(const QString& program, const QStringList& arguments) {
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
std::int64_t makeHourLongMp3(const QString& folder, const QString& target) {
    const QString wav = folder + "/seed.wav";
    const QString seed = folder + "/seed.mp3";
    if (!run("sox", {"-q", "-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "10",
                     "pinknoise", "vol", "0.5"}) ||
        !run("lame", {"--quiet", "-b", "128", "-t", wav, seed}))
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
    const auto wanted = static_cast<std::int64_t>(kTargetSeconds / frameSeconds) + 1;
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

// One pass over the file in 1 MiB reads; the checksum keeps the reads honest.
double plainReadSeconds(const QString& path, std::uint64_t& checksum) {
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    std::vector<char> block(1 << 20);
    for (;;) {
        const qint64 got = file.read(block.data(), static_cast<qint64>(block.size()));
        if (got <= 0)
            break;
        checksum += static_cast<unsigned char>(block[static_cast<std::size_t>(got - 1)]);
    }
    return timer.nsecsElapsed() / 1e9;
}

double indexSeconds(const QString& path, std::shared_ptr<cPozycjaPlikow>& file) {
    HeadlessScanHost host;
    file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    bool buildIndex = true;
    QString folder;
    QElapsedTimer timer;
    timer.start();
    const QString opened =
        Plik_Open(host, file, buildIndex, false, QString(), nullptr, false, false, folder, 1);
    const double seconds = timer.nsecsElapsed() / 1e9;
    return opened == path ? seconds : -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(folder);
    const QString path = folder + "/hour_128k.mp3";

    std::printf("generating a 60-minute 128 kbit/s MP3 ...\n");
    std::fflush(stdout);
    const std::int64_t frames = makeHourLongMp3(folder, path);
    if (frames == 0) {
        std::fprintf(stderr, "could not make the test file\n");
        return 2;
    }
    const qint64 size = QFileInfo(path).size();

    std::uint64_t checksum = 0;
    plainReadSeconds(path, checksum); // into the page cache
    double bestRead = 1e9;
    double bestIndex = 1e9;
    std::shared_ptr<cPozycjaPlikow> file;
    for (int i = 0; i < kRuns; ++i) {
        bestRead = std::min(bestRead, plainReadSeconds(path, checksum));
        const double seconds = indexSeconds(path, file);
        if (seconds < 0) {
            std::fprintf(stderr, "the scanner refused the file\n");
            return 2;
        }
        bestIndex = std::min(bestIndex, seconds);
    }
    if (file->Daj_Naglowek_Ilosc() != frames) {
        std::fprintf(stderr, "indexed %d frames of %lld\n", file->Daj_Naglowek_Ilosc(),
                     static_cast<long long>(frames));
        return 2;
    }

    const double ratio = bestIndex / bestRead;
    const double bytesPerFrame = double(file->IndexMemoryBytes()) / frames;
    std::printf("file:            %lld bytes, %lld frames, %.1f s\n", static_cast<long long>(size),
                static_cast<long long>(frames), file->sngCzasTrwania);
    std::printf("plain read:      %8.2f ms (1 MiB blocks, best of %d, checksum %llu)\n",
                bestRead * 1e3, kRuns, static_cast<unsigned long long>(checksum % 1000));
    std::printf("full index:      %8.2f ms (best of %d)\n", bestIndex * 1e3, kRuns);
    std::printf("index / read:    %8.2f   (target <= 2.00) %s\n", ratio,
                ratio <= 2.0 ? "met" : "MISSED");
    std::printf("index memory:    %8.2f bytes per frame (target <= 16) %s\n", bytesPerFrame,
                bytesPerFrame <= 16.0 ? "met" : "MISSED");
    return 0;
}
