#include "platform/StartDetached.h"

#include <csignal>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

extern char** environ;

namespace platform {

namespace {

void reportAndExit(int fd, int error)
{
    // Only async-signal-safe calls after fork: write and _exit.
    [[maybe_unused]] ssize_t ignored = write(fd, &error, sizeof error);
    _exit(127);
}

} // namespace

int StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingDirectory)
{
    // Everything the children need is prepared here: after fork in a threaded
    // process they may not allocate.
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const char* dir = workingDirectory.empty() ? nullptr : workingDirectory.c_str();
    sigset_t noSignals;
    sigemptyset(&noSignals);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    // Where the kernel cannot mark our descriptors close-on-exec at once, each
    // possible one is marked: up to the descriptor limit, within reason.
    rlimit files{};
    const int fdLimit = getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY
        ? static_cast<int>(std::min<rlim_t>(files.rlim_cur, 1u << 20))
        : 1 << 20;

    // The pipe closes by itself on a successful exec; an error code arrives otherwise.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return errno;

    const pid_t middle = fork();
    if (middle < 0) {
        const int error = errno;
        close(pipeFds[0]);
        close(pipeFds[1]);
        return error;
    }
    if (middle == 0) {
        close(pipeFds[0]);
        setsid(); // away from our terminal and process group
        const pid_t grandchild = fork();
        if (grandchild < 0)
            reportAndExit(pipeFds[1], errno);
        if (grandchild > 0)
            _exit(0); // the grandchild is adopted by init, so nobody waits for it here
        if (dir && chdir(dir) != 0)
            reportAndExit(pipeFds[1], errno);
        // The program starts as from a fresh session: nothing blocked, SIGPIPE not ignored.
        sigprocmask(SIG_SETMASK, &noSignals, nullptr);
        sigaction(SIGPIPE, &defaultAction, nullptr);
        // Our other descriptors (sockets, files) are none of the started program's business.
        if (syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC) != 0) // before Linux 5.11
            for (int fd = 3; fd < fdLimit; ++fd)
                fcntl(fd, F_SETFD, FD_CLOEXEC);
        execve(program.c_str(), argv.data(), environ);
        reportAndExit(pipeFds[1], errno);
    }

    close(pipeFds[1]);
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {}
    int error = 0;
    ssize_t got;
    do {
        got = read(pipeFds[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(pipeFds[0]);
    if (got == static_cast<ssize_t>(sizeof error))
        return error;
    return 0;
}

} // namespace platform
