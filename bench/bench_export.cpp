// Export speed: six 10-minute tracks of a generated 60-minute 128 kbit/s MP3,
// written by the save engine (one file per track, index already built), beside
// cp of the same bytes and mp3splt cutting the same six pieces.
//
//   bench_export [folder]   (default: a new folder under the temp folder,
//                            removed afterwards)
//
// Targets: at most 1.5x the cp time, and faster than mp3splt.

#include "BenchSupport.h"
#include "core/app/SharedState.h"
#include "core/document/FrameScanHost.h"
#include "core/document/MpegHeader.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/SaveEngine.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/shell/DesktopOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace kelbrin;

namespace {

constexpr int kRuns = 5;
constexpr int kTracks = 6;
constexpr double kTrackSeconds = 600;

// The best of kRuns timings of `work`, each after `prepare`; -1 when it fails.
double best(const std::function<void()>& prepare, const std::function<bool()>& work) {
    double fastest = 1e9;
    for (int i = 0; i < kRuns; ++i) {
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    SetDesktopOpener(std::make_unique<FakeDesktopOpener>());
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    QDir().mkpath(folder);
    const QString path = folder + "/hour_128k.mp3";
    const QString out = folder + "/out";

    std::printf("generating a 60-minute 128 kbit/s MP3 ...\n");
    std::fflush(stdout);
    if (!bench::MakeHourLongMp3(folder, path)) {
        std::fprintf(stderr, "could not make the test file\n");
        return 2;
    }

    auto file = std::make_shared<cPozycjaPlikow>();
    file->strFileName = path;
    HeadlessScanHost host;
    bool buildIndex = true;
    QString scanFolder;
    QElapsedTimer indexTimer;
    indexTimer.start();
    if (Plik_Open(host, file, buildIndex, false, QString(), nullptr, true, false, scanFolder, 1) !=
        path) {
        std::fprintf(stderr, "the scanner refused the file\n");
        return 2;
    }
    const double indexSeconds = indexTimer.nsecsElapsed() / 1e9;
    file->lngNrPozycji = 1;
    Shared().OpenFiles = std::make_shared<cPozycjePlikow>();
    Shared().OpenFiles->Add(file);

    SaveRequest request;
    request.destFolder = out;
    for (int i = 0; i < kTracks; ++i) {
        ExportPiece piece;
        piece.sourcePath = path;
        piece.startSeconds = i * kTrackSeconds;
        piece.endSeconds = i + 1 == kTracks ? file->sngCzasTrwania : (i + 1) * kTrackSeconds;
        piece.outputName = QString("track%1.mp3").arg(i + 1);
        request.pieces.append(piece);
    }
    const auto clean = [&] { emptyFolder(out); };
    const double exportSeconds =
        best(clean, [&] { return RunExport(request).status == SaveStatus::Finished; });
    qint64 written = 0;
    for (const QFileInfo& f : QDir(out).entryInfoList(QDir::Files))
        written += f.size();
    const double cpSeconds = best(clean, [&] {
        return bench::RunProgram("cp", {path, out + "/copy.mp3"});
    });

    const QString splitter = QStandardPaths::findExecutable("mp3splt");
    double splitSeconds = -1;
    if (!splitter.isEmpty()) {
        QStringList arguments{"-q", "-f", "-d", out, path};
        for (int i = 0; i < kTracks; ++i)
            arguments << QString("%1.00").arg(i * 10);
        arguments << "EOF";
        splitSeconds = best(clean, [&] { return bench::RunProgram(splitter, arguments); });
    }
    QDir(out).removeRecursively();

    std::printf("source:          %lld bytes, %d frames, %.1f s\n",
                static_cast<long long>(QFileInfo(path).size()), file->Daj_Naglowek_Ilosc(),
                file->sngCzasTrwania);
    std::printf("index build:     %8.2f ms (once, before the export)\n", indexSeconds * 1e3);
    std::printf("export, 6 files: %8.2f ms (%lld bytes written, best of %d)\n", exportSeconds * 1e3,
                static_cast<long long>(written), kRuns);
    std::printf("cp, whole file:  %8.2f ms (best of %d)\n", cpSeconds * 1e3, kRuns);
    const double ratio = exportSeconds / cpSeconds;
    std::printf("export / cp:     %8.2f   (target <= 1.50) %s\n", ratio,
                ratio <= 1.5 ? "met" : "MISSED");
    if (splitSeconds < 0) {
        std::printf("mp3splt not available\n");
    } else {
        std::printf("mp3splt -f:      %8.2f ms (best of %d)\n", splitSeconds * 1e3, kRuns);
        std::printf("export / mp3splt:%8.2f   (target < 1.00) %s\n", exportSeconds / splitSeconds,
                    exportSeconds < splitSeconds ? "met" : "MISSED");
    }
    return exportSeconds < 0 || cpSeconds < 0 ? 2 : 0;
}
