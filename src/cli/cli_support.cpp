#include "cli/cli_support.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>
#include <vector>

#include "base/path_names.h"
#include "base/utf8_text.h"
#include "document/project_file.h"
#include "os/atomic_write.h"
#include "os/file_identity.h"
#include "os/file_names.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tellwright::cli {

std::string FileName(std::string_view path) { return IsUtf8(path) ? std::string(path) : Cp1252ToUtf8(path); }

void PrintDiagnostic(std::string_view file, std::string_view severity, std::string_view message, int line) {
  std::cerr << FileName(file);
  if (line > 0) std::cerr << ':' << line;
  std::cerr << ": " << severity << ": " << message << '\n';
}

void PrintLoadWarnings(std::string_view file, const LoadResult& result) {
  for (const FileWarning& warning : result.warnings) PrintDiagnostic(file, "warning", warning.message, warning.line);
}

std::optional<DialogueDocument> LoadProjectFile(const std::string& path) {
  DialogueDocument document;
  LoadResult result = LoadProject(path, document);
  if (!result) {
    PrintDiagnostic(path, "error", result.message, result.line);
    return std::nullopt;
  }
  PrintLoadWarnings(path, result);
  return document;
}

void KeepStandardStreamsApart() {
#ifndef _WIN32
  for (int stream = 0; stream <= 2; ++stream)
    if (::fcntl(stream, F_GETFD) == -1 && errno == EBADF) {
      int held = ::open("/dev/null", O_RDONLY);
      if (held >= 0 && held != stream) {
        ::dup2(held, stream);
        ::close(held);
      }
    }
#endif
}

bool OutputArrived() {
  static bool reported = false;
  errno = 0;
  bool flushed = std::fflush(stdout) == 0;
  int reason = errno;
  bool arrived = flushed && !std::ferror(stdout) && !std::cout.fail();
  if (!arrived && !reported) {
    reported = true;
    std::string message = "cannot write to standard output";
    if (!flushed && reason != 0) message += std::string(": ") + std::strerror(reason);
    PrintDiagnostic("<stdout>", "error", message);
  }
  std::cerr.flush();
  bool diagnosticsArrived = !std::cerr.fail() && !std::ferror(stderr);
  return arrived && diagnosticsArrived;
}

int WithOutputChecked(int exitCode) { return OutputArrived() ? exitCode : std::max<int>(exitCode, kExitError); }

namespace {
class StandardOutputSink : public ByteSink {
 public:
  void write(std::string_view bytes) override { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }
};
}  // namespace

bool WriteStandardOutput(const Produce& produce) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // CR LF must reach the pipe as it is
#endif
  StandardOutputSink sink;
  {
    OutputBuffer out(sink);
    produce(out);
  }
  return OutputArrived();
}

bool WriteOutput(const std::string& target, const Produce& produce) {
  if (target == kStandardOutput) return WriteStandardOutput(produce);
  AtomicFile file;
  Status status = file.open(target);
  if (status) {
    {
      OutputBuffer out(file);
      produce(out);
    }
    status = file.commit();
  }
  if (!status) PrintDiagnostic(target, "error", status.message);
  return status.ok;
}

bool WriteOutput(const std::string& target, std::string_view bytes) {
  return WriteOutput(target, [bytes](OutputBuffer& out) { out.append(bytes); });
}

std::string OutputNameFault(const std::string& output) {
  if (output == kStandardOutput) return "";
  if (output.empty()) return "the file name is empty";
  std::string_view name = FileNamePart(output);
  std::error_code ec;
  if (name.empty() || name == "." || name == ".." || std::filesystem::is_directory(FileSystemPath(output), ec))
    return "\"" + FileName(output) + "\" is a folder; name a file";
  return "";
}

std::optional<std::string> OutputTarget(const std::string& output, std::string_view extension,
                                        const std::string& input) {
  if (output == kStandardOutput) return output;
  std::string target = WithExtension(output, extension);
  if (SameFile(target, input)) {
    PrintDiagnostic(target, "error", "not written: it is the project " + FileName(input) + " itself");
    return std::nullopt;
  }
  return target;
}

void KeepUntilExit(std::shared_ptr<const void> owner) {
  // Never destroyed, and still reachable: a leak checker sees nothing lost.
  static auto& kept = *new std::vector<std::shared_ptr<const void>>;
  kept.push_back(std::move(owner));
}

std::string JsonString(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
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
  out += '"';
}

namespace {
// A file written without the version line is read with everything a line
// earlier.
bool StartsWithVersionLine(const std::string& path) {
  std::ifstream in(FileSystemPath(path), std::ios::binary);
  std::string first;
  std::getline(in, first);
  if (!first.empty() && first.back() == '\r') first.pop_back();
  return first == kProjectVersionLine;
}
}  // namespace

ProjectLines::ProjectLines(const std::string& path, const DialogueDocument& document)
    : lines_(document), shift_(StartsWithVersionLine(path) ? 0 : -1) {}

int ProjectLines::lineOf(const ProblemPlace& place, ProblemField field) const {
  int line = lines_.lineOf(place, field);
  return line > 0 ? std::max(line + shift_, 1) : 0;
}

}  // namespace tellwright::cli
