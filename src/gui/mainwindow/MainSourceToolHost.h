#pragma once
// The main window as the host of the tools that change source files: scans go
// through its frame-scanner host, progress through its progress bar, and a
// write holds its busy state so that neither the project nor the open files
// change and the window cannot close meanwhile.

#include "gui/document/SourceToolHost.h"

#include <memory>

namespace kelbrin {

class frmDazudizi;
class LongWorkHold;

class MainSourceToolHost final : public SourceToolHost {
public:
    explicit MainSourceToolHost(frmDazudizi& window);
    ~MainSourceToolHost() override;
    EditorSession& Session() override;
    QString OpenSource(std::shared_ptr<cPozycjaPlikow>& file, bool offerMediaFiles) override;
    bool TryBeginLongWork() override;
    void EndLongWork() override;
    void MaxProgress(std::int64_t maximum) override;
    void UstawProgress(std::int64_t value) override;
    void ZerujProgress() override;
    PlayerGraphs& Players() override;

private:
    frmDazudizi& m_window;
    std::unique_ptr<LongWorkHold> m_hold; // while a tool writes
};

} // namespace kelbrin
