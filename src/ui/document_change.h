#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "document/dialogue_document.h"
#include "editing/edit_result.h"
#include "history/document_delta.h"

namespace tellwright {

// The parts of the document a change may alter: what the window shows
// afresh after it.
enum DocumentPart : unsigned {
  kPartLines = 1,        // the lines of the current branch
  kPartShownBranch = 2,  // which branch is current
  kPartBranchNames = 4,  // branch names (and the links that follow them)
  kPartCharacters = 8,
  kPartProjectPath = 16,
  kPartBlocks = 32,  // response blocks (the responseblock editor shows them)
};

// One change of the document as a command asks for it. Every change runs
// the same road (EditorSession::apply).
struct DocumentChange {
  QString name;    // what the user did, as a menu would name it: "Insert Talkline"
  unsigned parts;  // DocumentPart flags
  std::function<EditResult(DialogueDocument&)> apply;
  // Loading a character list changes the cast without marking the project
  // as changed.
  bool setsChangedFlag = true;
  // With kPartBlocks: the one block slot the change may alter, or -1 when
  // it may alter any (as a new responseblock line or a rename does).
  int blockSlot = -1;
  // What the change may alter, for its undo step, when the parts above do
  // not say it closely enough (a replace across the whole dialogue).
  std::optional<ChangeScope> scope = std::nullopt;
};

}  // namespace tellwright
