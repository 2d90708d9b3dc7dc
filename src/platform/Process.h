#pragma once
// What the program asks the system about its own process: its program file,
// the user's temporary directory, loading the GUI library, the file-size
// signal, and on Windows the error box of a failed start. Plain C++: the
// launcher uses it before the toolkit is loaded.
#include <string>
#ifndef _WIN32
#include <thread>
#endif

namespace platform {

// Full path of the running program file, UTF-8; "" when the system does not
// tell it. Linux: the executable as the kernel reports it (/proc/self/exe),
// also after an update replaced the file. Windows: GetModuleFileNameW of the
// executable, whole however long it is.
std::string ExecutableFile();

// Why the system named no temporary directory that can be used.
struct TemporaryDirectoryFailure {
    std::string directory; // the one it named, when that is longer than 260 characters; else ""
    std::string message;   // what the system reported, in its own words (UTF-8)
};

// The temporary directory as the system names it, UTF-8, whether or not it
// exists. Linux: $TMPDIR, or "/tmp" when it is unset or empty (as given, so
// possibly relative and without a trailing separator). Windows: GetTempPathW
// (from TMP, TEMP, USERPROFILE or the Windows directory), with its trailing
// backslash; "" when the call fails or names a directory longer than 260
// characters, and then *failure (when given) says what Windows reported.
std::string TemporaryDirectory(TemporaryDirectoryFailure* failure = nullptr);

// The entry point of a program library.
using EntryPoint = int (*)(int, char**);

// Loads the library at path (UTF-8) and finds the named function in it. The
// library stays loaded for the rest of the process. nullptr when either step
// fails, with the system's reason in error.
EntryPoint LoadEntryPoint(const std::string& path, const char* symbol, std::string* error);

// Reads the system's font configuration (fontconfig's FcInit: its XML files
// and font caches) on a thread of its own, from construction until Wait(), so
// that it overlaps loading the GUI library instead of following it; the
// toolkit then finds the configuration ready. Only a first instance needs it:
// a second start ends before the toolkit. Without fontconfig (and on Windows,
// whose fonts need no such start) it does nothing. Wait() before the toolkit
// starts: fontconfig does not wait for another thread's start, it would read
// everything a second time.
class EarlyFontConfiguration {
public:
    EarlyFontConfiguration();
    ~EarlyFontConfiguration(); // waits
    EarlyFontConfiguration(const EarlyFontConfiguration&) = delete;
    EarlyFontConfiguration& operator=(const EarlyFontConfiguration&) = delete;

    // Returns once the configuration is read (at once when there was nothing to read).
    void Wait();

private:
#ifndef _WIN32
    std::thread m_thread;
#endif
};

// A write past the file-size limit (ulimit -f) then fails with EFBIG instead
// of ending the process with SIGXFSZ. Process-wide; called once at start and
// again by every staged write. Windows has no such signal: nothing to do.
void IgnoreFileSizeSignal();

#ifdef _WIN32
// A modal system message box (UTF-8 title and text) with the error icon and
// one "OK" button, for the launcher, which has no toolkit to show one: a
// windowed program has no console, so stderr reaches nobody who started it
// from Explorer. Returns once the user has closed the box.
void ShowErrorBox(const std::string& title, const std::string& text);
#endif

} // namespace platform
