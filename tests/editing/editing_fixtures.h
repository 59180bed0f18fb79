#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "document/dialogue_document.h"
#include "editing/row_selection.h"

namespace tellwright::testing {

// "a b c" -> {"a", "b", "c"}; "" -> {}.
inline std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word == "_" ? "" : word);
  return words;
}

inline DialogueLine Line(std::string kind, std::string text, std::string character = "", int32_t blockId = 0) {
  return DialogueLine{std::move(kind), std::move(character), std::move(text), "", blockId};
}

// A document whose current branch 0 holds one talkline per word of `texts`
// (the word "_" leaves that slot free), with lineCount the number of words.
inline DialogueDocument WithLines(const std::string& texts) {
  DialogueDocument document;
  DialogueBranch& branch = document.editBranch(0);
  std::vector<std::string> words = Words(texts);
  for (size_t i = 0; i < words.size(); ++i)
    if (!words[i].empty()) branch.lines.slot(static_cast<int>(i)) = Line("Talkline", words[i]);
  branch.lineCount = static_cast<int32_t>(words.size());
  return document;
}

// The texts of lines 0..lineCount-1 of the current branch: "_" for a free
// slot, the kind for a line without text.
inline std::string Texts(const DialogueDocument& document) {
  const DialogueBranch& branch = document.branch(document.currentBranch);
  std::string out;
  for (int i = 0; i < branch.lineCount; ++i) {
    if (i) out += ' ';
    const DialogueLine& line = branch.lines[i];
    out += line.empty() ? "_" : line.text.empty() ? line.kind : line.text;
  }
  return out;
}

// A move up or down of the selected `rows` in a list of rows "a b c ...".
struct MoveCase {
  const char* name;
  bool up;
  RowSelection rows;
  const char* expected;  // the rows' texts after the move
  std::vector<int> reselected;
};

inline DialogueBranch& CurrentLines(DialogueDocument& document) { return document.editBranch(document.currentBranch); }

}  // namespace tellwright::testing
