#pragma once
// The autosave timer (TmrSave). It runs from the first open or save of a
// project file until the next new project, and on every second tick, while
// the setting AutoSave asks for it, writes the project into its own file: it
// never asks for a file name, and passes a tick over while a long operation
// or another save runs.

#include "core/project/AutoSaveTicker.h"

#include <QObject>
#include <functional>

class QTimer;

namespace kelbrin {

class AutoSave : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> busy;           // a long operation runs
        std::function<bool()> hasProjectFile; // the project has its own file
        std::function<bool()> save;           // writes it there; false on failure
    };

    static constexpr int kInterval = 60000; // ms

    explicit AutoSave(Hooks hooks, QObject* parent = nullptr, int intervalMs = kInterval);

    QTimer* TmrSave = nullptr;

    // On: the timer starts (the first save two ticks later) unless it runs
    // already. Off: it stops.
    void SetEnabled(bool on);
    bool IsEnabled() const;
    void TmrSave_Timer();

private:
    Hooks m_hooks;
    AutoSaveTicker m_ticker;
    bool m_saving = false;
};

} // namespace kelbrin
