#include "spelling/spell_checker.h"

#include <hunspell/hunspell.hxx>

#include <cstdio>
#include <optional>

#include "base/cp1252.h"
#include "base/utf8_text.h"
#include "os/atomic_write.h"
#include "os/file_names.h"

namespace tellwright {

namespace {

// How a dictionary writes its words. Windows-1252 agrees with ISO 8859-1 on
// every letter; the other 8-bit sets would need a table of their own.
enum class DictionaryEncoding { Utf8, Latin1 };

std::optional<DictionaryEncoding> EncodingNamed(std::string name) {
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (name == "UTF-8" || name == "UTF8") return DictionaryEncoding::Utf8;
  if (name == "ISO8859-1" || name == "ISO-8859-1" || name == "ISO8859-15" || name == "ISO-8859-15" ||
      name == "CP1252" || name == "WINDOWS-1252")
    return DictionaryEncoding::Latin1;
  return std::nullopt;
}

}  // namespace

struct SpellChecker::Engine {
  Hunspell hunspell;
  DictionaryEncoding encoding;

  Engine(const InstalledDictionary& dictionary, DictionaryEncoding encoding)
      : hunspell(dictionary.affFile.c_str(), dictionary.dicFile.c_str()), encoding(encoding) {}

  std::string toDictionary(std::string_view word) const {
    return encoding == DictionaryEncoding::Utf8 ? Cp1252ToUtf8(word) : std::string(word);
  }
  std::optional<std::string> fromDictionary(const std::string& word) const {
    if (encoding == DictionaryEncoding::Utf8) return Utf8ToCp1252(word);
    return word;
  }
};

// The encoding is read from the .aff file's SET line before Hunspell loads
// the dictionary, so that one this checker cannot speak to is refused with
// a reason instead of answering every question wrongly.
SpellCheckerOpening SpellChecker::Open(const InstalledDictionary& dictionary) {
  std::string aff;
  if (Status status = ReadWholeFile(dictionary.affFile, aff); !status) return {status, nullptr};
  if (std::FILE* dic = OpenFile(dictionary.dicFile, "rb"))
    std::fclose(dic);
  else
    return {Status::Error(dictionary.dicFile + ": cannot open the dictionary's word list"), nullptr};
  std::string encodingName = "ISO8859-1";  // Hunspell's own default
  for (size_t at = 0; at < aff.size();) {
    size_t end = aff.find('\n', at);
    if (end == std::string::npos) end = aff.size();
    std::string_view line(aff.data() + at, end - at);
    if (line.substr(0, 4) == "SET " || line.substr(0, 4) == "SET\t") {
      std::string_view name = line.substr(4);
      while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
      while (!name.empty() && (name.back() == '\r' || name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
      encodingName = std::string(name);
      break;
    }
    at = end + 1;
  }
  std::optional<DictionaryEncoding> encoding = EncodingNamed(encodingName);
  if (!encoding)
    return {Status::Error(dictionary.affFile + ": the dictionary is written in " + encodingName +
                          ", which the spelling check cannot read (UTF-8 and ISO8859-1 it can)"),
            nullptr};
  auto engine = std::make_unique<Engine>(dictionary, *encoding);
  return {Status::Ok(), std::unique_ptr<SpellChecker>(new SpellChecker(dictionary.language, std::move(engine)))};
}

SpellChecker::SpellChecker(std::string language, std::unique_ptr<Engine> engine)
    : language_(std::move(language)), engine_(std::move(engine)) {}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::knows(std::string_view word) const {
  std::string asked = engine_->toDictionary(word);
  std::lock_guard<std::mutex> lock(mutex_);
  return engine_->hunspell.spell(asked);
}

std::vector<std::string> SpellChecker::suggestions(std::string_view word, size_t most) const {
  std::string asked = engine_->toDictionary(word);
  std::vector<std::string> offered;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    offered = engine_->hunspell.suggest(asked);
  }
  std::vector<std::string> result;
  for (const std::string& suggestion : offered) {
    if (result.size() >= most) break;
    if (std::optional<std::string> written = engine_->fromDictionary(suggestion)) result.push_back(std::move(*written));
  }
  return result;
}

}  // namespace tellwright
