#pragma once
// The save engine's host while the export dialog runs it: the main window's
// progress bar, the dialog's busy flag as the stop request, the dialog's
// caption for status texts, and a scanner host that stops a rescan when the
// user stops the export.

#include "core/export/SaveHost.h"

namespace kelbrin {

class frmDazudizi;

// The window an export runs in: it says whether the run goes on (false once
// the user stopped it) and shows the run's status texts.
class ExportRunView {
public:
    virtual ~ExportRunView() = default;
    virtual bool exportGoesOn() const = 0;
    virtual void showExportStatus(const QString& text) = 0;
};

class SaveDialogHost : public SaveHost {
public:
    SaveDialogHost(frmDazudizi& main, ExportRunView& view);

    void MaxProgress(std::int64_t maximum) override;
    bool UstawProgress(std::int64_t value) override;
    void ZerujProgress() override;
    bool StopRequested() override { return !m_view.exportGoesOn(); }
    void ShowCaption(const QString& text) override { m_view.showExportStatus(text); }
    FrameScanHost& ScanHost() override { return m_scan; }

private:
    class ScanRelay : public FrameScanHost {
    public:
        ScanRelay(frmDazudizi& main, const ExportRunView& view) : m_main(main), m_view(view) {}
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
        const ExportRunView& m_view;
    };

    frmDazudizi& m_main;
    ExportRunView& m_view;
    ScanRelay m_scan;
};

} // namespace kelbrin
