#pragma once
// The save engine's host while the export dialog runs it: the main window's
// progress bar, the dialog's busy flag as the stop request, the dialog's
// caption for status texts, and a scanner host that stops a rescan when the
// user stops the export.

#include "core/export/SaveHost.h"

#include <functional>

namespace kelbrin {

class frmDazudizi;

class SaveDialogHost : public SaveHost {
public:
    SaveDialogHost(frmDazudizi& main, std::function<bool()> busy,
                   std::function<void(const QString&)> caption);

    void MaxProgress(std::int64_t maximum) override;
    bool UstawProgress(std::int64_t value) override;
    void ZerujProgress() override;
    bool StopRequested() override { return !m_busy(); }
    void ShowCaption(const QString& text) override { m_caption(text); }
    FrameScanHost& ScanHost() override { return m_scan; }

private:
    class ScanRelay : public FrameScanHost {
    public:
        ScanRelay(frmDazudizi& main, std::function<bool()> busy) : m_main(main), m_busy(busy) {}
        void MaxProgress(std::int64_t maximum) override;
        void UstawProgress(std::int64_t value) override;
        void ZerujProgress() override;
        void SetProgressColour(std::uint32_t colour) override;
        void SetBusyPointer(bool busy) override;
        bool IsCaptureFileOpen() override;
        std::optional<SourceFileChoice> ChooseSourceFiles(const SourceFileDialog&) override {
            return std::nullopt; // a rescan always names its file
        }

    private:
        frmDazudizi& m_main;
        std::function<bool()> m_busy;
    };

    frmDazudizi& m_main;
    std::function<bool()> m_busy;
    std::function<void(const QString&)> m_caption;
    ScanRelay m_scan;
};

} // namespace kelbrin
