#include "MainRecorder.h"

#include "MainClose.h"
#include "ProjectCommands.h"
#include "frmDazudizi.h"
#include "core/app/ProgramObjects.h"
#include "core/app/Startup.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/document/cPozycjePlikow.h"
#include "core/recording/CaptureBufferFolder.h"
#include "core/recording/CaptureEngine.h"
#include "core/app/TextNumbers.h"
#include "gui/recording/frmRecord.h"

#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace kelbrin {

namespace {

class MainRecorderHost final : public RecorderHost {
public:
    explicit MainRecorderHost(frmDazudizi& window) : m_window(&window) {}

    bool saveProject(const QString& name) override {
        if (!m_window)
            return false;
        bool keepName = true;
        return m_window->Projects().Zapisz(true, keepName, name);
    }
    int tracksUsingSource(const QString& path) override {
        int count = 0;
        const auto& tracks = m_window ? m_window->cPozycje() : nullptr;
        for (std::int32_t i = 1; tracks && i <= tracks->Count(); ++i)
            if (tracks->Item(i)->strFileNameSource == path)
                ++count;
        return count;
    }
    void dropUnsavedChanges() override {
        if (!m_window)
            return;
        if (const auto& tracks = m_window->cPozycje()) {
            tracks->blnZmodyfikowana = false;
            for (std::int32_t i = 1; i <= tracks->Count(); ++i)
                tracks->Item(i)->blnZmodyfikowana = false;
        }
        if (const auto& files = m_window->Objects().session.OpenFiles)
            for (std::int32_t i = 1; i <= files->Count(); ++i)
                files->Item(i)->blnZmodyfikowana = false;
    }
    void endProgram(int status) override {
        // The status is set before the close ends the event loop.
        RequestExitStatus(status);
        if (m_window)
            m_window->close();
    }
    void failRun() override { RequestExitStatus(exitstatus::kFailed); }

private:
    QPointer<frmDazudizi> m_window;
};

// The recorder window's part of the editor's close.
class RecorderWindowClose final : public RecordingClose {
public:
    explicit RecorderWindowClose(frmDazudizi& window)
        : m_window(&window), m_program(window.Objects()) {}

    // The recorder knows without asking a server that may have stopped answering.
    bool recording() const override {
        return m_program.capture.recordingFlag > 0 || MainClose::ServerRecording(m_program.server);
    }
    void stopRecording() override {
        if (frmRecord* recorder = frmRecord::Instance())
            recorder->control().StopNow();
    }
    bool handingOver() const override {
        frmRecord* recorder = frmRecord::Instance();
        return recorder && recorder->cmdStopRec->isEnabled();
    }
    void waitProgress(int percent) override {
        if (!m_window)
            return;
        // The bar (and the busy pointer) last as long as the wait.
        if (percent >= 100) {
            m_window->ShowHelpText(QString());
            if (m_started)
                m_window->ZerujProgress();
            m_started = false;
            return;
        }
        if (!m_started)
            m_window->MaxProgress(100);
        m_started = true;
        m_window->ShowHelpText(GetText(texts::kWaitingForServer));
        m_window->UstawProgress(percent);
    }
    qint64 handOverTimeoutMs() const override { return MainClose::kHandOverTimeoutMs; }
    void closeTrayIcon() override {
        if (frmRecord* recorder = frmRecord::Instance())
            recorder->UnloadTray();
    }
    QString captureBufferName() const override { return m_program.capture.bufferName; }

private:
    QPointer<frmDazudizi> m_window;
    ProgramObjects& m_program;
    bool m_started = false;
};

} // namespace

void ClearStaleCaptureBuffers(RecordingConfiguration& recording, QObject* context) {
    for (const QString& kept : RemoveStaleBuffers(recording))
        QTimer::singleShot(0, context, [kept] {
            ShowText(texts::kUnencodedSoundKept, mb::Exclamation, QStringLiteral("|1"), kept);
        });
}

void InstallRecorder(frmDazudizi& window) {
    ClearStaleCaptureBuffers(window.Objects().recording, &window);
    // The record button shows the recorder window; a recording starts only there.
    window.SetRecorderWindow([&window] { frmRecord::PokazMnie(window.Objects(), false); });

    static std::unique_ptr<MainRecorderHost> host;
    host = std::make_unique<MainRecorderHost>(window);
    frmRecord::SetHost(host.get());
    QObject::connect(&window, &QObject::destroyed, [] {
        frmRecord::SetHost(nullptr);
        host.reset();
    });

    window.Closing().setRecording(std::make_unique<RecorderWindowClose>(window));
}

} // namespace kelbrin
