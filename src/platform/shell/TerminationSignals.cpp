#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <utility>
#include <unistd.h>

namespace kelbrin {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to a pipe; the event loop reads the other end.
int g_pipe[2] = {-1, -1};

// What each signal did before, put back when the object goes.
struct sigaction g_before[std::size(kSignals)];
bool g_taken[std::size(kSignals)] = {};

extern "C" void OnTerminationSignal(int signalNumber) {
    const int saved = errno;
    const char number = static_cast<char>(signalNumber);
    // A full pipe already holds requests enough.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> requested) : m_requested(std::move(requested)) {
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without the pipe the signals keep their usual effect
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { drain(); });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        // A signal the editor was started to ignore stays ignored: "nohup
        // kelbrin -rec 60 &" must outlive the terminal it was started from.
        g_taken[i] = ::sigaction(kSignals[i], nullptr, &g_before[i]) == 0 && g_before[i].sa_handler != SIG_IGN &&
                     ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

TerminationSignals::~TerminationSignals() {
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        if (std::exchange(g_taken[i], false))
            ::sigaction(kSignals[i], &g_before[i], nullptr);
    m_notifier.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

QString TerminationSignals::Name(int signalNumber) {
    switch (signalNumber) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QStringLiteral("signal %1").arg(signalNumber);
    }
}

void TerminationSignals::drain() {
    char numbers[16];
    ssize_t n = 0;
    int last = 0;
    while ((n = ::read(g_pipe[0], numbers, sizeof numbers)) > 0)
        last = numbers[n - 1];
    // Several requests before the loop turned ask for the same thing once.
    if (last != 0 && m_requested)
        m_requested(last);
}

} // namespace kelbrin
