#pragma once
// The autosave's decision on each tick of its timer: while the setting
// AutoSave is above 0, every second tick saves the project to its own file.
// A tick finds nothing to do without a project file, and is passed over
// while a long operation (or a save) runs, so the save it owed comes on the
// next tick instead.

namespace kelbrin {

class AutoSaveTicker {
public:
    enum class Outcome {
        Off,     // AutoSave is 0 or less: the tick changes nothing
        Skipped, // busy or no project file: the tick changes nothing
        Waited,  // the first of two ticks
        Save,    // the second: save now
    };

    Outcome Tick(bool hasProjectFile, bool busy);
    // The timer starts again: the next save is two ticks away.
    void Restart() { m_due = false; }

private:
    bool m_due = false;
};

} // namespace kelbrin
