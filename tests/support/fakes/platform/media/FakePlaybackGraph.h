#pragma once
// Test stand-in for a playback graph: no sound, no threads, no event loop.
// Its position is worked out from a Clock (a VirtualClock in tests) whenever
// it is asked: while running it moves rate x elapsed time from where it was
// last set, and it stops at the stop time, where it then stays exactly. It
// keeps every PlaybackGraph rule of PlaybackGraph.h, so code tested against
// it behaves the same on the real graph.
//
// Everything done to it is logged with the clock's time, so a test can check
// what a player did and when (a fade's volume steps, a seek, a stop).

#include "platform/media/Clock.h"
#include "platform/media/PlaybackGraph.h"

#include <QList>
#include <QString>

namespace kelbrin {

class FakePlaybackGraph final : public PlaybackGraph {
public:
    enum class Op { Run, Pause, Stop, Position, StopTime, Rate, Volume, Balance };
    struct Event {
        qint64 ms;    // clock time of the call
        Op op;
        double value; // the value given (Run, Pause, Stop: the position then)
    };

    FakePlaybackGraph(const Clock& clock, QString file, QString device, double durationSeconds);

    void run() override;
    void pause() override;
    void stop() override;
    GraphState state() const override { return m_state; }

    double duration() const override { return m_duration; }
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double stopTime() const override { return m_stop; }
    void setStopTime(double seconds) override;
    double rate() const override { return m_rate; }
    void setRate(double rate) override;

    int volume() const override { return m_volume; }
    void setVolume(int hundredthsDb) override;
    int balance() const override { return m_balance; }
    void setBalance(int hundredthsDb) override;

    // For tests.
    const QString file;
    const QString device;
    QList<Event> events;
    // True while running and not yet at the stop time: the graph is audible.
    bool isSounding() const;
    // The events of one kind, in order.
    QList<Event> eventsOf(Op op) const;

private:
    double clampTime(double seconds) const;
    // Folds the time run so far into the stored position.
    void settle();
    void log(Op op, double value);

    const Clock& m_clock;
    double m_duration;
    GraphState m_state = GraphState::Stopped;
    double m_position = 0;   // position at m_anchorMs
    qint64 m_anchorMs = 0;
    double m_stop;
    double m_rate = 1.0;
    int m_volume = 0;
    int m_balance = 0;
};

} // namespace kelbrin
