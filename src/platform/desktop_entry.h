#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellwright {

// How the desktop knows project files: a shared-mime-info package, a desktop
// entry and an icon. The same texts stand in resources/ for packagers.
inline constexpr std::string_view kProjectMimeType = "application/x-tellwright-project";
inline constexpr std::string_view kMimePackageFileName = "tellwright.xml";
inline constexpr std::string_view kDesktopEntryFileName = "tellwright.desktop";
inline constexpr std::string_view kIconFileName = "tellwright.svg";
// Stands for the quoted program in the desktop entry template.
inline constexpr std::string_view kExecPlaceholder = "@EXEC@";

std::string_view MimePackageXml();
std::string_view DesktopEntryTemplate();
std::string_view IconSvg();

// The program as the first word of an Exec line: always quoted, with the
// escapes the desktop entry format asks for inside quotes and in strings.
// nullopt when a desktop entry cannot hold the path: a control character or
// bytes that are not UTF-8.
std::optional<std::string> DesktopExecProgram(std::string_view program);

// The desktop entry that opens a file with `program`, the file as its first
// parameter; nullopt as for DesktopExecProgram.
std::optional<std::string> DesktopEntryText(std::string_view program);

}  // namespace tellwright
