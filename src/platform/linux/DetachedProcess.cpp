#include "platform/linux/DetachedProcess.h"

#include <cerrno>
#include <csignal>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

#ifndef CLOSE_RANGE_CLOEXEC
#define CLOSE_RANGE_CLOEXEC (1U << 2)
#endif

namespace skylane {

namespace {

// What the intermediate process reports: the program's pid, or -1 and the
// error number of the step that failed.
struct Outcome {
    pid_t pid = -1;
    int error = 0;
};

// Only async-signal-safe calls from here on: the bar has threads, and a
// forked copy of it may hold any of their locks.
[[noreturn]] void failBeforeExec(int statusFd)
{
    const int error = errno;
    (void)!::write(statusFd, &error, sizeof error);
    _exit(127);
}

[[noreturn]] void execProgram(const char *path, char *const argv[], char *const envp[], int statusFd)
{
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull < 0)
        failBeforeExec(statusFd);
    for (int fd = 0; fd < 3; ++fd) {
        if (::dup2(devNull, fd) < 0)
            failBeforeExec(statusFd);
    }
    // Every other descriptor of the bar closes when the program starts; the
    // status pipe too, which tells the waiting side that exec succeeded.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);

    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Ignored signals stay ignored across exec; a program expects defaults.
    signal(SIGPIPE, SIG_DFL);
    signal(SIGCHLD, SIG_DFL);

    ::execve(path, argv, envp);
    failBeforeExec(statusFd);
}

// The intermediate process: forks the program, waits only until its exec
// has succeeded or failed, reports the outcome and exits.
[[noreturn]] void startProgram(const char *path, char *const argv[], char *const envp[], int outcomeFd)
{
    ::setsid();
    Outcome outcome;
    int status[2];
    if (::pipe2(status, O_CLOEXEC) < 0) {
        outcome.error = errno;
    } else {
        outcome.pid = ::fork();
        if (outcome.pid == 0) {
            ::close(status[0]);
            execProgram(path, argv, envp, status[1]);
        }
        if (outcome.pid < 0)
            outcome.error = errno;
        ::close(status[1]);
        if (outcome.pid > 0) {
            int error = 0;
            ssize_t n;
            do {
                n = ::read(status[0], &error, sizeof error);
            } while (n < 0 && errno == EINTR);
            if (n != 0) { // exec failed; the program process has exited
                outcome.pid = -1;
                outcome.error = n == sizeof error ? error : EIO;
            }
        }
    }
    (void)!::write(outcomeFd, &outcome, sizeof outcome);
    _exit(0);
}

// The variables that announce the bar's own launch to the desktop; a program
// the bar starts is a launch of its own.
bool isStartupNotification(const QByteArray &entry)
{
    return entry.startsWith("DESKTOP_STARTUP_ID=") || entry.startsWith("XDG_ACTIVATION_TOKEN=");
}

} // namespace

char *const *sessionEnvironment()
{
    // Filled once, then never changed: the pointers stay valid for the
    // program's life and a forked copy only reads them.
    static const struct Kept {
        QByteArrayList entries;
        std::vector<char *> pointers;
        Kept()
        {
            for (char **entry = environ; entry && *entry; ++entry) {
                if (!isStartupNotification(*entry))
                    entries.append(QByteArray(*entry));
            }
            for (const QByteArray &entry : entries)
                pointers.push_back(const_cast<char *>(entry.constData()));
            pointers.push_back(nullptr);
        }
    } kept;
    return kept.pointers.data();
}

pid_t spawnDetached(const QByteArray &program, const QByteArrayList &arguments, int *error)
{
    const auto fail = [error](int why) {
        if (error)
            *error = why;
        return pid_t(-1);
    };
    if (program.isEmpty())
        return fail(ENOENT);
    if (program.contains('\0'))
        return fail(EINVAL);
    // Everything the child needs is prepared before fork.
    const char *path = program.constData();
    std::vector<char *> argv{const_cast<char *>(path)};
    for (const QByteArray &argument : arguments) {
        if (argument.contains('\0'))
            return fail(EINVAL); // it could not reach the program whole
        argv.push_back(const_cast<char *>(argument.constData()));
    }
    argv.push_back(nullptr);
    char *const *envp = sessionEnvironment();

    int outcomePipe[2];
    if (::pipe2(outcomePipe, O_CLOEXEC) < 0)
        return fail(errno);
    const pid_t intermediate = ::fork();
    if (intermediate == 0) {
        ::close(outcomePipe[0]);
        startProgram(path, argv.data(), envp, outcomePipe[1]);
    }
    Outcome outcome;
    if (intermediate < 0)
        outcome.error = errno;
    ::close(outcomePipe[1]);
    if (intermediate > 0) {
        Outcome reported;
        ssize_t n;
        do {
            n = ::read(outcomePipe[0], &reported, sizeof reported);
        } while (n < 0 && errno == EINTR);
        outcome = n == sizeof reported ? reported : Outcome{-1, EIO};
        while (::waitpid(intermediate, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    ::close(outcomePipe[0]);
    return outcome.pid > 0 ? outcome.pid : fail(outcome.error);
}

} // namespace skylane
