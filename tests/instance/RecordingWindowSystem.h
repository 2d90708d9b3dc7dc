#pragma once
// A made-up desktop (windows 1, 2, 3 ... in walk order) that records the
// calls of the lookup and activation logic, so tests can check their order.
#include "instance/WindowSystem.h"

#include <map>
#include <string>
#include <vector>

class RecordingWindowSystem : public instance::WindowSystem {
public:
    std::vector<std::u16string> titles;
    std::map<instance::WindowHandle, bool> iconic;
    instance::WindowHandle foreground = 0;
    bool attachSucceeds = true;
    bool setForegroundWorks = true; // false: a foreground lock refuses the change
    bool lockTimeoutReadable = true;
    std::uint32_t lockTimeout = 200000;
    instance::OsVersion version{instance::PlatformId::Win32Nt, 10, 0};
    // Window k belongs to thread 100 + k and process 200 + k unless these say otherwise.
    std::map<instance::WindowHandle, instance::ThreadId> threads;
    std::map<instance::WindowHandle, instance::ProcessId> processes;
    std::vector<std::string> log;

    void Log(const std::string& call, std::initializer_list<std::uint64_t> args)
    {
        std::string list;
        for (auto a : args)
            list += (list.empty() ? "" : ",") + std::to_string(a);
        log.push_back(call + "(" + list + ")");
    }

    instance::WindowHandle FindWindowW() override { return titles.empty() ? 0 : 1; }
    instance::WindowHandle GetWindowNext(instance::WindowHandle w) override { return w < titles.size() ? w + 1 : 0; }
    int GetWindowTextW(instance::WindowHandle w, char16_t* buffer, int maxCount) override
    {
        Log("GetWindowText", {w, static_cast<std::uint64_t>(maxCount)});
        return instance::CopyWindowText(w >= 1 && w <= titles.size() ? titles[w - 1] : u"", buffer, maxCount);
    }
    bool PostMessageW(instance::WindowHandle w, unsigned msg, std::uintptr_t wp, std::intptr_t lp) override
    {
        Log("PostMessage", {w, msg, wp, static_cast<std::uint64_t>(lp)});
        return true;
    }
    bool IsIconic(instance::WindowHandle w) override { return iconic[w]; }
    bool ShowWindow(instance::WindowHandle w, instance::ShowCommand cmd) override
    {
        Log("ShowWindow", {w, static_cast<std::uint64_t>(cmd)});
        iconic[w] = false;
        return true;
    }
    instance::WindowHandle GetForegroundWindow() override { return foreground; }
    instance::ThreadId GetWindowThreadProcessId(instance::WindowHandle w) override
    {
        if (const auto it = threads.find(w); it != threads.end())
            return it->second;
        return w == 0 ? 0 : static_cast<instance::ThreadId>(100 + w);
    }
    instance::ProcessId GetWindowProcessId(instance::WindowHandle w) override
    {
        if (const auto it = processes.find(w); it != processes.end())
            return it->second;
        return w == 0 ? 0 : static_cast<instance::ProcessId>(200 + w);
    }
    bool AllowSetForegroundWindow(instance::ProcessId p) override
    {
        Log("AllowSetForegroundWindow", {p});
        return true;
    }
    bool AttachThreadInput(instance::ThreadId a, instance::ThreadId to, bool attach) override
    {
        Log("AttachThreadInput", {a, to, attach});
        return attachSucceeds;
    }
    bool BringWindowToTop(instance::WindowHandle w) override
    {
        Log("BringWindowToTop", {w});
        return true;
    }
    bool SetForegroundWindow(instance::WindowHandle w) override
    {
        Log("SetForegroundWindow", {w});
        if (setForegroundWorks)
            foreground = w;
        return setForegroundWorks;
    }
    bool SystemParametersInfoW(instance::SystemParameter action, unsigned ui, void* pv,
                               instance::ParameterUpdate winIni) override
    {
        if (action == instance::SystemParameter::GetForegroundLockTimeout) {
            Log("SPI_GET", {ui, static_cast<std::uint64_t>(winIni)});
            if (lockTimeoutReadable)
                *static_cast<std::uint32_t*>(pv) = lockTimeout;
            return lockTimeoutReadable;
        }
        lockTimeout = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pv));
        Log("SPI_SET", {lockTimeout, static_cast<std::uint64_t>(winIni)});
        setForegroundWorks = setForegroundWorks || lockTimeout == 0; // the lock is lifted
        return true;
    }
    instance::OsVersion GetVersion() override { return version; }
};
