#pragma once
// The main window's own part of its close: the project saved through its
// project commands, its busy flag, its tracks and its sequence player.

#include "CloseSteps.h"

namespace kelbrin {

class frmDazudizi;

class WindowCloseSteps : public CloseSteps {
public:
    explicit WindowCloseSteps(frmDazudizi& window) : m_window(window) {}

    bool saveProject(const QString& projectName) override;
    bool ready() const override;
    bool settleHeaderEdits() override;
    cPozycjeMP3* tracks() const override;
    void stopPreview() override;
    void stopPlayer() override;

private:
    frmDazudizi& m_window;
};

} // namespace kelbrin
