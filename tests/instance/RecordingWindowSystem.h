#pragma once
// A made-up desktop (windows 1, 2, 3 ... in walk order) that records the
// calls of the lookup and activation logic, so tests can check their order.
#include "platform/WindowSystem.h"

#include <map>
#include <string>
#include <vector>

class RecordingWindowSystem : public platform::WindowSystem {
public:
    std::vector<std::u16string> titles;
    std::map<platform::WindowHandle, bool> iconic;
    platform::WindowHandle foreground = 0;
    bool attachSucceeds = true;
    bool setForegroundWorks = true; // false: a foreground lock refuses the change
    bool lockTimeoutReadable = true;
    std::uint32_t lockTimeout = 200000;
    platform::OsVersion version{platform::VER_PLATFORM_WIN32_NT, 10, 0};
    // Window k belongs to thread 100 + k and process 200 + k unless these say otherwise.
    std::map<platform::WindowHandle, platform::ThreadId> threads;
    std::map<platform::WindowHandle, platform::ProcessId> processes;
    std::vector<std::string> log;

    void Log(const std::string& call, std::initializer_list<std::uint64_t> args)
    {
        std::string list;
        for (auto a : args)
            list += (list.empty() ? "" : ",") + std::to_string(a);
        log.push_back(call + "(" + list + ")");
    }

    platform::WindowHandle FindWindowW() override { return titles.empty() ? 0 : 1; }
    platform::WindowHandle GetWindowNext(platform::WindowHandle w) override { return w < titles.size() ? w + 1 : 0; }
    int GetWindowTextW(platform::WindowHandle w, char16_t* buffer, int maxCount) override
    {
        Log("GetWindowText", {w, static_cast<std::uint64_t>(maxCount)});
        return platform::CopyWindowText(w >= 1 && w <= titles.size() ? titles[w - 1] : u"", buffer, maxCount);
    }
    bool PostMessageW(platform::WindowHandle w, unsigned msg, std::uintptr_t wp, std::intptr_t lp) override
    {
        Log("PostMessage", {w, msg, wp, static_cast<std::uint64_t>(lp)});
        return true;
    }
    bool IsIconic(platform::WindowHandle w) override { return iconic[w]; }
    bool ShowWindow(platform::WindowHandle w, int cmd) override
    {
        Log("ShowWindow", {w, static_cast<std::uint64_t>(cmd)});
        iconic[w] = false;
        return true;
    }
    platform::WindowHandle GetForegroundWindow() override { return foreground; }
    platform::ThreadId GetWindowThreadProcessId(platform::WindowHandle w) override
    {
        if (const auto it = threads.find(w); it != threads.end())
            return it->second;
        return w == 0 ? 0 : static_cast<platform::ThreadId>(100 + w);
    }
    platform::ProcessId GetWindowProcessId(platform::WindowHandle w) override
    {
        if (const auto it = processes.find(w); it != processes.end())
            return it->second;
        return w == 0 ? 0 : static_cast<platform::ProcessId>(200 + w);
    }
    bool AllowSetForegroundWindow(platform::ProcessId p) override
    {
        Log("AllowSetForegroundWindow", {p});
        return true;
    }
    bool AttachThreadInput(platform::ThreadId a, platform::ThreadId to, bool attach) override
    {
        Log("AttachThreadInput", {a, to, attach});
        return attachSucceeds;
    }
    bool BringWindowToTop(platform::WindowHandle w) override
    {
        Log("BringWindowToTop", {w});
        return true;
    }
    bool SetForegroundWindow(platform::WindowHandle w) override
    {
        Log("SetForegroundWindow", {w});
        if (setForegroundWorks)
            foreground = w;
        return setForegroundWorks;
    }
    bool SystemParametersInfoW(unsigned action, unsigned ui, void* pv, unsigned winIni) override
    {
        if (action == platform::SPI_GETFOREGROUNDLOCKTIMEOUT) {
            Log("SPI_GET", {ui, winIni});
            if (lockTimeoutReadable)
                *static_cast<std::uint32_t*>(pv) = lockTimeout;
            return lockTimeoutReadable;
        }
        lockTimeout = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pv));
        Log("SPI_SET", {lockTimeout, winIni});
        setForegroundWorks = setForegroundWorks || lockTimeout == 0; // the lock is lifted
        return true;
    }
    platform::OsVersion GetVersion() override { return version; }
};
