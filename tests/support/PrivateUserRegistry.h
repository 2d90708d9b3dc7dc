#pragma once
// Windows: the test process's HKEY_CURRENT_USER is a fresh key of its own
// (HKCU\Software\ZarnolithTests\run.<process id>) while this object lives, so
// that what the windows under test load and save never meets the user's own
// settings, nor those of a test process running beside it in the same Wine
// prefix. Elsewhere it does nothing: the settings file follows
// XDG_CONFIG_HOME there.
#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

class PrivateUserRegistry {
public:
    PrivateUserRegistry()
    {
        m_path = L"Software\\ZarnolithTests\\run." + std::to_wstring(::GetCurrentProcessId());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                              nullptr)
                != ERROR_SUCCESS
            || ::RegOverridePredefKey(HKEY_CURRENT_USER, m_key) != ERROR_SUCCESS) {
            std::fprintf(stderr, "no registry key of the test run's own\n");
            std::exit(3); // the tests would write into the user's own settings
        }
    }
    ~PrivateUserRegistry()
    {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        ::RegCloseKey(m_key);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    }
    PrivateUserRegistry(const PrivateUserRegistry&) = delete;
    PrivateUserRegistry& operator=(const PrivateUserRegistry&) = delete;

private:
    std::wstring m_path;
    HKEY m_key = nullptr;
};
#else
class PrivateUserRegistry {};
#endif
