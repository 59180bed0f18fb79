#include "spelling/project_dictionary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/utf8_text.h"
#include "os/atomic_write.h"
#include "os/file_names.h"

namespace tellwright {

namespace {

// The project file's name without its extension.
std::string WithoutExtension(std::string_view projectFile) {
  size_t dot = projectFile.rfind('.');
  size_t slash = projectFile.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::string(projectFile);
  return std::string(projectFile.substr(0, dot));
}

std::string_view Trimmed(std::string_view line) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  return line;
}

bool FileExists(const std::string& file) {
  std::error_code error;
  return std::filesystem::exists(FileSystemPath(file), error);
}

}  // namespace

std::string ProjectWordListFile(std::string_view projectFile) { return WithoutExtension(projectFile) + ".words.txt"; }
std::string ProjectLanguageFile(std::string_view projectFile) { return WithoutExtension(projectFile) + ".spelling"; }

WordListReading ReadWordList(const std::string& file) {
  WordListReading reading;
  if (!FileExists(file)) return reading;
  std::string bytes;
  if (Status status = ReadWholeFile(file, bytes); !status) return {status, {}};
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.erase(0, 3);
  int number = 0;
  for (size_t at = 0; at < bytes.size();) {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    ++number;
    std::string_view line = Trimmed(std::string_view(bytes).substr(at, end - at));
    at = end + 1;
    if (line.empty()) continue;
    std::optional<std::string> word = Utf8ToCp1252(line);
    if (!word)
      return {Status::Error(file + ":" + std::to_string(number) +
                                ": the word is no UTF-8, or holds a character the project's texts cannot hold",
                            number),
              {}};
    reading.words.push_back(std::move(*word));
  }
  return reading;
}

std::string WordListText(std::vector<std::string> words) {
  for (std::string& word : words) word = Cp1252ToUtf8(word);
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  std::string text;
  for (const std::string& word : words) text += word + '\n';
  return text;
}

Status AddToWordList(const std::string& file, std::string_view word) {
  WordListReading reading = ReadWordList(file);
  if (!reading.status) return reading.status;
  if (std::find(reading.words.begin(), reading.words.end(), word) != reading.words.end()) return Status::Ok();
  reading.words.emplace_back(word);
  return WriteFileAtomically(file, WordListText(std::move(reading.words)));
}

std::optional<std::string> ReadProjectLanguage(const std::string& file) {
  if (!FileExists(file)) return std::nullopt;
  std::string bytes;
  if (!ReadWholeFile(file, bytes)) return std::nullopt;
  std::string_view line = Trimmed(std::string_view(bytes).substr(0, bytes.find('\n')));
  if (line.empty()) return std::nullopt;
  return std::string(line);
}

Status WriteProjectLanguage(const std::string& file, std::string_view language) {
  return WriteFileAtomically(file, std::string(language) + '\n');
}

}  // namespace tellwright
