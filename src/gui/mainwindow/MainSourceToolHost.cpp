#include "MainSourceToolHost.h"

#include "LongWorkHold.h"
#include "core/app/BusyRefusal.h"
#include "core/app/ProgramObjects.h"
#include "frmDazudizi.h"
#include "gui/playback/MainPlayer.h"

namespace kelbrin {

QString MainSourceToolHost::OpenSource(std::shared_ptr<cPozycjaPlikow>& file,
                                       bool offerMediaFiles) {
    bool buildIndex = true;
    QString folder;
    return m_window.OpenSourceFile(file, buildIndex, false, QString(), nullptr, false,
                                   offerMediaFiles, folder, 1);
}

MainSourceToolHost::MainSourceToolHost(frmDazudizi& window) : m_window(window) {}
MainSourceToolHost::~MainSourceToolHost() = default;

bool MainSourceToolHost::TryBeginLongWork() {
    if (!ReadyOrSayBusy(!m_hold && m_window.CanChangeProject()))
        return false;
    m_hold = std::make_unique<LongWorkHold>(m_window);
    return true;
}

void MainSourceToolHost::EndLongWork() {
    m_hold.reset();
}

void MainSourceToolHost::MaxProgress(std::int64_t maximum) {
    m_window.MaxProgress(maximum);
}
void MainSourceToolHost::UstawProgress(std::int64_t value) {
    m_window.UstawProgress(value);
}
void MainSourceToolHost::ZerujProgress() {
    m_window.ZerujProgress();
}

EditorSession& MainSourceToolHost::Session() {
    return m_window.Objects().session;
}

PlayerGraphs& MainSourceToolHost::Players() {
    return m_window.Player().graphs();
}

} // namespace kelbrin
