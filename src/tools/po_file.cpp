#include "tools/po_file.h"

#include <algorithm>
#include <optional>

#include "base/utf8_text.h"

namespace tellwright {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// ---- reading ----------------------------------------------------------------

std::string_view WithoutBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Appends what the escape at text[i] (the character after the backslash)
// stands for and leaves i at its last character; false for no escape.
bool ReadEscape(std::string_view text, size_t& i, std::string& out) {
  switch (char e = text[i]) {
    case 'n': out += '\n'; return true;
    case 't': out += '\t'; return true;
    case 'r': out += '\r'; return true;
    case 'a': out += '\a'; return true;
    case 'b': out += '\b'; return true;
    case 'f': out += '\f'; return true;
    case 'v': out += '\v'; return true;
    case '"': case '\\': out += e; return true;
    case 'x': {
      int value = 0, digits = 0;
      for (; digits < 2 && i + 1 < text.size() && HexValue(text[i + 1]) >= 0; ++digits)
        value = value * 16 + HexValue(text[++i]);
      out += static_cast<char>(value);
      return digits > 0;
    }
    default: {
      if (e < '0' || e > '7') return false;
      int value = e - '0';
      for (int digits = 1; digits < 3 && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7'; ++digits)
        value = value * 8 + (text[++i] - '0');
      out += static_cast<char>(value);
      return true;
    }
  }
}

// The contents of the quoted PO strings `text` holds, one after the other
// and joined, their escapes read; nothing when it holds no such strings.
std::optional<std::string> QuotedString(std::string_view text) {
  text = WithoutBlanks(text);
  if (text.empty()) return std::nullopt;
  std::string out;
  while (!text.empty()) {
    if (text.front() != '"') return std::nullopt;
    size_t i = 1;
    for (; i < text.size() && text[i] != '"'; ++i) {
      char c = text[i];
      if (c != '\\') {
        out += c;
        continue;
      }
      if (++i == text.size()) return std::nullopt;
      if (!ReadEscape(text, i, out)) return std::nullopt;
    }
    if (i == text.size()) return std::nullopt;  // no closing quote
    text = WithoutBlanks(text.substr(i + 1));
  }
  return out;
}

// The words of a "#:" line.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  size_t at = 0;
  while (true) {
    at = text.find_first_not_of(" \t", at);
    if (at == std::string_view::npos) break;
    size_t end = text.find_first_of(" \t", at);
    words.emplace_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

class PoReader {
 public:
  explicit PoReader(std::string_view bytes) : bytes_(bytes) {
    if (bytes_.starts_with(kByteOrderMark)) bytes_.remove_prefix(kByteOrderMark.size());
  }

  PoRead read() {
    while (!bytes_.empty() && result_.status.ok) {
      size_t end = bytes_.find('\n');
      std::string_view line = bytes_.substr(0, end);
      bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
      ++number_;
      readLine(WithoutBlanks(line));
    }
    if (result_.status.ok) finishEntry();
    if (result_.status.ok && target_ != Target::None) fail("the file ends before the last entry's msgstr", number_);
    if (result_.status.ok) decodeCharset();
    return std::move(result_);
  }

 private:
  enum class Target { None, Context, Id, IdPlural, Str, OtherStr };

  void readLine(std::string_view line) {
    if (line.empty()) return;
    if (line.front() == '#') return comment(line);
    if (line.front() == '"') return continuation(line);
    size_t blank = line.find_first_of(" \t");
    std::string_view keyword = line.substr(0, blank);
    std::string_view rest = blank == std::string_view::npos ? std::string_view() : line.substr(blank);
    std::optional<std::string> value = QuotedString(rest);
    if (!value) return fail("a quoted string must follow " + std::string(keyword), number_);
    if (keyword == "msgctxt") {
      startIfDone();
      if (entry_.hasContext || target_ != Target::None) return fail("msgctxt must come first in its entry", number_);
      entry_.hasContext = true;
      entry_.context = std::move(*value);
      entry_.line = number_;
      target_ = Target::Context;
    } else if (keyword == "msgid") {
      startIfDone();
      if (target_ != Target::None && target_ != Target::Context) return fail("a second msgid in one entry", number_);
      entry_.id = std::move(*value);
      if (!entry_.hasContext) entry_.line = number_;
      target_ = Target::Id;
    } else if (keyword == "msgid_plural") {
      if (target_ != Target::Id) return fail("msgid_plural must follow msgid", number_);
      target_ = Target::IdPlural;
    } else if (keyword == "msgstr" || keyword == "msgstr[0]") {
      if (target_ != Target::Id && target_ != Target::IdPlural) return fail("msgstr without a msgid before it", number_);
      entry_.str = std::move(*value);
      target_ = Target::Str;
    } else if (keyword.starts_with("msgstr[")) {
      if (target_ != Target::Str && target_ != Target::OtherStr) return fail("msgstr[N] out of order", number_);
      target_ = Target::OtherStr;
    } else {
      fail("unknown keyword " + std::string(keyword), number_);
    }
  }

  void comment(std::string_view line) {
    if (line.starts_with("#~")) return;  // obsolete entries: no longer in the template
    startIfDone();
    if (line.starts_with("#,")) {
      std::string_view flags = line.substr(2);
      while (!flags.empty()) {
        size_t comma = flags.find(',');
        if (WithoutBlanks(flags.substr(0, comma)) == "fuzzy") entry_.fuzzy = true;
        flags.remove_prefix(comma == std::string_view::npos ? flags.size() : comma + 1);
      }
    } else if (line.starts_with("#:")) {
      for (std::string& word : Words(line.substr(2))) entry_.references.push_back(std::move(word));
    } else if (line.starts_with("#.")) {
      entry_.comments.emplace_back(WithoutBlanks(line.substr(2)));
    }
  }

  void continuation(std::string_view line) {
    std::optional<std::string> value = QuotedString(line);
    if (!value) return fail("a string that does not end in a double quote", number_);
    switch (target_) {
      case Target::Context: entry_.context += *value; break;
      case Target::Id: entry_.id += *value; break;
      case Target::Str: entry_.str += *value; break;
      case Target::IdPlural:
      case Target::OtherStr: break;
      case Target::None: fail("a string outside an entry", number_);
    }
  }

  // A comment or keyword after an entry's msgstr starts the next entry.
  void startIfDone() {
    if (target_ == Target::Str || target_ == Target::OtherStr) finishEntry();
  }

  void finishEntry() {
    if (target_ != Target::Str && target_ != Target::OtherStr) return;
    if (!entry_.hasContext && entry_.id.empty()) {
      result_.file.header = std::move(entry_.str);
      result_.file.headerFuzzy = entry_.fuzzy;
    }
    else
      result_.file.entries.push_back(std::move(entry_));
    entry_ = PoEntry();
    target_ = Target::None;
  }

  void fail(std::string message, int line) { result_.status = Status::Error(std::move(message), line); }

  // The charset the header names, in lower case; "utf-8" when it names none.
  std::string charset() const {
    const std::string& header = result_.file.header;
    size_t at = header.find("charset=");
    if (at == std::string::npos) return "utf-8";
    at += 8;
    size_t end = header.find_first_of(" ;\n", at);
    std::string name = header.substr(at, end == std::string::npos ? std::string::npos : end - at);
    for (char& c : name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
  }

  void decodeCharset() {
    std::string name = charset();
    if (name == "utf-8" || name == "utf8" || name == "charset" || name == "ascii" || name == "us-ascii")
      return checkUtf8();
    if (name != "windows-1252" && name != "cp1252" && name != "iso-8859-1" && name != "latin1")
      return fail("the file's charset is " + name + "; save it as UTF-8", 0);
    for (PoEntry& entry : result_.file.entries)
      for (std::string* text : {&entry.context, &entry.id, &entry.str}) *text = Cp1252ToUtf8(*text);
  }

  void checkUtf8() {
    for (const PoEntry& entry : result_.file.entries)
      for (const std::string* text : {&entry.context, &entry.id, &entry.str})
        if (!IsUtf8(*text)) return fail("the entry holds bytes that are no UTF-8", entry.line);
  }

  std::string_view bytes_;
  int number_ = 0;
  PoRead result_;
  PoEntry entry_;
  Target target_ = Target::None;
};

// ---- writing ----------------------------------------------------------------

void AppendEscaped(std::string& out, std::string_view text) {
  static const char kOctal[] = "01234567";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\a': out += "\\a"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\v': out += "\\v"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += '\\';
          out += kOctal[(c >> 6) & 7];
          out += kOctal[(c >> 3) & 7];
          out += kOctal[c & 7];
        } else {
          out += c;
        }
    }
  }
}

// keyword "text", or, for a text with a line break before its end, keyword
// "" and a quoted line for each of its lines, as gettext writes them.
void AppendKeyword(std::string& out, std::string_view keyword, std::string_view text) {
  out += keyword;
  size_t lineBreak = text.find('\n');
  if (lineBreak == std::string_view::npos || lineBreak + 1 == text.size()) {
    out += " \"";
    AppendEscaped(out, text);
    out += "\"\n";
    return;
  }
  out += " \"\"\n";
  while (!text.empty()) {
    size_t end = text.find('\n');
    end = end == std::string_view::npos ? text.size() : end + 1;
    out += '"';
    AppendEscaped(out, text.substr(0, end));
    out += "\"\n";
    text.remove_prefix(end);
  }
}

void AppendEntry(std::string& out, const PoEntry& entry) {
  for (const std::string& comment : entry.comments) out += "#. " + comment + "\n";
  if (!entry.references.empty()) {
    out += "#:";
    for (const std::string& reference : entry.references) out += " " + reference;
    out += '\n';
  }
  if (entry.fuzzy) out += "#, fuzzy\n";
  if (entry.hasContext) AppendKeyword(out, "msgctxt", entry.context);
  AppendKeyword(out, "msgid", entry.id);
  AppendKeyword(out, "msgstr", entry.str);
}

std::string Reference(const DialogueDocument& document, const ProblemPlace& place) {
  return Cp1252ToUtf8(document.branch(place.branch).name) + ":" + std::to_string(place.line + 1);
}

// Who says it, for the translator: "Guy", "Guy, response 2", "response 2".
std::string Speaker(const KeyableText& use) {
  std::string speaker = Cp1252ToUtf8(use.character);
  if (!use.response) return speaker;
  return (speaker.empty() ? "" : speaker + ", ") + "response " + std::to_string(use.place.response + 1);
}

// The branch a reference "Branch:Line" names.
std::string_view BranchOf(std::string_view reference) { return reference.substr(0, reference.rfind(':')); }

}  // namespace

PoRead ReadPoFile(std::string_view bytes) { return PoReader(bytes).read(); }

std::string WritePoFile(const PoFile& file) {
  std::string out;
  if (file.headerFuzzy) out += "#, fuzzy\n";
  AppendKeyword(out, "msgid", "");
  AppendKeyword(out, "msgstr", file.header);
  for (const PoEntry& entry : file.entries) {
    out += '\n';
    AppendEntry(out, entry);
  }
  return out;
}

PoFile PoTemplate(const DialogueDocument& document, const BaseStrings& strings, std::string_view projectName) {
  PoFile file;
  file.headerFuzzy = true;
  file.header = "Project-Id-Version: " + std::string(projectName) +
                "\n"
                "PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\n"
                "Last-Translator: FULL NAME <EMAIL@ADDRESS>\n"
                "Language-Team: LANGUAGE <LL@li.org>\n"
                "Language: \n"
                "MIME-Version: 1.0\n"
                "Content-Type: text/plain; charset=UTF-8\n"
                "Content-Transfer-Encoding: 8bit\n"
                "X-Generator: Tellwright\n";
  for (const BaseString& string : strings.strings) {
    PoEntry entry;
    entry.hasContext = true;
    entry.context = string.key;
    entry.id = string.text;
    for (const KeyableText& use : string.uses) {
      std::string speaker = Speaker(use);
      if (!speaker.empty() && std::find(entry.comments.begin(), entry.comments.end(), speaker) == entry.comments.end())
        entry.comments.push_back(std::move(speaker));
      entry.references.push_back(Reference(document, use.place));
    }
    file.entries.push_back(std::move(entry));
  }
  return file;
}

PoImport TableFromPo(const PoFile& file, TableEncoding encoding) {
  PoImport result;
  StringTableWriter table(encoding);
  std::string branch;
  for (const PoEntry& entry : file.entries) {
    if (!entry.hasContext) {
      ++result.withoutKey;
      continue;
    }
    if (entry.str.empty()) {
      ++result.untranslated;
      continue;
    }
    if (entry.fuzzy) {
      ++result.fuzzy;
      continue;
    }
    if (!TableCanHold(encoding, entry.context) || !TableCanHold(encoding, entry.str)) {
      result.status = Status::Error(
          "the translation of \"" + entry.context + "\" holds a character that Windows-1252 does not have; write the "
          "table in UTF-8",
          entry.line);
      return result;
    }
    if (!entry.references.empty() && BranchOf(entry.references.front()) != branch) {
      branch = BranchOf(entry.references.front());
      table.comment(branch);
    }
    table.entry(entry.context, entry.str);
    ++result.written;
  }
  result.table = table.take();
  return result;
}

}  // namespace tellwright
