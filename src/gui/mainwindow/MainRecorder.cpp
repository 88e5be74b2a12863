#include "MainRecorder.h"

#include "MainClose.h"
#include "ProjectCommands.h"
#include "frmDazudizi.h"
#include "core/app/ProgramObjects.h"
#include "core/app/Startup.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/recording/CaptureBufferFolder.h"
#include "core/recording/CaptureEngine.h"
#include "core/app/TextNumbers.h"
#include "gui/recording/frmRecord.h"

#include <QPointer>
#include <QPushButton>

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
        const auto& tracks = m_window ? m_window->cPozycje : nullptr;
        for (std::int32_t i = 1; tracks && i <= tracks->Count(); ++i)
            if (tracks->Item(i)->strFileNameSource == path)
                ++count;
        return count;
    }
    void endProgram(int status) override {
        // The status is set before the close ends the event loop.
        RequestExitStatus(status);
        if (m_window)
            m_window->close();
    }

private:
    QPointer<frmDazudizi> m_window;
};

} // namespace

void InstallRecorder(frmDazudizi& window) {
    // A buffer an editor left when it was killed holds nothing anyone needs.
    RemoveStaleBuffers(Program().recording);
    // The record button shows the recorder window; a recording starts only there.
    window.SetRecorderWindow([] { frmRecord::PokazMnie(false); });

    static std::unique_ptr<MainRecorderHost> host;
    host = std::make_unique<MainRecorderHost>(window);
    frmRecord::SetHost(host.get());
    QObject::connect(&window, &QObject::destroyed, [] {
        frmRecord::SetHost(nullptr);
        host.reset();
    });

    MainClose::Seams& close = window.Closing().seams();
    close.stopRecording = [] {
        if (frmRecord* recorder = frmRecord::Instance())
            recorder->control().StopNow();
    };
    close.handingOver = [] {
        frmRecord* recorder = frmRecord::Instance();
        return recorder && recorder->cmdStopRec->isEnabled();
    };
    close.captureBufferName = [] { return Program().capture.bufferName; };
    close.closeTrayIcon = [] {
        if (frmRecord* recorder = frmRecord::Instance())
            recorder->UnloadTray();
    };
    QPointer<frmDazudizi> guarded(&window);
    close.waitProgress = [guarded, started = false](int percent) mutable {
        if (!guarded)
            return;
        // The bar (and the busy pointer) last as long as the wait.
        if (percent >= 100) {
            guarded->ShowHelpText(QString());
            if (started)
                guarded->ZerujProgress();
            started = false;
            return;
        }
        if (!started)
            guarded->MaxProgress(100);
        started = true;
        guarded->ShowHelpText(GetText(texts::kWaitingForServer));
        guarded->UstawProgress(percent);
    };
}

} // namespace kelbrin
