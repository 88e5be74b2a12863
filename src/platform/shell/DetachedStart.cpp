#include "DetachedStart.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kelbrin {

namespace {

// A shell stands between: it runs the program without the status descriptor
// and writes the program's status into it when it ends. Whatever the program
// starts and keeps running never holds the descriptor open.
constexpr char kReporter[] = "\"$0\" \"$@\" 3>&-; echo $? >&3";
constexpr int kStatusFd = 3;

// Only async-signal-safe calls from here on: the editor has threads, and the
// fork copied just this one.
[[noreturn]] void runReporter(char* const* argv, int devNull, int statusWrite) {
    ::setsid();
    const pid_t reporter = ::fork();
    if (reporter != 0)
        ::_exit(reporter < 0 ? 1 : 0); // the editor's child ends at once: the reporter is nobody's child of ours
    ::dup2(devNull, STDIN_FILENO);
    if (statusWrite == kStatusFd)
        ::fcntl(kStatusFd, F_SETFD, 0);
    else
        ::dup2(statusWrite, kStatusFd); // the copy is not closed on exec
    // The editor's own handlers must not run in here, and a status nobody
    // reads any more ends the shell quietly.
    for (const int s : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) {
        struct sigaction before {};
        if (::sigaction(s, nullptr, &before) == 0 && (before.sa_handler != SIG_IGN || s == SIGPIPE)) {
            struct sigaction plain {};
            plain.sa_handler = SIG_DFL;
            ::sigaction(s, &plain, nullptr);
        }
    }
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execv("/bin/sh", argv);
    ::_exit(127);
}

} // namespace

int StartDetachedWatched(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> words{QByteArrayLiteral("sh"), QByteArrayLiteral("-c"), QByteArray(kReporter),
                                  QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int status[2];
    if (devNull < 0)
        return -1;
    if (::pipe2(status, O_CLOEXEC) != 0) {
        ::close(devNull);
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0)
        runReporter(argv.data(), devNull, status[1]);
    ::close(devNull);
    ::close(status[1]);
    int childStatus = 0;
    while (child > 0 && ::waitpid(child, &childStatus, 0) < 0 && errno == EINTR) {
    }
    if (child < 0 || !WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) {
        ::close(status[0]);
        return -1;
    }
    return status[0];
}

int ReadDetachedStatus(int descriptor) {
    char text[16];
    ssize_t got = -1;
    do
        got = ::read(descriptor, text, sizeof text - 1);
    while (got < 0 && errno == EINTR);
    if (got <= 0)
        return -1;
    int value = 0;
    for (ssize_t i = 0; i < got && text[i] != '\n'; ++i) {
        if (text[i] < '0' || text[i] > '9' || value > 100000)
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace kelbrin
