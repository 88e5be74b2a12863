#pragma once
// What the tools that change source files (hidden text, frame header editor)
// need of the main window: opening and scanning a file through the frame
// scanner, the progress bar, and the busy state that keeps the project and the
// open files from changing (and the main window from closing) while they write.

#include "core/document/SourceWriteHost.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace kelbrin {

class PlayerGraphs;
class cPozycjaPlikow;
struct EditorSession;

class SourceToolHost {
public:
    virtual ~SourceToolHost() = default;
    // The session whose open files the tools list and add to.
    virtual EditorSession& Session() = 0;
    // Plik_Open on the record with a full index: asks for the file when its
    // name is empty. "" when nothing was opened or another long operation runs.
    virtual QString OpenSource(std::shared_ptr<cPozycjaPlikow>& file, bool offerMediaFiles) = 0;
    // Marks the program busy; false (and nothing marked, the user told why)
    // while another long operation runs. Taken through LongWorkScope, so that
    // every way out gives it back.
    virtual bool TryBeginLongWork() = 0;
    virtual void EndLongWork() = 0;
    virtual void MaxProgress(std::int64_t maximum) = 0;
    // Shows the value and lets pending events run.
    virtual void UstawProgress(std::int64_t value) = 0;
    virtual void ZerujProgress() = 0;
    // The players that give up their graphs before a tag is written.
    virtual PlayerGraphs& Players() = 0;
};

// The host's busy state for one write, given back however the write ends (an
// error thrown through it included).
class LongWorkScope final {
public:
    explicit LongWorkScope(SourceToolHost& host) : m_host(host), m_held(host.TryBeginLongWork()) {}
    ~LongWorkScope() {
        if (m_held)
            m_host.EndLongWork();
    }
    LongWorkScope(const LongWorkScope&) = delete;
    LongWorkScope& operator=(const LongWorkScope&) = delete;
    bool held() const { return m_held; }

private:
    SourceToolHost& m_host;
    bool m_held;
};

// A long write shown on the host's progress bar, stopped by the window's flag.
class ToolWriteProgress final : public SourceWriteHost {
public:
    ToolWriteProgress(SourceToolHost& host, const bool& stop) : m_host(host), m_stop(stop) {}
    void Begin(std::int64_t maximum) override { m_host.MaxProgress(maximum); }
    void Progress(std::int64_t value) override { m_host.UstawProgress(value); }
    bool StopRequested() const override { return m_stop; }
    void End() override { m_host.ZerujProgress(); }

private:
    SourceToolHost& m_host;
    const bool& m_stop;
};

} // namespace kelbrin
