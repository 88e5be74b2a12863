#include "UnseenProjectWindow.h"

#include "MainRecorder.h"
#include "core/app/ProgramObjects.h"
#include "core/document/cPozycjeMP3.h"
#include "core/export/SaveHost.h"
#include "core/export/SaveRequest.h"
#include "core/project/ProjectRecords.h"
#include "gui/app/FileDialogs.h"

#include <QCoreApplication>
#include <functional>

namespace kelbrin {

namespace {

constexpr qint64 kEventsEveryMs = 10;

// The export's host: no caption, and no Escape to stop it; its progress lets
// waiting events run, as the main window's progress bar does, and so hears
// a request to end.
class UnseenSaveHost final : public SaveHost {
public:
    UnseenSaveHost(FrameScanHost& scan, std::function<void()> letEventsRun,
                   const bool& endRequested)
        : m_scan(scan), m_letEventsRun(std::move(letEventsRun)), m_endRequested(endRequested) {}
    void MaxProgress(std::int64_t) override {}
    bool UstawProgress(std::int64_t) override {
        m_letEventsRun();
        return true;
    }
    void ZerujProgress() override {}
    bool StopRequested() override { return false; }
    bool EndRequested() override {
        // A request that came while the last piece was written is heard now.
        QCoreApplication::processEvents();
        return m_endRequested;
    }
    void ShowCaption(const QString&) override {}
    FrameScanHost& ScanHost() override { return m_scan; }

private:
    FrameScanHost& m_scan;
    std::function<void()> m_letEventsRun;
    const bool& m_endRequested;
};

} // namespace

UnseenProjectWindow::UnseenProjectWindow(ProgramObjects& program)
    : m_program(program), m_tracks(std::make_shared<cPozycjeMP3>()),
      m_projectDate(project_format::DateValue(QDate::currentDate())), m_controller(*this) {
    // What the main window's start does beyond its widgets.
    ClearStaleCaptureBuffers(program.recording, QCoreApplication::instance());
}

bool UnseenProjectWindow::OtworzPlik(const QString& path, int mode, bool isScript, bool quiet) {
    return m_controller.OtworzPlik(path, mode != 0, isScript, quiet);
}

EditorSession& UnseenProjectWindow::Session() { return m_program.session; }

LoadedSettings& UnseenProjectWindow::Loaded() { return m_program.settings; }

void UnseenProjectWindow::SetBusyPointer(bool) { letEventsRun(); }

QString UnseenProjectWindow::ChooseFile(const QString& initialFolder, const QString& filter,
                                        int& filterIndex, bool save) {
    return ShowFileDialog(nullptr, initialFolder, filter, filterIndex, save, false, QString(),
                          !save);
}

QString UnseenProjectWindow::ChooseFolder(const QString& title, int titleNumber) {
    return BrowseForFolder(nullptr, title, titleNumber);
}

void UnseenProjectWindow::UstawProgress(std::int64_t) { letEventsRun(); }

void UnseenProjectWindow::letEventsRun() {
    if (m_eventsRan.isValid() && m_eventsRan.elapsed() < kEventsEveryMs)
        return;
    QCoreApplication::processEvents();
    m_eventsRan.start();
}

bool UnseenProjectWindow::IsCaptureFileOpen() { return m_program.capture.fileOpen; }

std::optional<SourceFileChoice> UnseenProjectWindow::ChooseSourceFiles(const SourceFileDialog& dialog) {
    return kelbrin::ChooseSourceFiles(nullptr, dialog);
}

void UnseenProjectWindow::Run(const ScriptExportRequest& request) {
    UnseenSaveHost host(*this, [this] { letEventsRun(); }, m_endRequested);
    RunScriptExport(request, host);
}

} // namespace kelbrin
