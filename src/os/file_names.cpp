#include "os/file_names.h"

#include "base/utf8_text.h"
#include "os/windows_api.h"

#ifdef _WIN32
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace tellwright {

#ifdef _WIN32

std::string Utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

std::wstring WideFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::filesystem::path FileSystemPath(std::string_view name) { return std::filesystem::path(WideFromUtf8(name)); }

std::string FileNameString(const std::filesystem::path& path) { return Utf8FromWide(path.native()); }

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return _wfopen(WideFromUtf8(name).c_str(), WideFromUtf8(mode).c_str());
}

std::string WindowsErrorText(unsigned long code) {
  char* buffer = nullptr;
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length > 0 ? std::string(buffer, length) : "error " + std::to_string(code);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  return text;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide || count != argc) {
    if (wide) LocalFree(wide);
    return std::vector<std::string>(argv, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

std::string FileNameFromDocumentText(std::string_view text) { return Cp1252ToUtf8(text); }

std::optional<std::string> DocumentTextFromFileName(std::string_view name) { return Utf8ToCp1252(name); }

#else

std::filesystem::path FileSystemPath(std::string_view name) { return std::filesystem::path(name); }

std::string FileNameFromDocumentText(std::string_view text) { return std::string(text); }

std::optional<std::string> DocumentTextFromFileName(std::string_view name) { return std::string(name); }

std::string FileNameString(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenFile(const std::string& name, const char* mode) { return std::fopen(name.c_str(), mode); }

std::vector<std::string> ProgramArguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

#endif

}  // namespace tellwright
