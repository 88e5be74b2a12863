// Export speed on a generated 60-minute 128 kbit/s MP3, written by the save
// engine beside cp of the same bytes and mp3splt making the same pieces:
//
//   1. six 10-minute tracks, one file each, index already built (against cp);
//   2. the same six tracks, index build included (against mp3splt -t 10.00);
//   3. 600 six-second tracks, index build included (against mp3splt -t 0.06);
//   4. the six tracks joined into one file, index already built (against cp);
//   5. six 10-minute tracks of a 60-minute lame -V 4 MP3 in the exact mode
//      batch scripts use, index build included (against cp and mp3splt).
//
//   bench_export [folder]   (default: a new folder under the temp folder,
//                            removed afterwards)
//
// Targets: case 1 at most 1.2x cp; case 2 at most 0.5x and case 3 at most
// 0.7x the mp3splt time.

#include "BenchSupport.h"
#include "support/ProgramState.h"
#include "core/app/ProgramObjects.h"
#include "core/document/FrameScanHost.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/SaveEngine.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/shell/FakeDesktopOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace kelbrin;

namespace {

constexpr int kRuns = 5;

// The best of kRuns timings of `work`, each after `prepare`; -1 when it fails.
double best(const std::function<void()>& prepare, const std::function<bool()>& work,
            int runs = kRuns) {
    double fastest = 1e9;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        if (!work())
            return -1;
        fastest = std::min(fastest, timer.nsecsElapsed() / 1e9);
    }
    return fastest;
}

void emptyFolder(const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

qint64 bytesIn(const QString& folder, int* files = nullptr) {
    qint64 written = 0;
    const QFileInfoList list = QDir(folder).entryInfoList(QDir::Files);
    for (const QFileInfo& f : list)
        written += f.size();
    if (files)
        *files = static_cast<int>(list.size());
    return written;
}

// Opens the source as a new open file with its full index; nothing on failure.
std::shared_ptr<cPozycjaPlikow> openIndexed(const QString& path) {
    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    HeadlessScanHost host;
    bool buildIndex = true;
    QString scanFolder;
    if (Plik_Open(host, &Program().session, Program().settings.SourceFolder, file, buildIndex,
                  false, QString(), nullptr, true, false, scanFolder, 1) != path)
        return nullptr;
    file->lngNrPozycji = 1;
    Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    Program().session.OpenFiles->Add(file);
    return file;
}

SaveRequest piecesOf(const QString& path, const QString& out, int count, double seconds,
                     double total) {
    SaveRequest request;
    request.openFiles = Program().session.OpenFiles;
    request.destFolder = out;
    for (int i = 0; i < count; ++i) {
        ExportPiece piece;
        piece.sourcePath = path;
        piece.startSeconds = i * seconds;
        piece.endSeconds = i + 1 == count ? total : (i + 1) * seconds;
        piece.outputName = QString("track%1.mp3").arg(i + 1, 3, 10, QChar('0'));
        piece.label = piece.outputName;
        request.pieces.append(piece);
    }
    return request;
}

void line(const char* name, double seconds, const QString& note) {
    if (seconds < 0)
        std::printf("%-30s   failed or not available\n", name);
    else
        std::printf("%-30s %9.2f ms  %s\n", name, seconds * 1e3, qPrintable(note));
}

void ratio(const char* name, double value, double reference, double target) {
    if (value < 0 || reference <= 0) {
        std::printf("%-30s   no figure\n", name);
        return;
    }
    const double r = value / reference;
    std::printf("%-30s %9.2fx  (target <= %.2f) %s\n", name, r, target,
                r <= target ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    kelbrin::test::ResetProgramObjects();
    QCoreApplication app(argc, argv);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    SetDesktopOpener(std::make_unique<FakeDesktopOpener>());
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(folder);
    const QString path = folder + "/hour_128k.mp3";
    const QString out = folder + "/out";

    const QString vbrPath = folder + "/hour_v4.mp3";

    std::printf("generating a 60-minute 128 kbit/s MP3 and a 60-minute lame -V 4 MP3 ...\n");
    std::fflush(stdout);
    if (!bench::MakeHourLongMp3(folder, path) || !bench::MakeHourLongVbrMp3(folder, vbrPath)) {
        std::fprintf(stderr, "could not make the test files\n");
        return 2;
    }
    const QString splitter = QStandardPaths::findExecutable("mp3splt");
    const auto clean = [&] { emptyFolder(out); };
    const auto export_ = [](const SaveRequest& request) {
        return RunExport(request).status == SaveStatus::Finished;
    };

    QElapsedTimer indexTimer;
    indexTimer.start();
    auto file = openIndexed(path);
    const double indexSeconds = indexTimer.nsecsElapsed() / 1e9;
    if (!file) {
        std::fprintf(stderr, "the scanner refused the file\n");
        return 2;
    }
    const double total = file->sngCzasTrwania;
    std::printf("source: %lld bytes, %d frames, %.1f s; first index build %.2f ms\n\n",
                static_cast<long long>(QFileInfo(path).size()), file->Daj_Naglowek_Ilosc(), total,
                indexSeconds * 1e3);

    const double cpSeconds =
        best(clean, [&] { return bench::RunProgram("cp", {path, out + "/copy.mp3"}); });

    // 1. six tracks, index built.
    const SaveRequest six = piecesOf(path, out, 6, 600, total);
    const double sixSeconds = best(clean, [&] { return export_(six); });
    int sixFiles = 0;
    const qint64 sixBytes = bytesIn(out, &sixFiles);

    // 2. six tracks, index build included.
    const double sixIndexedSeconds = best(clean, [&] { return openIndexed(path) && export_(six); });
    double splitSixSeconds = -1;
    if (!splitter.isEmpty())
        splitSixSeconds = best(clean, [&] {
            return bench::RunProgram(splitter, {"-q", "-f", "-t", "10.00", "-d", out, path});
        });

    // 3. 600 six-second tracks, index build included.
    const SaveRequest many = piecesOf(path, out, 600, 6, total);
    const double manySeconds =
        best(clean, [&] { return openIndexed(path) && export_(many); }, 3);
    int manyFiles = 0;
    const qint64 manyBytes = bytesIn(out, &manyFiles);
    double splitManySeconds = -1;
    if (!splitter.isEmpty()) {
        splitManySeconds = best(clean, [&] {
            return bench::RunProgram(splitter, {"-q", "-f", "-t", "0.06", "-d", out, path});
        }, 3);
    }
    int splitManyFiles = 0;
    bytesIn(out, &splitManyFiles);

    // 4. the six tracks joined, index built.
    openIndexed(path);
    SaveRequest joined = six;
    joined.joined = true;
    joined.joinedName = "joined.mp3";
    const double joinedSeconds = best(clean, [&] { return export_(joined); });
    const qint64 joinedBytes = bytesIn(out);
    QDir(out).removeRecursively();

    line("cp, whole file", cpSeconds, QString("best of %1").arg(kRuns));
    std::printf("\n1. six 10-minute tracks, index built\n");
    line("export", sixSeconds, QString("%1 files, %2 bytes").arg(sixFiles).arg(sixBytes));
    ratio("export / cp", sixSeconds, cpSeconds, 1.2);

    std::printf("\n2. six 10-minute tracks, index build included\n");
    line("index + export", sixIndexedSeconds, QString("best of %1").arg(kRuns));
    line("mp3splt -f -t 10.00", splitSixSeconds, QString("best of %1").arg(kRuns));
    line("cp, whole file", cpSeconds, QString());
    ratio("index + export / mp3splt", sixIndexedSeconds, splitSixSeconds, 0.5);

    std::printf("\n3. 600 six-second tracks, index build included\n");
    line("index + export", manySeconds,
         QString("%1 files, %2 bytes, best of 3").arg(manyFiles).arg(manyBytes));
    line("mp3splt -f -t 0.06", splitManySeconds,
         QString("%1 files, best of 3").arg(splitManyFiles));
    line("cp, whole file", cpSeconds, QString());
    ratio("index + export / mp3splt", manySeconds, splitManySeconds, 0.7);

    std::printf("\n4. six 10-minute tracks joined, index built\n");
    line("export, one file", joinedSeconds, QString("%1 bytes").arg(joinedBytes));
    line("cp, whole file", cpSeconds, QString());
    std::printf("%-30s %9.2fx  (no target)\n", "joined / cp", joinedSeconds / cpSeconds);

    // 5. the variable-rate hour, exact mode, index build included.
    const auto vbrFile = openIndexed(vbrPath);
    if (!vbrFile) {
        std::fprintf(stderr, "the scanner refused the variable-rate file\n");
        return 2;
    }
    SaveRequest exact = piecesOf(vbrPath, out, 6, 600, vbrFile->sngCzasTrwania);
    exact.exactAnalysis = true;
    const double vbrCpSeconds =
        best(clean, [&] { return bench::RunProgram("cp", {vbrPath, out + "/copy.mp3"}); });
    const double exactSeconds =
        best(clean, [&] { return openIndexed(vbrPath) && export_(exact); });
    int exactFiles = 0;
    const qint64 exactBytes = bytesIn(out, &exactFiles);
    double splitVbrSeconds = -1;
    if (!splitter.isEmpty())
        splitVbrSeconds = best(clean, [&] {
            return bench::RunProgram(splitter, {"-q", "-f", "-t", "10.00", "-d", out, vbrPath});
        });
    QDir(out).removeRecursively();
    std::printf("\n5. six 10-minute tracks of the lame -V 4 hour, exact, index build included\n");
    line("index + export", exactSeconds,
         QString("%1 files, %2 bytes, best of %3").arg(exactFiles).arg(exactBytes).arg(kRuns));
    line("mp3splt -f -t 10.00", splitVbrSeconds, QString("best of %1").arg(kRuns));
    line("cp, whole file", vbrCpSeconds, QString());
    std::printf("%-30s %9.2fx  (no target)\n", "index + export / cp", exactSeconds / vbrCpSeconds);
    if (splitVbrSeconds > 0)
        std::printf("%-30s %9.2fx  (no target)\n", "index + export / mp3splt",
                    exactSeconds / splitVbrSeconds);
    return sixSeconds < 0 || cpSeconds < 0 || manySeconds < 0 || exactSeconds < 0 ? 2 : 0;
}
