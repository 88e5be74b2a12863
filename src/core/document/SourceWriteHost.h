#pragma once
// What a long in-place write of a source file needs of the window that runs
// it: a progress bar with its maximum, a turn of the event loop with each
// progress step, and a stop that a handler running inside that turn can ask for.

#include <QString>
#include <cstdint>

namespace kelbrin {

class SourceWriteHost {
public:
    virtual ~SourceWriteHost() = default;
    virtual void Begin(std::int64_t maximum) = 0;
    // Shows the value and lets pending events run.
    virtual void Progress(std::int64_t value) = 0;
    virtual bool StopRequested() const = 0;
    virtual void End() = 0;
};

// For work without a window: no progress, never stopped.
class SilentWriteHost : public SourceWriteHost {
public:
    void Begin(std::int64_t) override {}
    void Progress(std::int64_t) override {}
    bool StopRequested() const override { return false; }
    void End() override {}
};

// Outcome of a long in-place write.
enum class SourceWriteStatus {
    Done,
    Stopped,     // stopped on request; what was written stays
    Missing,     // the file does not exist; nothing was created
    CannotOpen,  // the file could not be opened for writing
    Failed,      // a read or write failed at failedFrame
    FileChanged, // no frame header where the index says (frame failedFrame)
    OutsideFile, // the frame's header would lie outside the file (frame failedFrame)
    FramesMoved, // the file changed since it was scanned and frame failedFrame is no longer
                 // where the index says; nothing was written
    Replaced,    // the path named another file, or none, by the end: what was written
                 // went into the file that was there when the writing began
};

struct SourceWriteResult {
    SourceWriteStatus status = SourceWriteStatus::Done;
    std::int64_t framesWritten = 0;
    std::int64_t skippedProtected = 0; // protected Layer I/II frames left alone
    std::int32_t failedFrame = 0;
    QString error; // the system's description of a failure
    // After a failure (Failed, FileChanged, OutsideFile): the headers already
    // written were put back, so the file is as it was before the write.
    bool putBack = false;
    bool finished() const { return status == SourceWriteStatus::Done; }
};

// Every tenth frame of a write: shows the progress and, when the user asked
// to stop, marks the result stopped. Returns true when the write must end.
inline bool StopAtProgressStep(SourceWriteHost& host, std::int32_t frame,
                               SourceWriteResult& result) {
    if (frame % 10 != 0)
        return false;
    host.Progress(frame);
    if (!host.StopRequested())
        return false;
    result.status = SourceWriteStatus::Stopped;
    return true;
}

} // namespace kelbrin
