// Indexing speed and index memory of the frame scanner: a 60-minute 128 kbit/s
// MP3 and a 60-minute lame -V 4 MP3 (the bit rate changing about every other
// frame), each against one plain read of the same file from the page cache,
// runs of the four interleaved; and the peak memory that indexing a 10-hour
// file (the constant-rate hour joined ten times) adds to the process.
//
//   bench_frame_index [folder]   (default: a new folder under the temp folder,
//                                 removed afterwards)
//
// Targets: indexing either hour at most 1.2x the plain read (the median of the
// runs' own ratios: each index build against the plain read just before it, so
// a busy machine slows both sides alike); at most 10 bytes of peak memory added
// per frame of the 10-hour file.

#include "BenchSupport.h"
#include "support/ProgramState.h"
#include "core/app/ProgramObjects.h"
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
#include <vector>
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
        Plik_Open(host, &Program().session, Program().settings.SourceFolder, file, buildIndex,
                  false, QString(), nullptr, false, false, folder, 1);
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

// One file's timings: the plain reads and the index builds of every run.
struct Timings {
    QString path;
    std::int64_t frames = 0;
    std::vector<double> reads;
    std::vector<double> indexes;
    std::shared_ptr<cPozycjaPlikow> file;
};

double bestOf(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median of each run's index time over its plain read.
double medianRatio(const Timings& t) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < t.indexes.size(); ++i)
        ratios.push_back(t.indexes[i] / t.reads[i]);
    return medianOf(ratios);
}

void report(const char* name, const Timings& t) {
    const double ratio = medianRatio(t);
    std::printf("%s: %lld bytes, %lld frames, %.1f s\n", name,
                static_cast<long long>(QFileInfo(t.path).size()),
                static_cast<long long>(t.frames), t.file->sngCzasTrwania);
    std::printf("  plain read:    %8.2f ms best, %8.2f ms median (1 MiB blocks)\n",
                bestOf(t.reads) * 1e3, medianOf(t.reads) * 1e3);
    std::printf("  full index:    %8.2f ms best, %8.2f ms median\n", bestOf(t.indexes) * 1e3,
                medianOf(t.indexes) * 1e3);
    std::printf("  index / read:  %8.2f   best, %8.2f   median, %8.2f   median of the runs' own "
                "(target <= 1.20) %s\n",
                bestOf(t.indexes) / bestOf(t.reads), medianOf(t.indexes) / medianOf(t.reads), ratio,
                ratio <= 1.2 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    kelbrin::test::ResetProgramObjects();
    QCoreApplication app(argc, argv);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(folder);
    Timings cbr;
    Timings vbr;
    cbr.path = folder + "/hour_128k.mp3";
    vbr.path = folder + "/hour_v4.mp3";

    std::printf("generating a 60-minute 128 kbit/s MP3 and a 60-minute lame -V 4 MP3 ...\n");
    std::fflush(stdout);
    cbr.frames = bench::MakeHourLongMp3(folder, cbr.path);
    vbr.frames = bench::MakeHourLongVbrMp3(folder, vbr.path);
    if (cbr.frames == 0 || vbr.frames == 0) {
        std::fprintf(stderr, "could not make the test files\n");
        return 2;
    }

    std::uint64_t checksum = 0;
    for (Timings* t : {&cbr, &vbr})
        plainReadSeconds(t->path, checksum); // into the page cache
    for (int i = 0; i < kRuns; ++i) {
        for (Timings* t : {&cbr, &vbr}) {
            t->reads.push_back(plainReadSeconds(t->path, checksum));
            const double seconds = indexSeconds(t->path, t->file);
            if (seconds < 0) {
                std::fprintf(stderr, "the scanner refused %s\n", qPrintable(t->path));
                return 2;
            }
            t->indexes.push_back(seconds);
        }
    }
    for (Timings* t : {&cbr, &vbr}) {
        if (t->file->Daj_Naglowek_Ilosc() != t->frames) {
            std::fprintf(stderr, "indexed %d frames of %lld in %s\n",
                         t->file->Daj_Naglowek_Ilosc(), static_cast<long long>(t->frames),
                         qPrintable(t->path));
            return 2;
        }
    }
    if (!vbr.file->blnVBR) {
        std::fprintf(stderr, "the -V 4 file was not found variable\n");
        return 2;
    }
    std::printf("runs:            %d of each, interleaved (checksum %llu)\n", kRuns,
                static_cast<unsigned long long>(checksum % 1000));
    report("constant 128 kbit/s", cbr);
    report("variable, lame -V 4", vbr);
    const QString path = cbr.path;
    const std::int64_t frames = cbr.frames;
    std::shared_ptr<cPozycjaPlikow> file = std::move(cbr.file);
    vbr.file.reset();

    // The 10-hour file: peak resident memory the index build adds.
    const QString longPath = folder + "/ten_hours.mp3";
    if (!joinTenTimes(path, longPath)) {
        std::fprintf(stderr, "could not make the 10-hour file\n");
        return 2;
    }
    std::uint64_t ignored = 0;
    plainReadSeconds(longPath, ignored); // into the page cache
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
