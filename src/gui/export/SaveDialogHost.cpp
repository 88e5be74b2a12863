#include "SaveDialogHost.h"

#include "gui/mainwindow/frmDazudizi.h"

namespace kelbrin {

SaveDialogHost::SaveDialogHost(frmDazudizi& main, ExportRunView& view)
    : m_main(main), m_view(view), m_scan(main, view) {}

void SaveDialogHost::MaxProgress(std::int64_t maximum) { m_main.MaxProgress(maximum); }

bool SaveDialogHost::UstawProgress(std::int64_t value) {
    m_main.UstawProgress(value);
    return m_view.exportGoesOn();
}

void SaveDialogHost::ZerujProgress() { m_main.ZerujProgress(); }

void SaveDialogHost::ScanRelay::MaxProgress(std::int64_t maximum) { m_main.MaxProgress(maximum); }

void SaveDialogHost::ScanRelay::UstawProgress(std::int64_t value) {
    m_main.UstawProgress(value);
    if (!m_view.exportGoesOn())
        blnScanFailed = true; // the export was stopped while the source was read
}

void SaveDialogHost::ScanRelay::ZerujProgress() { m_main.ZerujProgress(); }

void SaveDialogHost::ScanRelay::SetProgressColour(std::uint32_t colour) {
    m_main.SetProgressColour(colour);
}

void SaveDialogHost::ScanRelay::SetBusyPointer(bool busy) { m_main.SetBusyPointer(busy); }

bool SaveDialogHost::ScanRelay::IsCaptureFileOpen() { return m_main.IsCaptureFileOpen(); }

} // namespace kelbrin
