// Test main shared by all test executables: widgets need a QApplication, and
// the suite runs headless on the offscreen platform unless told otherwise.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <string>
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The main window loads and saves the display settings: never the user's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
#ifdef _WIN32
    // There they live in the registry: HKEY_CURRENT_USER stands for a key of this run's own,
    // so test programs running side by side never share settings.
    const std::wstring ownKey = L"Software\\ZarnolithTests\\run." + std::to_wstring(::GetCurrentProcessId());
    HKEY own = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, ownKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &own, nullptr)
            != ERROR_SUCCESS
        || ::RegOverridePredefKey(HKEY_CURRENT_USER, own) != ERROR_SUCCESS) {
        std::fprintf(stderr, "no registry key of the test run's own\n");
        return 3;
    }
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
#ifdef _WIN32
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    ::RegCloseKey(own);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, ownKey.c_str());
#endif
    return result;
}
