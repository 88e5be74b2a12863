#pragma once
// The polite requests to end that a service manager, a session or a terminal
// sends (SIGTERM, SIGINT, SIGHUP), delivered as a call on the event loop of
// the thread that made this object, so the program can end the way its own
// close does instead of dying where it stands. One object at a time; while it
// lives these signals no longer end the process, and when it goes they do what
// they did before. A signal the process was started to ignore (nohup) stays
// ignored.

#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace kelbrin {

class TerminationSignals {
public:
    // `requested` gets the signal's number; it runs on the event loop, never
    // inside the signal handler.
    explicit TerminationSignals(std::function<void(int)> requested);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The signal's name for a notice: "SIGTERM".
    static QString Name(int signalNumber);

private:
    void drain();

    std::function<void(int)> m_requested;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace kelbrin
