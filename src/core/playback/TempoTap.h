#pragma once
// Tempo tapping: the user clicks twice per sample, once on a beat and once on
// the next; each pair gives 60000 / (milliseconds between them) beats per
// minute, and the tempo is the whole-number mean of every sample since the
// last reset. There is no time-out between pairs. Time comes from the clock
// it is given (a VirtualClock in tests).

#include <QList>
#include <QtGlobal>
#include <cstdint>
#include <optional>

namespace kelbrin {

class Clock;

class TempoTap {
public:
    explicit TempoTap(const Clock& clock) : m_clock(clock) {}

    // One click. The mean when it closed a pair, else nothing.
    std::optional<std::int32_t> Tap();
    // Forgets the samples; a pair already begun still closes on the next
    // click against the click before the reset.
    void Reset() { samples = {0}; }

    // The samples at 1 and up; element 0 holds no sample.
    QList<std::int32_t> samples{0};
    bool tapping = false; // between the two clicks of a pair
    qint64 lastTapMs = 0; // when the pair's first click came

private:
    const Clock& m_clock;
};

} // namespace kelbrin
