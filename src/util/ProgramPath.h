#pragma once
// The running program's own file and directory: the process's executable as
// the system reports it (platform::ExecutableFile), not the GUI library that
// the launcher loaded. History.txt and Vellomat.exe lie beside the program
// file.
#include <string>

namespace util {

// Full path of the program file ("" when the system does not tell it).
std::string ProgramFile();

// Directory part of that path with its trailing separator; file names are
// appended directly. "./" when the program file is unknown.
std::string ProgramDirectory();

// The directory part of a path, with its trailing separator ("./" for a bare
// name). On Windows both \ and / separate.
std::string DirectoryOf(const std::string& path);

} // namespace util
