// Linked only into the benchmark's own builds (never into the shipped GUI
// library): tells the start-up benchmark, through file descriptor 3, when the
// toolkit is up and when each top-level window is first exposed, then ends the
// process as soon as the wanted number of windows is on screen. Without
// descriptor 3 (a plain start) it does nothing.
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWindow>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#ifndef ZARNOLITH_PROBE_WINDOWS
#error "ZARNOLITH_PROBE_WINDOWS: how many top-level windows make the start complete"
#endif

namespace {

constexpr int ReportFd = 3;

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

void report(const char* what)
{
    char line[64];
    const int n = std::snprintf(line, sizeof line, "%s %lld\n", what, monotonicNs());
    if (n > 0 && write(ReportFd, line, static_cast<size_t>(n)) < 0)
        _exit(3); // the benchmark has gone away
}

// For finding out where the memory goes: ZARNOLITH_PROBE_SMAPS=<file> keeps the
// process's memory map as it stands at the end of the start.
void keepMemoryMap()
{
    const char* target = std::getenv("ZARNOLITH_PROBE_SMAPS");
    if (!target || !*target)
        return;
    std::FILE* in = std::fopen("/proc/self/smaps", "r");
    std::FILE* out = std::fopen(target, "w");
    char buf[4096];
    size_t n = 0;
    while (in && out && (n = std::fread(buf, 1, sizeof buf, in)) > 0)
        std::fwrite(buf, 1, n, out);
    if (in)
        std::fclose(in);
    if (out)
        std::fclose(out);
}

class ExposeWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !watched->isWindowType())
            return false;
        auto* window = static_cast<QWindow*>(watched);
        if (!window->isTopLevel() || !window->isExposed() || seen(window))
            return false;
        m_exposed.push_back(window);
        // The expose is handled (and the window painted) after this filter
        // returns; a queued call runs once that is done, also inside a modal loop.
        QMetaObject::invokeMethod(
            this, [this] { windowPainted(); }, Qt::QueuedConnection);
        return false;
    }

private:
    bool seen(QWindow* window) const
    {
        for (const QPointer<QWindow>& w : m_exposed)
            if (w == window)
                return true;
        return false;
    }

    void windowPainted()
    {
        report("window");
        if (++m_painted < ZARNOLITH_PROBE_WINDOWS)
            return;
        report("complete");
        keepMemoryMap();
        // The peak memory the benchmark reads is the one up to this moment.
        _exit(0);
    }

    std::vector<QPointer<QWindow>> m_exposed;
    int m_painted = 0;
};

// Decided when this code is loaded, before the toolkit opens descriptors of its
// own (the X connection may well become descriptor 3): the benchmark's pipe.
const bool g_reporting = [] {
    struct stat st {};
    return fstat(ReportFd, &st) == 0 && S_ISFIFO(st.st_mode);
}();

void installProbe()
{
    if (!g_reporting)
        return;
    report("toolkit");
    QCoreApplication::instance()->installEventFilter(new ExposeWatch);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
