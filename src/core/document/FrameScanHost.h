#pragma once
// What the frame scanner needs of the window that runs it: the progress bar,
// the busy pointer, the open dialog and the recorder's state, and the stop flag
// that a handler running nested inside a progress call may set.

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>

namespace kelbrin {

// The open dialog the scanner asks for when it is given no file name.
struct SourceFileDialog {
    QString title;
    bool multipleChoice = false;
    QString folder;
    // Filters in order: (text number of the description, patterns).
    QList<std::pair<int, QString>> filters;
    int initialFilter = 1; // 1-based
};

struct SourceFileChoice {
    QStringList paths;   // full paths, in the order chosen
    int filterIndex = 1; // 1-based filter the user left the dialog on
    QString folder;      // folder the files were chosen in
};

class FrameScanHost {
public:
    static constexpr std::uint32_t kSearchColour = 0xFF0000; // blue: looking for frames
    static constexpr std::uint32_t kFrameColour = 0x0000FF;  // red: walking frames

    virtual ~FrameScanHost() = default;

    // Progress bar: a maximum (and the busy pointer), a value (and one turn of
    // the event loop, where handlers may run and set blnScanFailed), a reset.
    virtual void MaxProgress(std::int64_t maximum) = 0;
    virtual void UstawProgress(std::int64_t value) = 0;
    virtual void ZerujProgress() = 0;
    // Background of the progress bar's fill, 0x00BBGGRR.
    virtual void SetProgressColour(std::uint32_t colour) = 0;
    // The hourglass while files are opened (and one turn of the event loop).
    virtual void SetBusyPointer(bool busy) = 0;
    // True while a recording writes its capture file.
    virtual bool IsCaptureFileOpen() = 0;
    // The open dialog; nothing when the user cancels.
    virtual std::optional<SourceFileChoice> ChooseSourceFiles(const SourceFileDialog& dialog) = 0;

    // False while a file is being scanned; a nested handler sets it to stop
    // the scan, and the scanner sets it after a failure and when it returns.
    bool blnScanFailed = true;
};

// A host for work without a window (batch runs, benchmarks): no progress, no
// dialog, no recorder.
class HeadlessScanHost : public FrameScanHost {
public:
    void MaxProgress(std::int64_t) override {}
    void UstawProgress(std::int64_t) override {}
    void ZerujProgress() override {}
    void SetProgressColour(std::uint32_t) override {}
    void SetBusyPointer(bool) override {}
    bool IsCaptureFileOpen() override { return false; }
    std::optional<SourceFileChoice> ChooseSourceFiles(const SourceFileDialog&) override {
        return std::nullopt;
    }
};

} // namespace kelbrin
