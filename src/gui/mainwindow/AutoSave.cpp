#include "AutoSave.h"

#include <QTimer>

namespace kelbrin {

AutoSave::AutoSave(Hooks hooks, QObject* parent, int intervalMs) : QObject(parent), m_hooks(std::move(hooks)) {
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
    // A save yields to the event loop; a tick that comes meanwhile is passed over.
    const bool busy = m_saving || (m_hooks.busy && m_hooks.busy());
    const bool hasFile = m_hooks.hasProjectFile && m_hooks.hasProjectFile();
    if (m_ticker.Tick(hasFile, busy) != AutoSaveTicker::Outcome::Save || !m_hooks.save)
        return;
    m_saving = true;
    m_hooks.save();
    m_saving = false;
}

} // namespace kelbrin
