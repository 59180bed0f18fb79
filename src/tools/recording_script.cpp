#include "tools/recording_script.h"

#include <initializer_list>

#include "base/utf8_text.h"
#include "export/document_index.h"
#include "lint/lint_run.h"
#include "tools/dialogue_stats.h"
#include "tools/string_keys.h"

namespace tellwright {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRowEnd = "\r\n";

void AppendRow(std::string& out, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) out += ',';
    out += CsvField(field);
    first = false;
  }
  out += kRowEnd;
}

class RecordingScript {
 public:
  RecordingScript(const DialogueDocument& document, const FolderLookup& listFolder)
      : document_(document),
        options_{.checkSoundFiles = true, .listFolder = listFolder},
        sounds_(document, options_),
        entities_(document.characters),
        blocks_(document) {}

  std::string run() {
    out_ = kByteOrderMark;
    AppendRow(out_, {"Branch", "Line", "Response", "Character", "Entity", "Key", "Text", "Sound file", "Words",
                     "Sound file exists"});
    for (int b = 0; b < BranchesToVisit(document_); ++b) {
      const DialogueBranch& branch = document_.branch(b);
      for (int l = 0; l < LinesToVisit(branch); ++l) line(branch, l);
    }
    return std::move(out_);
  }

 private:
  void line(const DialogueBranch& branch, int l) {
    const DialogueLine& line = branch.lines[l];
    LineKind kind = KindOf(line.kind);
    if (kind == LineKind::Talk) {
      std::string_view exists;
      if (!line.soundFile.empty() && sounds_.active()) exists = sounds_.exists(line.soundFile) ? "yes" : "no";
      spoken(branch, l, "", line.character, line.text, line.soundFile, exists);
    } else if (kind == LineKind::Response) {
      const ResponseBlock* block = blocks_.firstWithId(line.blockId);
      if (!block) return;
      for (int r = 0, used = block->usedResponses(); r < used; ++r) {
        const Response& response = block->responses[r];
        if (FlagSet(response.sayResponse))
          spoken(branch, l, std::to_string(r + 1), line.character, response.text, "", "");
      }
    }
  }

  // One row per entity that says the text, or one without an entity.
  void spoken(const DialogueBranch& branch, int l, const std::string& response, const std::string& realName,
              const std::string& text, const std::string& sound, std::string_view exists) {
    const KeyedText keyed = SplitKeyedText(text);
    const std::string lineNumber = std::to_string(l + 1);
    const std::string words = std::to_string(CountWords(keyed.text));
    const std::string branchName = Cp1252ToUtf8(branch.name);
    const std::string character = Cp1252ToUtf8(realName);
    const std::string key = Cp1252ToUtf8(keyed.key);
    const std::string said = Cp1252ToUtf8(keyed.text);
    const std::string soundFile = Cp1252ToUtf8(sound);
    auto row = [&](std::string_view entity) {
      AppendRow(out_, {branchName, lineNumber, response, character, Cp1252ToUtf8(entity), key, said, soundFile, words,
                       exists});
    };
    const std::vector<std::string_view>& entities = entities_.entitiesOf(realName);
    if (entities.empty()) row("");
    for (std::string_view entity : entities) row(entity);
  }

  const DialogueDocument& document_;
  LintOptions options_;
  lint::SoundFiles sounds_;
  CharacterIndex entities_;
  BlockIndex blocks_;
  std::string out_;
};

}  // namespace

std::string WriteRecordingScript(const DialogueDocument& document, const FolderLookup& listFolder) {
  return RecordingScript(document, listFolder).run();
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace tellwright
