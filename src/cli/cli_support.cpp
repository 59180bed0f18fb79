#include "cli/cli_support.h"

#include <cstdio>
#include <iostream>

#include "base/path_names.h"
#include "base/utf8_text.h"
#include "document/project_file.h"
#include "os/atomic_write.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tellwright::cli {

void PrintDiagnostic(std::string_view file, std::string_view severity, std::string_view message, int line) {
  std::cerr << file;
  if (line > 0) std::cerr << ':' << line;
  std::cerr << ": " << severity << ": " << message << '\n';
}

std::optional<DialogueDocument> LoadProjectFile(const std::string& path) {
  DialogueDocument document;
  if (Status status = LoadProject(path, document); !status) {
    PrintDiagnostic(path, "error", status.message, status.line);
    return std::nullopt;
  }
  return document;
}

namespace {
bool WriteStandardOutput(std::string_view bytes) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // CR LF must reach the pipe as it is
#endif
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
  if (!written) PrintDiagnostic("<stdout>", "error", "cannot write to standard output");
  return written;
}
}  // namespace

bool WriteOutput(const std::string& target, std::string_view bytes) {
  if (target == kStandardOutput) return WriteStandardOutput(bytes);
  Status status = WriteFileAtomically(target, bytes);
  if (!status) PrintDiagnostic(target, "error", status.message);
  return status.ok;
}

namespace {
bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    size_t length = DecodeUtf8At(text, at).length;
    if (length == 0) return false;
    at += length;
  }
  return true;
}
}  // namespace

std::string FileName(const std::string& path) { return IsUtf8(path) ? path : Cp1252ToUtf8(path); }

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20) {
      static const char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string OutputPath(const std::string& path, std::string_view extension) {
  if (path == kStandardOutput) return path;
  return WithExtension(path, extension);
}

}  // namespace tellwright::cli
