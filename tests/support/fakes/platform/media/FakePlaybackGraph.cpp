#include "FakePlaybackGraph.h"

#include <algorithm>

namespace kelbrin {

FakePlaybackGraph::FakePlaybackGraph(const Clock& clock, QString file_, QString device_,
                                     double durationSeconds)
    : file(std::move(file_)), device(std::move(device_)), m_clock(clock),
      m_duration(std::max(0.0, durationSeconds)), m_stop(m_duration) {
    m_anchorMs = m_clock.milliseconds();
}

double FakePlaybackGraph::clampTime(double seconds) const { return std::clamp(seconds, 0.0, m_duration); }

double FakePlaybackGraph::currentPosition() const {
    if (m_position >= m_stop)
        return m_stop;
    if (m_state != GraphState::Running)
        return m_position;
    const double moved = (m_clock.milliseconds() - m_anchorMs) / 1000.0 * m_rate;
    const double position = m_position + moved;
    return position >= m_stop ? m_stop : position;
}

bool FakePlaybackGraph::isSounding() const {
    return m_state == GraphState::Running && currentPosition() < m_stop;
}

void FakePlaybackGraph::settle() {
    m_position = currentPosition();
    m_anchorMs = m_clock.milliseconds();
}

void FakePlaybackGraph::log(Op op, double value) { events.append({m_clock.milliseconds(), op, value}); }

QList<FakePlaybackGraph::Event> FakePlaybackGraph::eventsOf(Op op) const {
    QList<Event> out;
    for (const Event& e : events)
        if (e.op == op)
            out.append(e);
    return out;
}

void FakePlaybackGraph::run() {
    settle();
    m_state = GraphState::Running;
    log(Op::Run, m_position);
}

void FakePlaybackGraph::pause() {
    settle();
    m_state = GraphState::Paused;
    log(Op::Pause, m_position);
}

void FakePlaybackGraph::stop() {
    settle();
    m_state = GraphState::Stopped;
    log(Op::Stop, m_position);
}

void FakePlaybackGraph::setCurrentPosition(double seconds) {
    settle();
    m_position = clampTime(seconds);
    log(Op::Position, m_position);
}

void FakePlaybackGraph::setStopTime(double seconds) {
    settle();
    m_stop = clampTime(seconds);
    log(Op::StopTime, m_stop);
}

void FakePlaybackGraph::setRate(double rate) {
    if (!(rate > 0))
        return;
    settle();
    m_rate = rate;
    log(Op::Rate, rate);
}

void FakePlaybackGraph::setVolume(int hundredthsDb) {
    m_volume = std::clamp(hundredthsDb, -10000, 0);
    log(Op::Volume, m_volume);
}

void FakePlaybackGraph::setBalance(int hundredthsDb) {
    m_balance = std::clamp(hundredthsDb, -10000, 10000);
    log(Op::Balance, m_balance);
}

} // namespace kelbrin
