#pragma once
// Where the running program lives, from the Windows API.

#include <string>

namespace sxf {

// Full path of the program file, in the ANSI code page: the form the C library's fopen and
// the core's file names take on Windows. Empty when the name cannot be had.
std::string ProgramFilePath();
// Folder of the program file with its trailing backslash (ANSI code page).
std::string ProgramFolderPath();

}  // namespace sxf
