#pragma once

#include <cctype>
#include <initializer_list>
#include <string>
#include <string_view>

#include "document/dialogue_document.h"

namespace tellwright::testing {

inline DialogueLine Talk(std::string character, std::string text, std::string soundFile = "") {
  return {std::string(kTalkline), std::move(character), std::move(text), std::move(soundFile), 0};
}
inline DialogueLine Code(std::string text) { return {std::string(kCodeline), "", std::move(text), "", 0}; }
inline DialogueLine Remark(std::string text) { return {std::string(kRemark), "", std::move(text), "", 0}; }
inline DialogueLine BlockLine(std::string character, int32_t blockId) {
  return {std::string(kResponseblock), std::move(character), "", "", blockId};
}

struct ResponseFields {
  std::string text;
  int32_t visibility = kAlways;
  int32_t leaveLoop = 0;
  int32_t sayResponse = 0;
  std::string linkBranch = "";
  std::string conditions = "";
};

inline Response MakeResponse(const ResponseFields& fields) {
  return {fields.text, fields.conditions, fields.linkBranch, fields.visibility, fields.leaveLoop, fields.sayResponse};
}

// Fills branch `index` (counting it in use) with `lines`.
inline DialogueBranch& SetBranch(DialogueDocument& document, int index, std::string name,
                                 std::initializer_list<DialogueLine> lines = {}) {
  if (index > document.lastBranchIndex) document.lastBranchIndex = index;
  DialogueBranch& branch = document.editBranch(index);
  branch.name = std::move(name);
  branch.lineCount = 0;
  for (const DialogueLine& line : lines) branch.lines.slot(branch.lineCount++) = line;
  return branch;
}

inline ResponseBlock& AddBlock(DialogueDocument& document, int slot, int32_t id,
                               std::initializer_list<ResponseFields> responses) {
  ResponseBlock& block = document.responseBlocks.slot(slot);
  block.id = id;
  int r = 0;
  for (const ResponseFields& fields : responses) block.responses.slot(r++) = MakeResponse(fields);
  return block;
}

// One branch Start: Guy says Hello, then a block of two responses ("Bye"
// said and leaving, "Who are you?" once, linking to Intro). Guy is played by
// the entity guy.
inline DialogueDocument WorkedExample() {
  DialogueDocument document;
  document.characters.push_back({"Guy", "guy"});
  SetBranch(document, 0, "Start", {Talk("Guy", "Hello"), BlockLine("Guy", 1)});
  AddBlock(document, 1, 1,
           {{.text = "Bye", .leaveLoop = 1, .sayResponse = 1},
            {.text = "Who are you?", .visibility = kOnce, .linkBranch = "Intro"}});
  return document;
}

}  // namespace tellwright::testing

namespace tellwright::testing {

// A table case's title as a test name: letters and digits, the rest "_".
inline std::string CaseName(std::string_view title) {
  std::string name;
  for (char c : title) name += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  return name;
}

}  // namespace tellwright::testing
