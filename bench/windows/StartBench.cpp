// Start-up of the Windows build, whole processes as the desktop starts them, each against a
// baseline made with the same compiler (and Qt) and run in the same session, alternately:
//   - first start until the start-values dialog is on screen, against the floor: the smallest Qt
//     Widgets program until its window is on screen, plus the 15 ms the program itself waits on
//     its way to the dialog. Target: at most 1.2 x; peak working set at most 1.2 x the smallest
//     program's;
//   - a second start (an instance already running) until its process has ended, against a
//     program that only starts and ends. Target: at most 3 x.
//   bench_windows_start PROGRAM BASELINE_WINDOW TRIVIAL [RUNS]
// Prints the medians and the ratios; exit code 0 when every target was met, 1 when one was
// not, 2 when a run failed.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT kBeenden = WM_USER + 100;
const wchar_t* const kMainTitle = L"Zarnolith V1.01";
const wchar_t* const kDialogTitle = L"Neue Startwerte f\u00fcr Bildbreite und -h\u00f6he";
const wchar_t* const kBaselineTitle = L"Baseline";
constexpr DWORD kPatienceMs = 120000;
// Waits the program keeps on its way to the open dialog: the settings load ends with a 10 ms
// pause, and the dialog opens from a 5 ms one-shot timer.
constexpr double kProgramWaits = 0.015;
constexpr double kFirstStartTarget = 1.2;
constexpr double kMemoryTarget = 1.2;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Process {
    HANDLE handle = nullptr;
    bool ok() const { return handle != nullptr; }
};

Process Start(const std::wstring& program, const std::wstring& arguments = {})
{
    std::wstring line = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), ::GetLastError());
        return {};
    }
    ::CloseHandle(info.hThread);
    return {info.hProcess};
}

// Ends when the process does; its exit code, or -1 when it outlived the patience.
long Finish(Process& p)
{
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(p.handle, kPatienceMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(p.handle, 99);
        ::WaitForSingleObject(p.handle, INFINITE);
    } else {
        ::GetExitCodeProcess(p.handle, &code);
    }
    ::CloseHandle(p.handle);
    p.handle = nullptr;
    return static_cast<long>(code);
}

// The visible top-level window with exactly this title, waiting for it (a process that ends
// first gives up).
HWND WaitForWindow(const wchar_t* title, const Process& p)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND window = ::FindWindowW(nullptr, title);
        if (window && ::IsWindowVisible(window))
            return window;
        if (::WaitForSingleObject(p.handle, 0) == WAIT_OBJECT_0 || ::GetTickCount() - start > kPatienceMs)
            return nullptr;
        ::Sleep(1);
    }
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One first start: seconds until the wanted window is visible; the program is then closed with
// the message it answers (1124 for ours, WM_CLOSE for the baseline) and must end with 0.
// peakMiB: the process's peak working set up to the moment the window was seen.
bool FirstStart(const std::wstring& program, const std::wstring& arguments, const wchar_t* shownTitle,
                const wchar_t* closeTitle, UINT closeMessage, double& seconds, double& peakMiB)
{
    const double t0 = Now();
    Process p = Start(program, arguments);
    if (!p.ok())
        return false;
    HWND shown = WaitForWindow(shownTitle, p);
    seconds = Now() - t0;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    peakMiB = ::GetProcessMemoryInfo(p.handle, &counters, sizeof counters)
        ? static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0)
        : 0.0;
    HWND closing = shown ? ::FindWindowW(nullptr, closeTitle) : nullptr;
    if (closing)
        ::PostMessageW(closing, closeMessage, 0, 0);
    else
        ::TerminateProcess(p.handle, 98);
    const long code = Finish(p);
    if (!shown || code != 0) {
        std::fwprintf(stderr, L"%ls: window \"%ls\" %ls, exit code %ld\n", program.c_str(), shownTitle,
                      shown ? L"shown" : L"never shown", code);
        return false;
    }
    return true;
}

// One whole process, start to end: seconds; its exit code must be 0.
bool WholeRun(const std::wstring& program, double& seconds)
{
    const double t0 = Now();
    Process p = Start(program);
    if (!p.ok())
        return false;
    const long code = Finish(p);
    seconds = Now() - t0;
    if (code != 0) {
        std::fwprintf(stderr, L"%ls ended with %ld\n", program.c_str(), code);
        return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        std::fwprintf(stderr, L"usage: bench_windows_start PROGRAM BASELINE_WINDOW TRIVIAL [RUNS]\n");
        return 2;
    }
    const std::wstring program = argv[1], baseline = argv[2], trivial = argv[3];
    const int runs = argc > 4 ? std::max(1, _wtoi(argv[4])) : 10;

    // First start against the minimal window (with one line of text, as ours shows text), in turns
    // so that both meet the same load of the machine. One unmeasured round first: the files
    // come into the cache.
    std::vector<double> ours, theirs, ourPeaks, theirPeaks;
    for (int i = -1; i < runs; ++i) {
        double a = 0, b = 0, peakA = 0, peakB = 0;
        if (!FirstStart(program, L"", kDialogTitle, kMainTitle, kBeenden, a, peakA)
            || !FirstStart(baseline, L"--text", kBaselineTitle, kBaselineTitle, WM_CLOSE, b, peakB))
            return 2;
        if (i >= 0) {
            ours.push_back(a);
            theirs.push_back(b);
            ourPeaks.push_back(peakA);
            theirPeaks.push_back(peakB);
        }
    }
    const double first = Median(ours), firstBaseline = Median(theirs);
    const double peak = Median(ourPeaks), peakBaseline = Median(theirPeaks);

    // Second start: the first instance runs and takes the activation requests.
    Process instance = Start(program);
    if (!instance.ok() || !WaitForWindow(kMainTitle, instance)) {
        std::fwprintf(stderr, L"the first instance did not come up\n");
        return 2;
    }
    ours.clear();
    theirs.clear();
    bool ok = true;
    for (int i = -1; i < 2 * runs && ok; ++i) {
        double a = 0, b = 0;
        ok = WholeRun(program, a) && WholeRun(trivial, b);
        if (i >= 0) {
            ours.push_back(a);
            theirs.push_back(b);
        }
    }
    HWND main = ::FindWindowW(nullptr, kMainTitle);
    if (main)
        ::PostMessageW(main, kBeenden, 0, 0);
    const long code = Finish(instance);
    if (!ok || !main || code != 0) {
        std::fwprintf(stderr, L"second start runs failed, or the first instance ended with %ld\n", code);
        return 2;
    }
    const double second = Median(ours), secondTrivial = Median(theirs);
    const double secondRatio = second / secondTrivial;

    const double floor = firstBaseline + kProgramWaits;
    const double firstRatio = first / floor;
    const double memoryRatio = peakBaseline > 0 ? peak / peakBaseline : 0.0;
    const bool firstMet = firstRatio <= kFirstStartTarget;
    const bool memoryMet = peakBaseline > 0 && memoryRatio <= kMemoryTarget;
    std::wprintf(L"first start until the dialog is open:  %8.1f ms, minimal Qt window %8.1f ms, ratio %.2f\n",
                 first * 1e3, firstBaseline * 1e3, first / firstBaseline);
    std::wprintf(L"  against the floor (window + %.0f ms of waits, %.1f ms): ratio %.2f (target <= %.1f) %ls\n",
                 kProgramWaits * 1e3, floor * 1e3, firstRatio, kFirstStartTarget, firstMet ? L"met" : L"MISSED");
    std::wprintf(L"  peak working set %.1f MiB, minimal Qt window %.1f MiB, ratio %.2f (target <= %.1f) %ls\n", peak,
                 peakBaseline, memoryRatio, kMemoryTarget, memoryMet ? L"met" : L"MISSED");
    std::wprintf(
        L"second start until its end:             %8.1f ms, trivial program  %8.1f ms, ratio %.2f (target <= 3) %ls\n",
        second * 1e3, secondTrivial * 1e3, secondRatio, secondRatio <= 3.0 ? L"met" : L"MISSED");
    std::wprintf(L"(medians of %d runs each)\n", runs);
    return secondRatio <= 3.0 && firstMet && memoryMet ? 0 : 1;
}
