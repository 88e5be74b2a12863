#pragma once
// The main window as the owner of the open files' list: its tracks, its undo
// history, its busy flag and the tag editor it opens.

#include "gui/document/frmPliki.h"

namespace kelbrin {

class frmDazudizi;

class MainOpenFiles final : public OpenFilesOwner {
public:
    explicit MainOpenFiles(frmDazudizi& window) : m_window(window) {}

    EditorSession& session() const override;
    std::shared_ptr<cPozycjeMP3> tracks() const override;
    void clearUndoHistory() override;
    void fileClosed(const QString& path) override;
    bool canOpenTagEditor() const override { return true; }
    void openTagEditor(std::shared_ptr<cPozycjaPlikow> file) override;
    bool canChangeFiles() const override;

private:
    frmDazudizi& m_window;
};

} // namespace kelbrin
