#include "spelling/text_words.h"

#include "export/engine_text.h"

namespace tellwright {

namespace {

// A letter of Windows-1252: A-Z, a-z, the letters at 0x83, 0x8A, 0x8C, 0x8E,
// 0x9A, 0x9C, 0x9E, 0x9F and 0xAA, 0xB5, 0xBA, and the accented letters
// 0xC0-0xFF but for the multiplication and division signs.
bool IsLetter(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  switch (c) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
    case 0xAA: case 0xB5: case 0xBA:
      return true;
    default:
      return c >= 0xC0 && c != 0xD7 && c != 0xF7;
  }
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsWordPart(unsigned char c) { return IsLetter(c) || IsDigit(c); }
// The typewriter apostrophe and the typographic one (0x92).
bool IsApostrophe(unsigned char c) { return c == '\'' || c == 0x92; }

// The words of `shown` from `from` on; `source` maps each byte of `shown`
// (and its end) to the written text, or is null when the two are the same.
std::vector<TextWord> WordsOf(std::string_view shown, size_t from, const std::vector<size_t>* source) {
  std::vector<TextWord> words;
  auto at = [&](size_t index) { return source ? (*source)[index] : index; };
  auto byte = [&](size_t index) { return static_cast<unsigned char>(shown[index]); };
  size_t i = from;
  while (i < shown.size()) {
    if (!IsWordPart(byte(i))) {
      ++i;
      continue;
    }
    size_t start = i;
    bool digit = false;
    while (i < shown.size()) {
      if (IsWordPart(byte(i))) {
        digit = digit || IsDigit(byte(i));
        ++i;
      } else if (IsApostrophe(byte(i)) && i + 1 < shown.size() && IsWordPart(byte(i + 1))) {
        ++i;
      } else {
        break;
      }
    }
    if (!digit) words.push_back({at(start), at(i) - at(start), std::string(shown.substr(start, i - start))});
  }
  return words;
}

}  // namespace

std::vector<TextWord> SpokenWords(std::string_view written) {
  UnescapedScriptText shown = UnescapedScriptStringWithSource(written);
  size_t from = 0;
  if (std::optional<StringTableText> table = SplitStringTableText(shown.text))
    from = static_cast<size_t>(table->rest.data() - shown.text.data());
  return WordsOf(shown.text, from, &shown.source);
}

std::vector<TextWord> RemarkWords(std::string_view text) { return WordsOf(text, 0, nullptr); }

std::vector<std::string> NameWords(std::string_view name) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < name.size()) {
    while (i < name.size() && !IsLetter(static_cast<unsigned char>(name[i]))) ++i;
    size_t start = i;
    while (i < name.size() && IsLetter(static_cast<unsigned char>(name[i]))) ++i;
    if (i > start) words.emplace_back(name.substr(start, i - start));
  }
  return words;
}

}  // namespace tellwright
