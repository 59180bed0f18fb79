#include "tools/base_strings.h"

#include <unordered_map>

#include "base/utf8_text.h"
#include "export/engine_text.h"

namespace tellwright {

namespace {

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// Where the project says a text, for a note: "Start, line 3, response 2: ".
std::string PlaceOf(const DialogueDocument& document, const KeyableText& use) {
  return Cp1252ToUtf8(DescribePlace(document, use.place));
}

}  // namespace

BaseStrings CollectBaseStrings(const DialogueDocument& document) {
  BaseStrings result;
  // folded key -> the strings with that key, by index
  std::unordered_map<std::string, std::vector<size_t>> byKey;
  for (KeyableText& use : ListKeyedTexts(document)) {
    std::string key = Cp1252ToUtf8(UnescapedScriptString(use.key));
    std::string text = Cp1252ToUtf8(UnescapedScriptString(use.text));
    if (std::optional<std::string_view> fault = StringKeyFault(key)) {
      result.notes.push_back({use.place, PlaceOf(document, use) + ": " + std::string(*fault) +
                                             ", which a string table cannot hold; the text is left out"});
      continue;
    }
    if (text.find('|') != std::string::npos)
      result.notes.push_back({use.place, PlaceOf(document, use) + ": the text of " + Quoted(key) +
                                             " holds '|', which the string table shows as a line break"});
    std::vector<size_t>& same = byKey[FoldedStringKey(key)];
    bool merged = false;
    for (size_t index : same) {
      if (result.strings[index].text != text) continue;
      result.strings[index].uses.push_back(std::move(use));
      merged = true;
      break;
    }
    if (merged) continue;
    if (!same.empty()) {
      const BaseString& other = result.strings[same.front()];
      result.notes.push_back({use.place, PlaceOf(document, use) + ": the key " + Quoted(key) +
                                             " also stands before another text at " +
                                             PlaceOf(document, other.uses.front()) +
                                             "; the table holds both and the game keeps the later"});
    }
    same.push_back(result.strings.size());
    result.strings.push_back({std::move(key), std::move(text), {std::move(use)}});
  }
  return result;
}

std::string WriteBaseTable(const DialogueDocument& document, const BaseStrings& strings, TableEncoding encoding) {
  StringTableWriter table(encoding);
  int branch = -1;
  for (const BaseString& string : strings.strings) {
    const ProblemPlace& place = string.uses.front().place;
    if (place.branch != branch) {
      branch = place.branch;
      table.comment(Cp1252ToUtf8(document.branch(branch).name));
    }
    table.entry(string.key, string.text);
  }
  return table.take();
}

}  // namespace tellwright
