// <windows.h> first, then our own headers, as a file that calls Windows itself
// includes them: none of our names may collide with the macros it defines.
// And our numbers for the window system's arguments and answers are Windows'
// own, checked against its macros while compiling.
#include <windows.h>

#include "instance/ChannelProtocol.h"
#include "instance/Foreground.h"
#include "instance/FormTree.h"
#include "instance/InstanceGuard.h"
#include "instance/Messages.h"
#include "instance/NamedMutex.h"
#include "instance/WindowSearch.h"
#include "instance/WindowSystem.h"
#include "platform/CommandLineToArgv.h"
#include "platform/HandOffFile.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/UserLocale.h"
#include "platform/Utf8.h"
#include "settings/ERegistryException.h"
#include "settings/IRegistry.h"
#include "settings/RegDocument.h"
#include "settings/TRegistry.h"

#include <type_traits>

namespace {

template <typename Enum>
constexpr auto number(Enum e)
{
    return static_cast<std::underlying_type_t<Enum>>(e);
}

using instance::MutexError;
static_assert(number(MutexError::Success) == ERROR_SUCCESS);
static_assert(number(MutexError::PathNotFound) == ERROR_PATH_NOT_FOUND);
static_assert(number(MutexError::AccessDenied) == ERROR_ACCESS_DENIED);
static_assert(number(MutexError::AlreadyExists) == ERROR_ALREADY_EXISTS);

static_assert(number(instance::ShowCommand::Restore) == SW_RESTORE);
static_assert(number(instance::SystemParameter::GetForegroundLockTimeout) == SPI_GETFOREGROUNDLOCKTIMEOUT);
static_assert(number(instance::SystemParameter::SetForegroundLockTimeout) == SPI_SETFOREGROUNDLOCKTIMEOUT);
static_assert(number(instance::ParameterUpdate::SendChange) == SPIF_SENDCHANGE);
static_assert(number(instance::PlatformId::Win32Windows) == VER_PLATFORM_WIN32_WINDOWS);
static_assert(number(instance::PlatformId::Win32Nt) == VER_PLATFORM_WIN32_NT);
static_assert(instance::kFirstUserMessage == WM_USER);

static_assert(settings::regtype::Sz == REG_SZ);
static_assert(settings::regtype::ExpandSz == REG_EXPAND_SZ);
static_assert(settings::regtype::Binary == REG_BINARY);
static_assert(settings::regtype::Dword == REG_DWORD);
static_assert(settings::regtype::DwordBigEndian == REG_DWORD_BIG_ENDIAN);
static_assert(settings::regtype::MultiSz == REG_MULTI_SZ);
static_assert(settings::regtype::Qword == REG_QWORD);

static_assert(platform::ShellResult::FileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(platform::ShellResult::PathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(platform::ShellResult::BadFormat == ERROR_BAD_FORMAT);
static_assert(platform::ShellResult::NoAssociation == SE_ERR_NOASSOC);
static_assert(platform::ShellResult::AccessDenied == SE_ERR_ACCESSDENIED);
static_assert(platform::ShellResult::OutOfMemory == SE_ERR_OOM);

} // namespace
