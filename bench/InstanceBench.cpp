// The second start's whole process (spawn until exit) while a first instance
// holds the lock and answers the channel, side by side with a program that
// only starts and exits. Target: at most 3 times the trivial program.
#include "instance/Messages.h"
#include "instance/MessageChannel.h"
#include "instance/NamedMutex.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// A stand-in first instance in a child process: holds the lock, answers the
// title query with the main window's title and takes messages.
class StandInInstance {
public:
    StandInInstance()
    {
        char tmpl[] = "/tmp/zarnolith-bench-XXXXXX";
        m_dir = ::mkdtemp(tmpl);
        ::chmod(m_dir.c_str(), 0700);
        m_pid = ::fork();
        if (m_pid == 0)
            Serve();
        const std::string path = instance::ChannelSocketPath(m_dir, instance::kInstanceName);
        for (int i = 0; i < 500; ++i) {
            instance::ChannelClient probe;
            if (probe.Connect(path))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~StandInInstance()
    {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        std::system(("rm -rf '" + m_dir + "'").c_str());
    }
    const std::string& dir() const { return m_dir; }

private:
    [[noreturn]] void Serve()
    {
        instance::FlockNamedMutex lock(m_dir);
        lock.CreateMutexW(instance::kInstanceName);
        auto listener = instance::ChannelListener::Listen(instance::ChannelSocketPath(m_dir, instance::kInstanceName));
        if (!listener)
            ::_exit(1);
        std::map<int, std::unique_ptr<instance::ChannelSession>> sessions;
        const auto titles = [] { return std::vector<std::string>{"Zarnolith V1.01"}; };
        for (;;) {
            std::vector<pollfd> fds{{listener->fd(), POLLIN, 0}};
            for (auto& [fd, s] : sessions)
                fds.push_back({fd, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), -1) <= 0)
                continue;
            if (fds[0].revents)
                for (int fd; (fd = listener->Accept()) >= 0;)
                    sessions.emplace(fd, std::make_unique<instance::ChannelSession>(fd));
            for (std::size_t i = 1; i < fds.size(); ++i)
                if (fds[i].revents && !sessions[fds[i].fd]->OnReadable(nullptr, titles))
                    sessions.erase(fds[i].fd);
        }
    }
    std::string m_dir;
    pid_t m_pid = -1;
};

StandInInstance& Instance()
{
    static StandInInstance instance;
    return instance;
}

std::vector<std::string> EnvironmentWith(const std::string& runtimeDir)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) != 0)
            env.emplace_back(*e);
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    return env;
}

// Spawns the program and waits for its end; the exit code.
int RunOnce(const char* program, const std::vector<std::string>& env)
{
    std::vector<char*> envp;
    for (const auto& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, program, nullptr, nullptr, argv, envp.data()) != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Run(benchmark::State& state, const char* program)
{
    const auto env = EnvironmentWith(Instance().dir());
    for (auto _ : state)
        if (RunOnce(program, env) != 0)
            state.SkipWithError("the program did not end with exit code 0");
}

void BM_TrivialProgram(benchmark::State& state) { Run(state, ZARNOLITH_TRIVIAL_PROGRAM); }
void BM_SecondStart(benchmark::State& state) { Run(state, ZARNOLITH_PROGRAM); }

// Both in turn, so that load from elsewhere hits them alike; ratio = second start / trivial.
void BM_SecondStartToTrivialRatio(benchmark::State& state)
{
    const auto env = EnvironmentWith(Instance().dir());
    std::chrono::nanoseconds trivial{0}, second{0};
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        RunOnce(ZARNOLITH_TRIVIAL_PROGRAM, env);
        auto t1 = std::chrono::steady_clock::now();
        if (RunOnce(ZARNOLITH_PROGRAM, env) != 0)
            state.SkipWithError("the second start did not end with exit code 0");
        auto t2 = std::chrono::steady_clock::now();
        trivial += t1 - t0;
        second += t2 - t1;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["trivial_us"] = std::chrono::duration<double, std::micro>(trivial).count() / n;
    state.counters["second_us"] = std::chrono::duration<double, std::micro>(second).count() / n;
    state.counters["ratio"] = static_cast<double>(second.count()) / static_cast<double>(trivial.count());
}

BENCHMARK(BM_TrivialProgram)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SecondStart)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SecondStartToTrivialRatio)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(400);

} // namespace

BENCHMARK_MAIN();
