#include "ScriptExportRun.h"

#include "SaveDialogHost.h"
#include "core/export/SaveRequest.h"
#include "gui/mainwindow/frmDazudizi.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace kelbrin {

namespace {

SaveOutcome& lastOutcome() {
    static SaveOutcome outcome;
    return outcome;
}

} // namespace

ScriptExportRun::ScriptExportRun(frmDazudizi& main) : m_main(main) {}

const SaveOutcome& ScriptExportRun::LastOutcome() const { return lastOutcome(); }

void ScriptExportRun::Run(const ScriptExportRequest& request) {
    if (m_running)
        return;
    m_running = true;
    m_stop = false;
    QCoreApplication::instance()->installEventFilter(this);
    {
        SaveDialogHost host(m_main, *this);
        lastOutcome() = RunScriptExport(request, host);
    }
    QCoreApplication::instance()->removeEventFilter(this);
    m_main.ShowHelpText(QString());
    m_main.ZerujProgress();
    m_running = false;
}

void ScriptExportRun::showExportStatus(const QString& text) { m_main.ShowHelpText(text); }

bool ScriptExportRun::eventFilter(QObject* watched, QEvent* event) {
    if (m_running && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_stop = true;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelbrin
