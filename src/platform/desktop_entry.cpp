#include "platform/desktop_entry.h"

#include "base/utf8_text.h"

namespace tellwright {

namespace {

// Kept equal to the files in resources/ (a test compares them).
constexpr std::string_view kMimePackageXml = R"xml(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-tellwright-project">
    <comment>Tellwright dialogue project</comment>
    <sub-class-of type="text/plain"/>
    <icon name="tellwright"/>
    <glob pattern="*.tlwdlg"/>
  </mime-type>
</mime-info>
)xml";

constexpr std::string_view kDesktopEntryTemplate = R"entry([Desktop Entry]
Type=Application
Name=Tellwright
GenericName=Dialogue Editor
Comment=Edit the branching conversations of adventure games
Exec=@EXEC@ %f
Icon=tellwright
Terminal=false
MimeType=application/x-tellwright-project;
Categories=Development;
)entry";

constexpr std::string_view kIconSvg = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <title>Tellwright</title>
  <path d="M8 5h32a6 6 0 0 1 6 6v20a6 6 0 0 1-6 6H21l-10 8v-8H8a6 6 0 0 1-6-6V11a6 6 0 0 1 6-6z" fill="#2f5d8a"/>
  <path d="M13 21h7l8-7h7M20 21l8 7h7" fill="none" stroke="#f4f1e8" stroke-width="2.5" stroke-linecap="round" stroke-linejoin="round"/>
  <circle cx="12" cy="21" r="3.5" fill="#f4c542"/>
  <circle cx="36" cy="14" r="3.5" fill="#f4c542"/>
  <circle cx="36" cy="28" r="3.5" fill="#f4c542"/>
</svg>
)svg";

bool StorableInDesktopEntry(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x20 || lead == 0x7F) return false;
    size_t length = DecodeUtf8At(text, at).length;
    if (length == 0) return false;
    at += length;
  }
  return true;
}

}  // namespace

std::string_view MimePackageXml() { return kMimePackageXml; }
std::string_view DesktopEntryTemplate() { return kDesktopEntryTemplate; }
std::string_view IconSvg() { return kIconSvg; }

std::optional<std::string> DesktopExecProgram(std::string_view program) {
  if (!StorableInDesktopEntry(program)) return std::nullopt;
  std::string quoted = "\"";
  for (char c : program) {
    // Inside quotes " ` $ and \ take a backslash, and the string escaping of
    // the file doubles every backslash; "%%" keeps a percent sign literal.
    switch (c) {
      case '"':
      case '`':
      case '$': quoted += "\\\\"; break;
      case '\\': quoted += "\\\\\\"; break;
      case '%': quoted += '%'; break;
      default: break;
    }
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::optional<std::string> DesktopEntryText(std::string_view program) {
  std::optional<std::string> exec = DesktopExecProgram(program);
  if (!exec) return std::nullopt;
  std::string text(kDesktopEntryTemplate);
  text.replace(text.find(kExecPlaceholder), kExecPlaceholder.size(), *exec);
  return text;
}

}  // namespace tellwright
