// The copy of export pieces alone, as exports make it (the kernel copying file
// to file where that is faster) beside reads and writes through the program's
// buffer only: an hour's 57.6 MB cut into
// 6, 600 and 3,000 pieces at odd places, each piece a new output linked under
// its name when whole, as an export writes them. Best of five runs each.
//
//   bench_piece_copy [folder]   (default: a new folder under the temp folder,
//                                removed afterwards; a folder on a tmpfs such as
//                                /dev/shm/... leaves out the disk)

#include "core/export/SaveCopy.h"
#include "core/export/SaveHost.h"
#include "core/export/SaveTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace kelbrin;

namespace {

constexpr int kRuns = 5;
constexpr std::int64_t kHourBytes = 57600000; // 60 minutes at 128 kbit/s

// Seconds to copy the source into `count` pieces; -1 when a copy fails.
double copyPieces(const SaveSource& source, const QString& out, int count, bool kernel) {
    QDir(out).removeRecursively();
    QDir().mkpath(out);
    TransferBuffer buffer;
    if (!kernel)
        buffer.noKernelCopies();
    HeadlessSaveHost host;
    const std::int64_t length = kHourBytes / count;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        // Frame starts fall anywhere within a page.
        const std::int64_t from = i * length + 417;
        const std::int64_t to = std::min(source.size(), from + length);
        SaveTarget target(out + QStringLiteral("/piece%1.mp3").arg(i + 1, 4, 10, QChar('0')));
        if (!target.open(SaveTarget::Target::Missing) ||
            ChunkCopier(source, target, 65535, host, buffer).copy(from, to) != CopyResult::Done ||
            !target.commit())
            return -1;
    }
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(folder);
    const QString path = folder + "/hour.bin";
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 2;
        QByteArray block(1 << 20, Qt::Uninitialized);
        std::uint32_t x = 12345;
        for (char& c : block)
            c = char((x = x * 1103515245u + 12345u) >> 16);
        for (std::int64_t left = kHourBytes; left > 0; left -= block.size())
            if (file.write(block.constData(), std::min<std::int64_t>(left, block.size())) < 0)
                return 2;
    }
    const SaveSource source(path);
    if (!source.isOpen())
        return 2;
    const QString out = folder + "/pieces";
    bool failed = false;
    for (const int count : {6, 600, 3000}) {
        std::printf("%d pieces of %lld bytes, best of %d\n", count,
                    static_cast<long long>(kHourBytes / count), kRuns);
        // Taken in turns: a folder that has just lost many files makes the
        // next ones slower to create, for both ways alike.
        double fastest[2] = {-1, -1};
        for (int run = 0; run < kRuns; ++run)
            for (const bool kernel : {true, false}) {
                const double t = copyPieces(source, out, count, kernel);
                failed = failed || t < 0;
                double& best = fastest[kernel ? 0 : 1];
                if (t >= 0 && (best < 0 || t < best))
                    best = t;
            }
        std::printf("  %-32s %8.1f ms\n", "kernel where faster (as exports)", fastest[0] * 1e3);
        std::printf("  %-32s %8.1f ms\n", "program only", fastest[1] * 1e3);
        std::fflush(stdout);
    }
    QDir(out).removeRecursively();
    QFile::remove(path);
    return failed ? 2 : 0;
}
