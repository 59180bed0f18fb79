#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tellwright {

// File names travel through the program as std::string: the system's own
// bytes on Linux, UTF-8 on Windows, where they become UTF-16 only at the
// system call, so that any name a folder can hold opens, not only those of
// the ANSI code page.
std::filesystem::path FileSystemPath(std::string_view name);
std::string FileNameString(const std::filesystem::path& path);

// std::fopen for such a name.
std::FILE* OpenFile(const std::string& name, const char* mode);

// The program's arguments as such names: on Windows read again, as UTF-16,
// from the command line the program was started with; elsewhere as given.
std::vector<std::string> ProgramArguments(int argc, char** argv);

#ifdef _WIN32
// The system's text for a Windows error code (GetLastError()), without the
// line break and full stop it ends in.
std::string WindowsErrorText(unsigned long code);
#endif

}  // namespace tellwright
