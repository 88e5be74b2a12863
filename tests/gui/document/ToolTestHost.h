#pragma once
// A stand-in for the main window as the host of the source-file tools: scans
// without a window (a file to "choose" can be named beforehand), a busy state,
// and progress steps that run pending events and a test's own hook.

#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/document/FrameScanHost.h"
#include "core/document/PlayerGraphs.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "gui/document/SourceToolHost.h"

#include <QCoreApplication>
#include <functional>

namespace kelbrin::test {

// Players with no graphs: releasing them does nothing.
class IdlePlayers final : public PlayerGraphs {
public:
    void ReleaseGraphsBeforeTagWrite() override {}
};

class ToolTestHost final : public SourceToolHost {
public:
    EditorSession& Session() override { return Program().session; }
    QString OpenSource(std::shared_ptr<cPozycjaPlikow>& file, bool offerMediaFiles) override {
        ++scans;
        if (busy)
            return QString();
        if (file->strFileName.isEmpty()) {
            if (nextChoice.isEmpty())
                return QString();
            file->strFileName = nextChoice;
        }
        HeadlessScanHost scanner;
        bool buildIndex = true;
        QString folder;
        return Plik_Open(scanner, &Program().session, Program().settings.SourceFolder, file,
                         buildIndex, false, QString(), nullptr, false, offerMediaFiles, folder, 1);
    }
    // A new open file that keeps header bytes, scanned; *opened receives what
    // the scan returned.
    std::shared_ptr<cPozycjaPlikow> openScanned(const QString& path, QString* opened = nullptr) {
        auto file = std::make_shared<cPozycjaPlikow>();
        file->strFileName = path;
        file->blnExtraArray = true;
        file->lngNrPozycji = Program().session.NextFileId++;
        Program().session.OpenFiles->Add(file);
        const QString result = OpenSource(file, true);
        if (opened)
            *opened = result;
        return file;
    }
    bool TryBeginLongWork() override {
        if (busy)
            return false;
        busy = true;
        return true;
    }
    void EndLongWork() override { busy = false; }
    void MaxProgress(std::int64_t maximum) override { maxima.append(maximum); }
    void UstawProgress(std::int64_t value) override {
        ++steps;
        QCoreApplication::processEvents();
        if (onProgress)
            onProgress(value);
    }
    void ZerujProgress() override { ++resets; }
    PlayerGraphs& Players() override { return *players; }

    bool busy = false;
    QString nextChoice;
    int scans = 0;
    int steps = 0;
    int resets = 0;
    QList<std::int64_t> maxima;
    std::function<void(std::int64_t)> onProgress;
    IdlePlayers idle;
    PlayerGraphs* players = &idle;
};

} // namespace kelbrin::test
