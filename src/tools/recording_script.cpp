#include "tools/recording_script.h"

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

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

// A Windows-1252 text as a UTF-8 CSV field. Most texts are plain ASCII
// without a comma or quote, and are copied as they are.
void AppendCp1252CsvField(OutputBuffer& out, std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == ',' || c == '"' || c == '\r' || c == '\n')
      return AppendCsvField(out, Cp1252ToUtf8(text));
  }
  out.append(text);
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
    out_.append(std::string_view("Branch,Line,Response,Character,Entity,Key,Text,Sound file,Words,Sound file exists"));
    out_.append(kRowEnd);
    for (int b = 0; b < BranchesToVisit(document_); ++b) {
      const DialogueBranch& branch = document_.branch(b);
      OutputBuffer name;
      AppendCp1252CsvField(name, branch.name);
      branchField_ = name.take();
      for (int l = 0; l < LinesToVisit(branch); ++l) line(branch, l);
    }
    out_.flush();
  }

 private:
  // What every row of line `l` starts with: its branch and line number.
  void rowStart(int l) {
    out_.append(branchField_);
    out_.append(',');
    out_.append(l + 1);
    out_.append(',');
  }

  void line(const DialogueBranch& branch, int l) {
    const DialogueLine& line = branch.lines[l];
    LineKind kind = KindOf(line.kind);
    if (kind == LineKind::Talk) {
      std::string_view exists;
      if (!line.soundFile.empty() && sounds_.active()) exists = sounds_.exists(line.soundFile) ? "yes" : "no";
      const KeyedText keyed = SplitKeyedText(line.text);
      const int words = CountWords(keyed.text);
      forEachEntity(line.character, [&](std::string_view entity) {
        rowStart(l);
        appendRowRest(out_, 0, line.character, entity, keyed, words, line.soundFile, exists);
        out_.endPiece();
      });
    } else if (kind == LineKind::Response) {
      const ResponseBlock* block = blocks_.firstWithId(line.blockId);
      if (!block) return;
      for (const std::string& rest : blockRows(*block, line.character)) {
        rowStart(l);
        out_.append(rest);
        out_.endPiece();
      }
    }
  }

  // One row per character entity with this real name, or one without an
  // entity when no character has it.
  template <typename Row>
  void forEachEntity(std::string_view realName, const Row& row) {
    const std::vector<std::string_view>& entities = entities_.entitiesOf(realName);
    if (entities.empty()) row("");
    for (std::string_view entity : entities) row(entity);
  }

  // The rows of a block's said responses from their Response field on. They
  // are the same wherever a line with this character runs the block, so a
  // block run by many lines is made into rows once.
  const std::vector<std::string>& blockRows(const ResponseBlock& block, const Text& character) {
    auto [at, isNew] = blockRows_.try_emplace({&block, character});
    std::vector<std::string>& rows = at->second;
    if (!isNew) return rows;
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      if (!FlagSet(response.sayResponse)) continue;
      const KeyedText keyed = SplitKeyedText(response.text);
      const int words = CountWords(keyed.text);
      forEachEntity(character, [&](std::string_view entity) {
        OutputBuffer rest;
        appendRowRest(rest, r + 1, character, entity, keyed, words, "", "");
        rows.push_back(rest.take());
      });
    }
    return rows;
  }

  // A row from its Response field on (`response` 0: none) to its end. The
  // document's texts are Windows-1252; the table is UTF-8.
  static void appendRowRest(OutputBuffer& out, int response, std::string_view realName, std::string_view entity,
                            const KeyedText& keyed, int words, std::string_view sound, std::string_view exists) {
    if (response > 0) out.append(response);
    for (std::string_view field : {realName, entity, keyed.key, keyed.text, sound}) {
      out.append(',');
      AppendCp1252CsvField(out, field);
    }
    out.append(',');
    out.append(words);
    out.append(',');
    out.append(exists);
    out.append(kRowEnd);
  }

  const DialogueDocument& document_;
  LintOptions options_;
  lint::SoundFiles sounds_;
  CharacterIndex entities_;
  BlockIndex blocks_;
  OutputBuffer& out_;
  std::string branchField_;  // the branch being listed, as its CSV field
  // The rows of each block made so far, by block and speaking character.
  std::map<std::pair<const ResponseBlock*, Text>, std::vector<std::string>> blockRows_;
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
