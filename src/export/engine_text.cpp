#include "export/engine_text.h"

#include "base/cp1252_case.h"

namespace tellwright {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view WithoutBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// What an escape stands for; nothing for a character that escapes nothing.
std::optional<char> EscapedCharacter(char next) {
  switch (next) {
    case 'n':
      return '\n';
    case '~':
      return '~';
    case '"':
      return '"';
    default:
      return std::nullopt;
  }
}

// The text inside parentheses that enclose the whole of `text`; nothing when
// the first parenthesis closes before the end, as in "(a) && (b)".
std::optional<std::string_view> InsideParentheses(std::string_view text) {
  if (text.size() < 2 || text.front() != '(' || text.back() != ')') return std::nullopt;
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inString) {
      if (c == '~')
        ++i;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0 && i + 1 != text.size()) {
      return std::nullopt;
    }
  }
  return text.substr(1, text.size() - 2);
}

// A number literal: digits, with a sign and a fractional part or without;
// true when it is not zero.
std::optional<bool> NumberValue(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() || (point != std::string_view::npos && fraction.empty())) return std::nullopt;
  bool nonZero = false;
  for (std::string_view digits : {whole, fraction}) {
    for (char c : digits) {
      if (!IsDigit(c)) return std::nullopt;
      nonZero = nonZero || c != '0';
    }
  }
  return nonZero;
}

// A string literal that is the whole text.
std::optional<bool> StringLiteralValue(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
  std::string_view inside = text.substr(1, text.size() - 2);
  ScriptStringScan scan = ScanScriptString(inside);
  if (scan.quote || scan.trailingTilde) return std::nullopt;
  return StringValueIsTrue(UnescapedScriptString(inside));
}

std::optional<bool> LiteralValue(std::string_view text) {
  if (text == "true") return true;
  if (text == "false" || text == "null") return false;
  if (std::optional<bool> number = NumberValue(text)) return number;
  return StringLiteralValue(text);
}

}  // namespace

ScriptStringScan ScanScriptString(std::string_view text) {
  ScriptStringScan scan;
  for (size_t i = 0; i < text.size(); ++i) {
    ++scan.length;
    if (text[i] == '"') {
      scan.quote = true;
    } else if (text[i] == '~') {
      if (i + 1 == text.size()) {
        scan.trailingTilde = true;
        break;
      }
      if (!EscapedCharacter(text[i + 1]) && scan.strayEscape.empty()) scan.strayEscape = text.substr(i, 2);
      ++i;
    }
  }
  return scan;
}

namespace {

// Reads the escapes of a script string once for every caller: `emit` gets
// each character the game sees and the offset in `text` where its character
// or escape starts.
template <typename Emit>
void ReadScriptString(std::string_view text, Emit emit) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '~' || i + 1 == text.size()) {
      emit(text[i], i);
      continue;
    }
    char next = text[i + 1];
    emit(EscapedCharacter(next).value_or(next), i);
    ++i;
  }
}

}  // namespace

std::string UnescapedScriptString(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  ReadScriptString(text, [&out](char c, size_t) { out += c; });
  return out;
}

UnescapedScriptText UnescapedScriptStringWithSource(std::string_view text) {
  UnescapedScriptText out;
  out.text.reserve(text.size());
  out.source.reserve(text.size() + 1);
  ReadScriptString(text, [&out](char c, size_t at) {
    out.text += c;
    out.source.push_back(at);
  });
  out.source.push_back(text.size());
  return out;
}

std::optional<StringTableText> SplitStringTableText(std::string_view text) {
  if (text.empty() || text.front() != '/') return std::nullopt;
  size_t end = text.find('/', 1);
  if (end == std::string_view::npos) return std::nullopt;
  return StringTableText{text.substr(1, end - 1), text.substr(end + 1)};
}

std::optional<std::string_view> StringKeyFault(std::string_view key) {
  if (key.empty()) return "the key is empty";
  if (key.find('\t') != std::string_view::npos) return "the key holds a tab";
  if (key.find_first_of("\n\r") != std::string_view::npos) return "the key holds a line break";
  if (key.find(' ') != std::string_view::npos) return "the key holds a blank";
  return std::nullopt;
}

std::string FoldedStringKey(std::string_view key) {
  std::string folded(key);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

std::optional<bool> ConstantConditionValue(std::string_view condition) {
  bool negated = false;
  for (std::string_view text = WithoutBlanks(condition);; text = WithoutBlanks(text)) {
    if (!text.empty() && text.front() == '!') {
      negated = !negated;
      text.remove_prefix(1);
    } else if (std::optional<std::string_view> inside = InsideParentheses(text)) {
      text = *inside;
    } else {
      std::optional<bool> value = LiteralValue(text);
      if (!value) return std::nullopt;
      return *value != negated;
    }
  }
}

bool StringValueIsTrue(std::string_view value) {
  return EqualsIgnoringCase1252(value, "1") || EqualsIgnoringCase1252(value, "yes") ||
         EqualsIgnoringCase1252(value, "true");
}

}  // namespace tellwright
