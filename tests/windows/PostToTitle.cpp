// An outside program as the updater is one: finds the top-level window whose
// title ends with the given text and posts it a message with both parameters 0.
//   post-to-title TITLE-END MESSAGE [WAIT-MS]
// WAIT-MS: keep looking that long for the window to appear (default: look once).
// Exit code 0: posted; 1: no such window; 2: wrong arguments or the post failed.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct Search {
    std::wstring end;
    HWND found = nullptr;
};

BOOL CALLBACK Examine(HWND window, LPARAM context)
{
    auto& search = *reinterpret_cast<Search*>(context);
    wchar_t title[1024] = {};
    const int n = ::GetWindowTextW(window, title, 1024);
    const std::size_t length = static_cast<std::size_t>(n < 0 ? 0 : n);
    if (length >= search.end.size()
        && search.end.compare(0, std::wstring::npos, title + length - search.end.size()) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3 || argc > 4 || argv[1][0] == L'\0') {
        std::fwprintf(stderr, L"usage: post-to-title TITLE-END MESSAGE [WAIT-MS]\n");
        return 2;
    }
    const UINT message = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
    const ULONGLONG wait = argc == 4 ? std::wcstoull(argv[3], nullptr, 10) : 0;
    const ULONGLONG end = ::GetTickCount64() + wait;
    Search search{argv[1]};
    for (;;) {
        ::EnumWindows(&Examine, reinterpret_cast<LPARAM>(&search));
        if (search.found || ::GetTickCount64() >= end)
            break;
        ::Sleep(50);
    }
    if (!search.found) {
        std::fwprintf(stderr, L"post-to-title: no window ends with \"%ls\"\n", argv[1]);
        return 1;
    }
    return ::PostMessageW(search.found, message, 0, 0) ? 0 : 2;
}
