// Indexing speed and index memory of the frame scanner: the 60-minute
// 128 kbit/s MP3 against one plain read of the same file from the page cache,
// and the peak memory that indexing a 10-hour file (the hour joined ten times)
// adds to the process.
//
//   bench_frame_index [folder]   (default: a new folder under the temp folder,
//                                 removed afterwards)
//
// Targets: indexing at most 1.2x the plain read; at most 10 bytes of peak
// memory added per frame of the 10-hour file.

#include "BenchSupport.h"
#include "core/document/FrameScanHost.h"
#include "core/document/MpegHeader.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaPlikow.h"
#include "platform/settings/MemorySettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

using namespace kelbrin;

namespace {

constexpr int kRuns = 15;

// One pass over the file in 1 MiB reads; the checksum keeps the reads honest.
// The buffer is made once, outside the timing, and starts on a page boundary:
// the system copies file pages fastest into memory aligned like them, and the
// reference must not be slowed by where an allocation happened to land.
double plainReadSeconds(const QString& path, std::uint64_t& checksum) {
    constexpr std::size_t kBlock = 1 << 20;
    static const std::unique_ptr<char, decltype(&std::free)> block(
        static_cast<char*>(std::aligned_alloc(4096, kBlock)), &std::free);
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!block || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    for (;;) {
        const qint64 got = file.read(block.get(), static_cast<qint64>(kBlock));
        if (got <= 0)
            break;
        checksum += static_cast<unsigned char>(block.get()[got - 1]);
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

// A "VmXXX:  1234 kB" line of /proc/self/status, in bytes; -1 when missing.
std::int64_t statusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::stoll(line.substr(key.size())) * 1024;
    return -1;
}

// Sets the peak resident size back to the present one.
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

bool joinTenTimes(const QString& hour, const QString& target) {
    QFile in(hour);
    QFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = in.readAll();
    for (int i = 0; i < 10; ++i)
        if (out.write(bytes) != bytes.size())
            return false;
    return true;
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
    const std::int64_t frames = bench::MakeHourLongMp3(folder, path);
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

    // The 10-hour file: peak resident memory the index build adds.
    const QString longPath = folder + "/ten_hours.mp3";
    if (!joinTenTimes(path, longPath)) {
        std::fprintf(stderr, "could not make the 10-hour file\n");
        return 2;
    }
    std::uint64_t ignored = 0;
    plainReadSeconds(longPath, ignored); // into the page cache
    const double duration = file->sngCzasTrwania;
    file.reset();
    std::shared_ptr<cPozycjaPlikow> longFile;
    const bool peakKnown = resetPeak();
    const std::int64_t before = statusBytes("VmRSS");
    const double longSeconds = indexSeconds(longPath, longFile);
    const std::int64_t peak = statusBytes("VmHWM");
    QFile::remove(longPath);
    if (longSeconds < 0 || longFile->Daj_Naglowek_Ilosc() != frames * 10) {
        std::fprintf(stderr, "the 10-hour file was not indexed in full\n");
        return 2;
    }
    const std::int64_t longFrames = longFile->Daj_Naglowek_Ilosc();
    const double peakPerFrame = double(peak - before) / longFrames;
    const double keptPerFrame = double(longFile->IndexMemoryBytes()) / longFrames;

    const double ratio = bestIndex / bestRead;
    std::printf("file:            %lld bytes, %lld frames, %.1f s\n", static_cast<long long>(size),
                static_cast<long long>(frames), duration);
    std::printf("plain read:      %8.2f ms (1 MiB blocks, best of %d, checksum %llu)\n",
                bestRead * 1e3, kRuns, static_cast<unsigned long long>(checksum % 1000));
    std::printf("full index:      %8.2f ms (best of %d)\n", bestIndex * 1e3, kRuns);
    std::printf("index / read:    %8.2f   (target <= 1.20) %s\n", ratio,
                ratio <= 1.2 ? "met" : "MISSED");
    std::printf("10-hour file:    %lld frames indexed in %.2f ms\n",
                static_cast<long long>(longFrames), longSeconds * 1e3);
    std::printf("index kept:      %8.2f bytes per frame (8 for the positions alone)\n",
                keptPerFrame);
    if (!peakKnown || before < 0 || peak < 0) {
        std::printf("peak memory:     not measurable here\n");
    } else {
        std::printf("peak added:      %8.2f bytes per frame (%.1f MiB; target <= 10) %s\n",
                    peakPerFrame, (peak - before) / 1048576.0, peakPerFrame <= 10.0 ? "met" : "MISSED");
    }
    return 0;
}
