#pragma once
// What the save engine needs of whoever runs it: a progress bar that yields to
// the event loop and tells when a stop was asked for, a caption for status
// texts, the questions, and a host for rescanning a source.

#include "core/document/FrameScanHost.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace kelbrin {

class SaveHost {
public:
    virtual ~SaveHost() = default;

    virtual void MaxProgress(std::int64_t maximum) = 0;
    // Shows the value and lets waiting events run; false once a stop was asked for.
    virtual bool UstawProgress(std::int64_t value) = 0;
    virtual void ZerujProgress() = 0;
    // Cheap check made before every chunk and every piece.
    virtual bool StopRequested() = 0;
    // Asked from outside to end (a service manager's stop, a session's end):
    // the run ends once the piece being written is whole. Checked before
    // every piece.
    virtual bool EndRequested() { return false; }
    // Status texts of the run (the dialog's caption); empty clears it.
    virtual void ShowCaption(const QString& text) = 0;
    // A question box with catalogue text nr; returns the button pressed.
    virtual int Ask(int textNumber, int style, const QStringList& pairs = {});
    // Whether to replace an existing output: one sentence naming the path,
    // then the question; returns the button pressed.
    int AskReplace(const QString& path);
    // The host for a source that must be scanned again.
    virtual FrameScanHost& ScanHost() = 0;
};

// For runs without a window (batch scripts, benchmarks): no progress, never
// stopped, questions answered by the message service.
class HeadlessSaveHost : public SaveHost {
public:
    void MaxProgress(std::int64_t) override {}
    bool UstawProgress(std::int64_t) override { return true; }
    void ZerujProgress() override {}
    bool StopRequested() override { return false; }
    void ShowCaption(const QString&) override {}
    FrameScanHost& ScanHost() override { return m_scan; }

private:
    HeadlessScanHost m_scan;
};

} // namespace kelbrin
