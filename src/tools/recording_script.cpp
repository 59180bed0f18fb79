#include "tools/recording_script.h"

#include <initializer_list>
#include <string>

#include "base/utf8_text.h"
#include "export/document_index.h"
#include "lint/lint_run.h"
#include "tools/dialogue_stats.h"
#include "tools/string_keys.h"

namespace tellwright {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRowEnd = "\r\n";

// A plain loop: find_first_of calls memchr on the set for every byte.
bool NeedsQuotes(std::string_view text) {
  for (char c : text)
    if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
  return false;
}

void AppendCsvField(OutputBuffer& out, std::string_view text) {
  if (!NeedsQuotes(text)) return out.append(text);
  out.append('"');
  for (size_t at = 0;;) {
    size_t quote = text.find('"', at);
    out.append(text.substr(at, quote - at));
    if (quote == std::string_view::npos) break;
    out.append(std::string_view("\"\""));
    at = quote + 1;
  }
  out.append('"');
}

class RecordingScript {
 public:
  RecordingScript(const DialogueDocument& document, const FolderLookup& listFolder, OutputBuffer& out)
      : document_(document),
        options_{.checkSoundFiles = true, .listFolder = listFolder},
        sounds_(document, options_),
        entities_(document.characters),
        blocks_(document),
        out_(out) {}

  void run() {
    out_.append(kByteOrderMark);
    row({"Branch", "Line", "Response", "Character", "Entity", "Key", "Text", "Sound file", "Words",
         "Sound file exists"});
    for (int b = 0; b < BranchesToVisit(document_); ++b) {
      const DialogueBranch& branch = document_.branch(b);
      branchName_ = Cp1252ToUtf8(branch.name);
      for (int l = 0; l < LinesToVisit(branch); ++l) line(branch, l);
    }
    out_.flush();
  }

 private:
  void line(const DialogueBranch& branch, int l) {
    const DialogueLine& line = branch.lines[l];
    LineKind kind = KindOf(line.kind);
    if (kind == LineKind::Talk) {
      std::string_view exists;
      if (!line.soundFile.empty() && sounds_.active()) exists = sounds_.exists(line.soundFile) ? "yes" : "no";
      spoken(l, "", line.character, line.text, line.soundFile, exists);
    } else if (kind == LineKind::Response) {
      const ResponseBlock* block = blocks_.firstWithId(line.blockId);
      if (!block) return;
      for (int r = 0, used = block->usedResponses(); r < used; ++r) {
        const Response& response = block->responses[r];
        if (FlagSet(response.sayResponse)) spoken(l, std::to_string(r + 1), line.character, response.text, "", "");
      }
    }
  }

  // One row per entity that says the text, or one without an entity. The
  // document's texts are Windows-1252; the table is UTF-8.
  void spoken(int l, const std::string& response, std::string_view realName, std::string_view text,
              std::string_view sound, std::string_view exists) {
    const KeyedText keyed = SplitKeyedText(text);
    const std::string lineNumber = std::to_string(l + 1);
    const std::string words = std::to_string(CountWords(keyed.text));
    const std::string character = Cp1252ToUtf8(realName);
    const std::string key = Cp1252ToUtf8(keyed.key);
    const std::string said = Cp1252ToUtf8(keyed.text);
    const std::string soundFile = Cp1252ToUtf8(sound);
    auto one = [&](std::string_view entity) {
      row({branchName_, lineNumber, response, character, Cp1252ToUtf8(entity), key, said, soundFile, words, exists});
    };
    const std::vector<std::string_view>& entities = entities_.entitiesOf(realName);
    if (entities.empty()) one("");
    for (std::string_view entity : entities) one(entity);
  }

  void row(std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
      if (!first) out_.append(',');
      AppendCsvField(out_, field);
      first = false;
    }
    out_.append(kRowEnd);
    out_.endPiece();
  }

  const DialogueDocument& document_;
  LintOptions options_;
  lint::SoundFiles sounds_;
  CharacterIndex entities_;
  BlockIndex blocks_;
  OutputBuffer& out_;
  std::string branchName_;  // the branch being listed, in UTF-8
};

}  // namespace

void WriteRecordingScript(const DialogueDocument& document, OutputBuffer& out, const FolderLookup& listFolder) {
  RecordingScript(document, listFolder, out).run();
}

std::string WriteRecordingScript(const DialogueDocument& document, const FolderLookup& listFolder) {
  OutputBuffer out;
  WriteRecordingScript(document, out, listFolder);
  return out.take();
}

std::string CsvField(std::string_view text) {
  OutputBuffer field;
  AppendCsvField(field, text);
  return field.take();
}

}  // namespace tellwright
