#include "tools/string_table.h"

#include <unordered_map>

#include "base/utf8_text.h"
#include "export/engine_text.h"

namespace tellwright {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// Valid UTF-8 with at least one character beyond ASCII: Windows-1252 text
// is that only by a rare chance ("Ã©" and the like).
bool LooksLikeUtf8(std::string_view text) {
  bool beyondAscii = false;
  for (char c : text) beyondAscii = beyondAscii || static_cast<unsigned char>(c) >= 0x80;
  return beyondAscii && IsUtf8(text);
}

std::string LineBreaksRead(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '|') c = '\n';
  return out;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

class TableReader {
 public:
  explicit TableReader(std::string_view bytes) : bytes_(bytes) {
    if (bytes_.starts_with(kByteOrderMark)) {
      bytes_.remove_prefix(kByteOrderMark.size());
      table_.encoding = TableEncoding::Utf8;
    }
  }

  StringTable read() {
    int number = 0;
    while (!bytes_.empty()) {
      size_t end = bytes_.find('\n');
      std::string_view line = bytes_.substr(0, end);
      bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
      ++number;
      bool cut = true;
      if (line.ends_with('\r')) {
        line.remove_suffix(1);
        cut = false;
      }
      if (!line.empty() && line.front() != ';') entry(line, number, cut);
    }
    return std::move(table_);
  }

 private:
  void entry(std::string_view line, int number, bool cut) {
    size_t separator = line.find('\t');
    if (separator == std::string_view::npos) separator = line.find(' ');
    if (separator == std::string_view::npos) {
      note(TableNote::kNoSeparator, number, "", "the line has neither a tab nor a blank after its key, so the engine skips it");
      return;
    }
    std::string key = decoded(line.substr(0, separator), number);
    std::string text = LineBreaksRead(decoded(line.substr(separator + 1), number));
    if (key.empty()) {
      note(TableNote::kEmptyKey, number, "", "the line starts with its separator: the entry has no key");
      return;
    }
    if (cut) {
      note(TableNote::kCut, number, key,
           "the entry " + Quoted(key) +
               " would be cut: its line ends without CR, so the engine drops its last character (save the file with "
               "CR LF line ends)");
    }
    std::string folded = FoldedStringKey(key);
    auto [first, isNew] = firstLine_.try_emplace(folded, number);
    if (!isNew) {
      note(TableNote::kDuplicate, number, key,
           "Duplicate definition of string " + Quoted(key) + " (first on line " + std::to_string(first->second) +
               "): the game keeps this later entry");
    }
    table_.entries.push_back({std::move(key), std::move(text), number, cut});
  }

  std::string decoded(std::string_view bytes, int number) {
    if (table_.encoding == TableEncoding::Windows1252) {
      if (!looksUtf8Noted_ && LooksLikeUtf8(bytes)) {
        looksUtf8Noted_ = true;
        note(TableNote::kLooksUtf8, number, "",
             "the table has no UTF-8 byte-order mark, but this line looks like UTF-8: the game reads it as "
             "Windows-1252 and shows its accents wrongly (save the table as UTF-8 with byte-order mark)");
      }
      return Cp1252ToUtf8(bytes);
    }
    if (!IsUtf8(bytes) && !badUtf8Noted_) {
      badUtf8Noted_ = true;
      note(TableNote::kBadUtf8, number, "",
           "the table starts with the UTF-8 byte-order mark, but this line holds bytes that are no UTF-8: the game "
           "shows them wrongly");
    }
    return std::string(bytes);
  }

  void note(TableNote::Kind kind, int line, std::string key, std::string message) {
    table_.notes.push_back({kind, line, std::move(key), std::move(message)});
  }

  std::string_view bytes_;
  StringTable table_;
  std::unordered_map<std::string, int> firstLine_;  // folded key -> its first line
  bool badUtf8Noted_ = false;
  bool looksUtf8Noted_ = false;
};

}  // namespace

const StringTableEntry* StringTable::find(std::string_view key) const {
  std::string folded = FoldedStringKey(key);
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
    if (FoldedStringKey(entry->key) == folded) return &*entry;
  return nullptr;
}

StringTable ReadStringTable(std::string_view bytes) { return TableReader(bytes).read(); }

std::string ShownTableText(const StringTableEntry& entry) {
  std::string text = entry.text;
  if (!entry.cut || text.empty()) return text;
  // Back over the continuation bytes of a UTF-8 character too.
  size_t last = text.size() - 1;
  while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
  text.erase(last);
  return text;
}

StringTableWriter::StringTableWriter(TableEncoding encoding) : encoding_(encoding) {
  if (encoding_ == TableEncoding::Utf8) out_ = kByteOrderMark;
}

void StringTableWriter::comment(std::string_view text) {
  out_ += "; ";
  append(text);
  out_ += kLineEnd;
}

void StringTableWriter::entry(std::string_view key, std::string_view text) {
  append(key);
  out_ += '\t';
  std::string written(text);
  for (char& c : written)
    if (c == '\n') c = '|';
  append(written);
  out_ += kLineEnd;
}

void StringTableWriter::append(std::string_view utf8) {
  if (encoding_ == TableEncoding::Utf8)
    out_ += utf8;
  else
    out_ += Utf8ToCp1252(utf8).value_or(std::string(utf8));
}

bool TableCanHold(TableEncoding encoding, std::string_view utf8) {
  return encoding == TableEncoding::Utf8 || Utf8ToCp1252(utf8).has_value();
}

StringLookup TableLookup(const StringTable& table, TableEncoding textsIn) {
  return [&table, textsIn](std::string_view key) -> std::optional<std::string> {
    const StringTableEntry* entry = table.find(key);
    if (!entry) return std::nullopt;
    std::string shown = ShownTableText(*entry);
    if (textsIn == TableEncoding::Utf8) return shown;
    return Utf8ToCp1252Replacing(shown);
  };
}

DialogueDocument DocumentInUtf8(const DialogueDocument& document) {
  DialogueDocument copy = document;
  auto convert = [](Text& text) { text = Cp1252ToUtf8(text); };
  for (int b = 0; b < copy.branches.stored(); ++b) {
    DialogueBranch& branch = copy.editBranch(b);
    convert(branch.name);
    for (int l = 0; l < branch.lines.stored(); ++l) {
      DialogueLine& line = branch.lines.slot(l);
      for (Text* text : {&line.character, &line.text, &line.soundFile}) convert(*text);
    }
  }
  for (int slot = 0; slot < copy.responseBlocks.stored(); ++slot) {
    ResponseBlock& block = copy.responseBlocks.slot(slot);
    for (int r = 0; r < block.responses.stored(); ++r) {
      Response& response = block.responses.slot(r);
      for (Text* text : {&response.text, &response.conditions, &response.linkBranch}) convert(*text);
    }
  }
  for (Character& character : copy.characters) {
    convert(character.realName);
    convert(character.entityName);
  }
  return copy;
}

}  // namespace tellwright
