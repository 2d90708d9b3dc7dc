// Without the Windows registry the settings live in a file of the user's own.
#include "settings/FileRegistry.h"

namespace settings {

std::unique_ptr<IRegistry> CreateUserRegistry() { return std::make_unique<FileRegistry>(); }

} // namespace settings
