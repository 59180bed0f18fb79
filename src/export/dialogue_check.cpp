#include "export/dialogue_check.h"

#include "base/decimal.h"
#include "export/document_index.h"

namespace tellwright {

namespace {

// The characters an engine name may not hold. Windows-1252 bytes: the one
// above ASCII is the section sign, 0xA7.
constexpr std::string_view kRestrictedCharacters[] = {
    "\"", "/", "\\", "!", "\xA7", "$", "%", "&", "(", ")", "=", "?", "+",
    "-",  "*", "#",  ".", ":",    ";", ",", "<", ">", "|", "@", "'"};

CheckResult Fault(std::string message) { return {false, std::move(message)}; }

CheckResult CheckBranchName(std::string_view name) {
  if (name.empty()) return Fault(BranchWithoutNameMessage());
  if (ContainsRestrictedCharacter(name)) return Fault(RestrictedBranchNameMessage(name));
  return {};
}

CheckResult CheckBlock(std::string_view branchName, const DialogueLine& line, const ResponseBlock& block) {
  if (!AnyResponseLeaves(block)) return Fault(EndlessLoopMessage(branchName));
  if (line.character.empty() && AnyResponseSaid(block)) return Fault(SaidByNobodyMessage(branchName));
  return {};
}

CheckResult CheckLine(std::string_view branchName, int index, const DialogueLine& line, const BlockIndex& blocks) {
  switch (KindOf(line.kind)) {
    case LineKind::Talk:
      if (line.character.empty()) return Fault(TalklineWithoutCharacterMessage(branchName, index));
      return {};
    case LineKind::Response:
      for (const ResponseBlock* block : blocks.blocksWithId(line.blockId))
        if (CheckResult result = CheckBlock(branchName, line, *block); !result) return result;
      return {};
    default:
      return {};
  }
}

}  // namespace

std::string BranchWithoutNameMessage() {
  return "There's a dialogue branch without a name. This won't work in WME/Vexa. Please give all dialogue "
         "branches a unique name.";
}

std::string RestrictedBranchNameMessage(std::string_view name) {
  return "The dialogue branch name '" + std::string(name) +
         "' contains restricted characters. Please correct the dialogue branch name and only use "
         "letters, numbers and the '_' character.";
}

std::string TalklineWithoutCharacterMessage(std::string_view branchName, int lineIndex) {
  std::string message(branchName);
  message += " - Line ";
  AppendDecimal(message, lineIndex);
  return message + ": " + TalklineWithoutCharacterFault();
}

std::string TalklineWithoutCharacterFault() { return "A talkline needs a character given to work."; }

std::string EndlessLoopMessage(std::string_view branchName) {
  return std::string(branchName) +
         " - Reponseblock: The responseblock contains no response that leaves the loop. This would "
         "lead to an endless loop.";
}

std::string SaidByNobodyMessage(std::string_view branchName) {
  return std::string(branchName) +
         " - Reponseblock: You chose to let a response be said by a character but no character is "
         "given. Please choose a character to talk or the exported script will not work.";
}

bool AnyResponseLeaves(const ResponseBlock& block) {
  for (int r = 0; r < block.responses.stored(); ++r)
    if (block.responses[r].inUse() && FlagSet(block.responses[r].leaveLoop)) return true;
  return false;
}

bool AnyResponseSaid(const ResponseBlock& block) {
  for (int r = 0; r < block.responses.stored(); ++r)
    if (FlagSet(block.responses[r].sayResponse)) return true;
  return false;
}

bool ContainsRestrictedCharacter(std::string_view name) {
  for (std::string_view restricted : kRestrictedCharacters)
    if (name.find(restricted) != std::string_view::npos) return true;
  return false;
}

CheckResult CheckDialogue(const DialogueDocument& document) {
  BlockIndex blocks(document);
  for (int b = 0; b < BranchesToVisit(document); ++b) {
    const DialogueBranch& branch = document.branch(b);
    if (CheckResult result = CheckBranchName(branch.name); !result) return result;
    for (int l = 0; l < LinesToVisit(branch); ++l)
      if (CheckResult result = CheckLine(branch.name, l, branch.lines[l], blocks); !result) return result;
  }
  return {};
}

}  // namespace tellwright
