#pragma once
// The main window's delay timers, one element per track number, on the clock
// in force. An element measures the gap before a track's successor: armed
// with an interval and a tag other than "0", each elapsed interval writes "0"
// into its tag and, as a timer control does, goes on ticking while enabled.
// The player polls the tag; pausing disables an element and resuming enables
// it again, when its interval starts afresh.

#include <QHash>
#include <QString>
#include <cstdint>

namespace kelbrin {

class Clock;

class DelayTimerArray {
public:
    explicit DelayTimerArray(Clock& clock) : m_clock(clock) {}
    ~DelayTimerArray() { UnloadAll(); }
    DelayTimerArray(const DelayTimerArray&) = delete;
    DelayTimerArray& operator=(const DelayTimerArray&) = delete;

    // Load creates an element (a loaded one is left as it is); Unload drops
    // it. Every other call on an element that is not loaded is ignored.
    void Load(std::int32_t index);
    void Unload(std::int32_t index);
    void UnloadAll();
    bool IsLoaded(std::int32_t index) const { return m_elements.contains(index); }

    void SetEnabled(std::int32_t index, bool enabled);
    bool Enabled(std::int32_t index) const;
    bool AnyEnabled() const;
    void SetInterval(std::int32_t index, std::int64_t ms);
    std::int64_t Interval(std::int32_t index) const;
    void SetTag(std::int32_t index, const QString& tag);
    QString Tag(std::int32_t index) const;

    // The tick of one element: its tag becomes "0".
    void Timer_Timer(std::int32_t index);

private:
    struct Element {
        bool enabled = false;
        std::int64_t interval = 0;
        QString tag;
        int call = 0; // the pending clock call, 0 when none
    };
    void schedule(std::int32_t index);
    void cancel(Element& e);

    Clock& m_clock;
    QHash<std::int32_t, Element> m_elements;
};

} // namespace kelbrin
