#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
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

// A document text (Windows-1252) that names a file, such as the engine
// project path, as such a name; and back, nothing when the name holds a
// character Windows-1252 has no byte for. Unchanged bytes on Linux.
std::string FileNameFromDocumentText(std::string_view text);
std::optional<std::string> DocumentTextFromFileName(std::string_view name);

// The program's arguments as such names: on Windows read again, as UTF-16,
// from the command line the program was started with; elsewhere as given.
std::vector<std::string> ProgramArguments(int argc, char** argv);

#ifdef _WIN32
// Such a name (or any UTF-8 text) as the UTF-16 of the wide Win32 functions,
// and back.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The system's text for a Windows error code (GetLastError()), without the
// line break and full stop it ends in.
std::string WindowsErrorText(unsigned long code);
#endif

}  // namespace tellwright
