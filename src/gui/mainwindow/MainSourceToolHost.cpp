#include "MainSourceToolHost.h"

#include "frmDazudizi.h"

namespace kelbrin {

QString MainSourceToolHost::OpenSource(std::shared_ptr<cPozycjaPlikow>& file,
                                       bool offerMediaFiles) {
    bool buildIndex = true;
    QString folder;
    return m_window.OpenSourceFile(file, buildIndex, false, QString(), nullptr, false,
                                   offerMediaFiles, folder, 1);
}

bool MainSourceToolHost::TryBeginLongWork() {
    if (!m_window.CanChangeProject())
        return false;
    m_window.blnClose = false;
    return true;
}

void MainSourceToolHost::EndLongWork() {
    m_window.blnClose = true;
    m_window.ZerujProgress();
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

} // namespace kelbrin
