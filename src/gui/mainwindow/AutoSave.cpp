#include "AutoSave.h"

#include "core/app/MessageService.h"
#include "core/project/ProjectController.h"
#include "core/project/ProjectWindow.h"

#include <QTimer>

namespace kelbrin {

AutoSave::AutoSave(ProjectWindow& window, ProjectController& project, QObject* parent, int intervalMs)
    : QObject(parent), m_window(window), m_project(project) {
    TmrSave = new QTimer(this);
    TmrSave->setObjectName(QStringLiteral("TmrSave"));
    TmrSave->setInterval(intervalMs);
    connect(TmrSave, &QTimer::timeout, this, &AutoSave::TmrSave_Timer);
}

void AutoSave::SetEnabled(bool on) {
    if (!on) {
        TmrSave->stop();
        return;
    }
    if (TmrSave->isActive())
        return;
    m_ticker.Restart();
    TmrSave->start();
}

bool AutoSave::IsEnabled() const { return TmrSave->isActive(); }

void AutoSave::TmrSave_Timer() {
    // A tick already queued when the timer stopped is passed over.
    if (!TmrSave->isActive())
        return;
    // A save yields to the event loop; a tick that comes meanwhile is passed
    // over. So is one under an open box: a "save the changes?" declined after
    // the autosave had written them would have lost the good file.
    const bool busy = m_saving || !m_window.IsReady() || MessageBoxOpen();
    const bool hasFile = !m_window.ProjectFile().isEmpty();
    if (m_ticker.Tick(hasFile, busy) != AutoSaveTicker::Outcome::Save)
        return;
    m_saving = true;
    const bool saved = save();
    m_saving = false;
    // The failure has been told; a timer that tried again would tell it
    // every few minutes (a write-protected project, a full disk). The user's
    // own good save starts it again.
    if (!saved)
        SetEnabled(false);
}

bool AutoSave::save() {
    // Only into the project's own file: keeping the name never asks for one.
    bool keepName = true;
    return !m_window.ProjectFile().isEmpty() && m_project.Zapisz(false, keepName, QString());
}

} // namespace kelbrin
