#pragma once
// Reading JWC_TEMP.TXT by a UTF-8 file name through the wide C library call, so that a folder
// whose name has characters outside the ANSI code page ("C:\ツール\" on a Western system, or
// "é" on a Japanese one) is found. The bytes go to the model's reader as they are.

#include <string>

namespace sxf {

// Reads the whole file into the model (which the caller has initialised), with the reader's
// own rules: only a regular file is read, at most kMaxJwcFileBytes of it, and when reading
// stops early (a read error, too large a file, no memory) the line it cut short is left out.
// True when the file was read to its end.
bool LoadJwcTempFileByUtf8Name(const std::string& path);

}  // namespace sxf
