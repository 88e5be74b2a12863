#pragma once
// The autosave timer (TmrSave). It runs from the first open or save of a
// project file until the next new project, and on every second tick, while
// the setting AutoSave asks for it, writes the project into its own file: it
// never asks for a file name, and passes a tick over while a long operation
// or another save runs, or a box waits for its answer.

#include "core/project/AutoSaveTicker.h"

#include <QObject>

class QTimer;

namespace kelbrin {

class ProjectController;
class ProjectWindow;

class AutoSave : public QObject {
    Q_OBJECT
public:
    static constexpr int kInterval = 60000; // ms

    // `window` says whether a long operation runs and names the project's own
    // file; `project` writes it there.
    AutoSave(ProjectWindow& window, ProjectController& project, QObject* parent = nullptr,
             int intervalMs = kInterval);

    QTimer* TmrSave = nullptr;

    // On: the timer starts (the first save two ticks later) unless it runs
    // already. Off: it stops.
    void SetEnabled(bool on);
    bool IsEnabled() const;
    void TmrSave_Timer();

private:
    bool save();

    ProjectWindow& m_window;
    ProjectController& m_project;
    AutoSaveTicker m_ticker;
    bool m_saving = false;
};

} // namespace kelbrin
