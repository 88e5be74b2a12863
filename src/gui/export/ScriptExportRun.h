#pragma once
// A batch script's export inside the main window: the run shows its progress
// in the window's progress bar and its status in the help line, lets events
// run between chunks, and stops at the next check when Esc is pressed (the
// window itself is disabled while a script runs, so the key is watched for
// the whole application).

#include "SaveDialogHost.h"
#include "core/project/ScriptExport.h"

#include <QObject>

namespace kelbrin {

class frmDazudizi;

class ScriptExportRun final : public QObject, public ScriptExport, private ExportRunView {
public:
    explicit ScriptExportRun(frmDazudizi& main);
    void Run(const ScriptExportRequest& request) override;
    // The outcome of the last run.
    const SaveOutcome& LastOutcome() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool exportGoesOn() const override { return !m_stop; }
    void showExportStatus(const QString& text) override;

    frmDazudizi& m_main;
    bool m_running = false;
    bool m_stop = false;
};

} // namespace kelbrin
