#pragma once
// A desktop of made-up windows that records every window-system call, so
// tests can check the order of steps of the lookup and activation logic.
#include "platform/WindowSystem.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class RecordingWindowSystem : public platform::WindowSystem {
public:
    // Top-level windows in walk order; handles are 1, 2, 3 ...
    std::vector<std::u16string> titles;
    std::map<platform::WindowHandle, bool> iconic;
    platform::WindowHandle foreground = 0;
    bool attachSucceeds = true;
    // Whether SetForegroundWindow takes effect (a foreground lock may refuse it).
    bool setForegroundWorks = true;
    bool lockTimeoutReadable = true;
    std::uint32_t lockTimeout = 200000;
    platform::OsVersion version {platform::VER_PLATFORM_WIN32_NT, 10, 0};
    std::vector<std::string> log;
    std::vector<int> textBufferSizes;

    platform::WindowHandle FindWindowW() override
    {
        log.push_back("FindWindow");
        return titles.empty() ? 0 : 1;
    }
    platform::WindowHandle GetWindowNext(platform::WindowHandle w) override
    {
        return w < titles.size() ? w + 1 : 0;
    }
    int GetWindowTextW(platform::WindowHandle w, char16_t* buffer, int maxCount) override
    {
        textBufferSizes.push_back(maxCount);
        log.push_back("GetWindowText(" + std::to_string(w) + ")");
        return platform::CopyWindowText(w >= 1 && w <= titles.size() ? titles[w - 1] : u"", buffer, maxCount);
    }
    bool PostMessageW(platform::WindowHandle w, unsigned msg, std::uintptr_t wp, std::intptr_t lp) override
    {
        log.push_back("PostMessage(" + std::to_string(w) + "," + std::to_string(msg) + "," + std::to_string(wp) + ","
                      + std::to_string(lp) + ")");
        return true;
    }
    bool IsIconic(platform::WindowHandle w) override { return iconic[w]; }
    bool ShowWindow(platform::WindowHandle w, int cmd) override
    {
        log.push_back("ShowWindow(" + std::to_string(w) + "," + std::to_string(cmd) + ")");
        iconic[w] = false;
        return true;
    }
    platform::WindowHandle GetForegroundWindow() override { return foreground; }
    platform::ThreadId GetWindowThreadProcessId(platform::WindowHandle w) override
    {
        return w == 0 ? 0 : static_cast<platform::ThreadId>(100 + w);
    }
    bool AttachThreadInput(platform::ThreadId a, platform::ThreadId to, bool attach) override
    {
        log.push_back("AttachThreadInput(" + std::to_string(a) + "," + std::to_string(to) + ","
                      + (attach ? "true" : "false") + ")");
        return attachSucceeds;
    }
    bool BringWindowToTop(platform::WindowHandle w) override
    {
        log.push_back("BringWindowToTop(" + std::to_string(w) + ")");
        return true;
    }
    bool SetForegroundWindow(platform::WindowHandle w) override
    {
        log.push_back("SetForegroundWindow(" + std::to_string(w) + ")");
        if (setForegroundWorks)
            foreground = w;
        return setForegroundWorks;
    }
    bool SystemParametersInfoW(unsigned action, unsigned ui, void* pv, unsigned winIni) override
    {
        if (action == platform::SPI_GETFOREGROUNDLOCKTIMEOUT) {
            log.push_back("SPI_GET(" + std::to_string(ui) + "," + std::to_string(winIni) + ")");
            if (!lockTimeoutReadable)
                return false;
            *static_cast<std::uint32_t*>(pv) = lockTimeout;
            return true;
        }
        const auto value = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pv));
        log.push_back("SPI_SET(" + std::to_string(value) + "," + std::to_string(winIni) + ")");
        lockTimeout = value;
        // With the lock lifted, a foreground change goes through.
        setForegroundWorks = setForegroundWorks || value == 0;
        return true;
    }
    platform::OsVersion GetVersion() override { return version; }
};
