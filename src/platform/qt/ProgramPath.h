#pragma once
// Where the running program lives, from the platform.

#include <string>

namespace sxf {

// Full path of the program file (UTF-8).
std::string ProgramFilePath();
// Folder of the program file with a trailing separator (UTF-8).
std::string ProgramFolderPath();

}  // namespace sxf
