#pragma once
// Where the running program lives, from the Windows API.

#include <string>
#include <vector>

namespace sxf {

// Full path of the program file in UTF-8, so that a folder with characters outside the ANSI
// code page keeps them; files are opened by it through the wide calls. Empty when the name
// cannot be had.
std::string ProgramFilePath();
// Folder of the program file with its trailing backslash (UTF-8).
std::string ProgramFolderPath();
// The command line's arguments after the program name, in UTF-8 from the wide command line:
// the narrow argv has every character outside the ANSI code page replaced by '?'.
std::vector<std::string> ProgramArguments();

}  // namespace sxf
