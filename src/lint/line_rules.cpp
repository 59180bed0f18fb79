// Talklines and responseblock lines: their characters, texts and blocks, and
// the response loops the blocks become.
#include <optional>
#include <string>

#include "base/decimal.h"
#include "export/dialogue_check.h"
#include "export/document_index.h"
#include "export/engine_text.h"
#include "lint/lint_run.h"

namespace tellwright::lint {

namespace {

std::string RowName(const LintRun& run, const LineRef& ref) {
  std::string text = "line ";
  AppendDecimal(text, ref.line + 1);
  return text + " of " + Quoted(run.branchName(ref.branch));
}

void LintUnknownCharacter(LintRun& run, const ProblemPlace& place, std::string_view realName,
                          std::string_view consequence) {
  if (realName.empty() || !run.charactersNamed(realName).empty()) return;
  std::string message = "The character " + Quoted(realName) + " is not in the character list";
  if (int alike = run.characterNamedIgnoringCase(realName); alike >= 0)
    message += " (" + Quoted(run.characterName(alike)) + " differs only in letter case)";
  message += ", so ";
  message += consequence;
  message += '.';
  run.add(Severity::Warning, place, "character-unknown", std::move(message),
          "Pick a character of the list, or add " + Quoted(realName) + " to it.", ProblemField::Character);
}

// The check's faults of a responseblock line, each once: it examines every
// stored block with the line's id and, for id 0, the free slots too.
void LintAsChecked(LintRun& run, int b, int l) {
  const DialogueDocument& document = run.document();
  const Text& branchName = document.branch(b).name;
  const DialogueLine& line = document.branch(b).lines[l];
  static const ResponseBlock kFreeSlot;
  std::vector<std::pair<int, const ResponseBlock*>> examined;
  for (int slot : run.slotsWithId(line.blockId)) examined.push_back({slot, &run.block(slot)});
  if (line.blockId == 0 && run.hasFreeBlockSlot()) examined.push_back({-1, &kFreeSlot});

  bool endless = false;
  bool saidByNobody = false;
  for (const auto& [slot, block] : examined) {
    ProblemPlace place{.branch = b, .line = l, .blockSlot = slot};
    if (!endless && !AnyResponseLeaves(*block)) {
      endless = true;
      run.add(Severity::Error, place, "loop-no-exit", EndlessLoopMessage(branchName),
              "Set \"Leave loop if clicked\" on a response the player can always choose.");
    }
    if (!saidByNobody && line.character.empty() && AnyResponseSaid(*block)) {
      saidByNobody = true;
      run.add(Severity::Error, place, "response-said-by-nobody", SaidByNobodyMessage(branchName),
              "Choose the character of the responseblock line, or clear \"Let character say response\".",
              ProblemField::Character);
    }
  }
}

void LintLinks(LintRun& run, const ResponseBlock& block, int offered, ProblemPlace place) {
  for (int r = 0; r < offered; ++r) {
    const Text& link = block.responses[r].linkBranch;
    if (link.empty() || run.branchNamed(link) >= 0) continue;
    place.response = r;
    if (int alike = run.branchNamedIgnoringCase(link); alike >= 0) {
      const Text& name = run.branchName(alike);
      run.add(Severity::Error, place, "link-case",
              "The response links to " + Quoted(link) + ", but the branch is named " + Quoted(name) +
                  ": script names are case-sensitive, so WME reports \"Function '" + link +
                  "' is referenced but not defined\".",
              "Link the response to " + Quoted(name) + ".", ProblemField::Link);
    } else {
      run.add(Severity::Error, place, "link-missing",
              "The response links to " + Quoted(link) +
                  ", but no dialogue branch has this name: WME reports \"Function '" + link +
                  "' is referenced but not defined\" and the whole script fails to compile.",
              "Link the response to an existing branch, or add a branch named " + Quoted(link) + ".",
              ProblemField::Link);
    }
  }
}

// How the game takes a response's condition: none (or a constant true), a
// constant false, or one that reads the game's state.
enum class Offer { Always, Never, Sometimes };

Offer OfferOf(const Response& response) {
  if (response.conditions.empty()) return Offer::Always;
  std::optional<bool> constant = ConstantConditionValue(response.conditions);
  if (!constant) return Offer::Sometimes;
  return *constant ? Offer::Always : Offer::Never;
}

// A response that stays on the menu until the loop ends: no condition, and
// offered always, or once when it leaves the loop (once-offered responses
// come back when the loop runs again).
bool StaysOffered(const Response& response, Offer offer) {
  if (offer != Offer::Always) return false;
  if (response.visibility == kOnce) return FlagSet(response.leaveLoop);
  return response.visibility != kOnceGame;
}

// A leaving response offered every time the loop runs.
bool SureWayOut(const Response& response, Offer offer) {
  return FlagSet(response.leaveLoop) && offer == Offer::Always && response.visibility != kOnceGame;
}

void LintConstantCondition(LintRun& run, const Response& response, const ProblemPlace& place) {
  Offer offer = OfferOf(response);
  if (response.conditions.empty() || offer == Offer::Sometimes) return;
  std::string message = "The response's condition " + Quoted(response.conditions);
  if (offer == Offer::Never)
    run.add(Severity::Note, place, "condition-always-false",
            message + " is always false in the game, so the response is never offered.",
            "Delete the response, or give it the condition it was meant to have.", ProblemField::Condition);
  else
    run.add(Severity::Note, place, "condition-always-true",
            message + " is always true in the game: the response is always offered.",
            "Clear the condition; it changes nothing.", ProblemField::Condition);
}

void LintLoop(LintRun& run, const ResponseBlock& block, int offered, const ProblemPlace& place) {
  bool leaves = false;
  bool switchedOffWayOut = false;
  bool sureWayOut = false;
  bool staysOffered = false;
  for (int r = 0; r < offered; ++r) {
    const Response& response = block.responses[r];
    const Offer offer = OfferOf(response);
    const bool leaving = FlagSet(response.leaveLoop);
    leaves = leaves || (leaving && offer != Offer::Never);
    switchedOffWayOut = switchedOffWayOut || leaving;
    sureWayOut = sureWayOut || SureWayOut(response, offer);
    staysOffered = staysOffered || StaysOffered(response, offer);
  }
  if (!leaves) {
    if (switchedOffWayOut)
      run.add(Severity::Error, place, "loop-exit-never-offered",
              "Every response that leaves the loop has a condition that is always false, so none of them is ever "
              "offered: the loop never ends.",
              "Give a leaving response a condition that can hold, or none.");
    // The check sees a leaving response only when one stands after the end.
    else if (AnyResponseLeaves(block))
      run.add(Severity::Error, place, "loop-exit-after-end",
              "The only responses that leave the loop come after the first empty response and are never offered: "
              "the loop never ends.",
              "Move a leaving response up, before the empty one.");
    return;
  }
  if (!sureWayOut)
    run.add(Severity::Warning, place, "loop-trap",
            "Every response that leaves the loop has a condition or is offered once per game: when none of them is "
            "offered, the player cannot leave the loop.",
            "Add a way out without a condition, offered always or once.");
  if (!staysOffered)
    run.add(Severity::Warning, place, "menu-may-run-empty",
            "Every response is conditional, once per game, or once without leaving the loop: when none is left "
            "to offer, the game waits for a choice forever.",
            "Offer at least one response always and without a condition.");
}

void LintBlock(LintRun& run, int slot, const ProblemPlace& at) {
  const ResponseBlock& block = run.block(slot);
  const int offered = ResponsesOffered(block);
  ProblemPlace place = at;
  LintConflictMarkerResponses(run, block, offered, at);
  for (int r = 0; r < offered; ++r) {
    place.response = r;
    LintStringLiteral(run, block.responses[r].text, place, ProblemField::Text, "response text");
    LintTextKey(run, block.responses[r].text, place, "response text");
    LintConstantCondition(run, block.responses[r], place);
  }
  LintLinks(run, block, offered, at);
  LintLoop(run, block, offered, at);
  for (int r = offered + 1; r < block.responses.stored(); ++r) {
    if (!block.responses[r].inUse()) continue;
    place.response = r;
    std::string message = "The responses after response ";
    AppendDecimal(message, offered + 1);
    run.add(Severity::Warning, place, "response-after-end", message + ", which has no text, are never offered.",
            "Give the empty response a text, or move the responses after it up.");
    break;
  }
}

bool LaterLoopInBranch(const DialogueBranch& branch, int l) {
  for (int next = l + 1; next < LinesToVisit(branch); ++next)
    if (KindOf(branch.lines[next].kind) == LineKind::Response) return true;
  return false;
}

}  // namespace

void LintTalkline(LintRun& run, int b, int l) {
  const DialogueBranch& branch = run.document().branch(b);
  const DialogueLine& line = branch.lines[l];
  ProblemPlace place{.branch = b, .line = l};
  if (line.character.empty()) {
    // The place names the line counted from 1; the check's message would
    // repeat it counted from 0.
    run.add(Severity::Error, place, "talkline-no-character", TalklineWithoutCharacterFault(),
            "Choose the character who says the line.", ProblemField::Character);
  }
  LintUnknownCharacter(run, place, line.character, "the script says nothing here");
  LintStringLiteral(run, line.text, place, ProblemField::Text, "talkline's text");
  LintTextKey(run, line.text, place, "talkline's text");
  LintStringLiteral(run, line.soundFile, place, ProblemField::SoundFile, "sound file name");
}

void LintResponseLine(LintRun& run, int b, int l) {
  const DialogueDocument& document = run.document();
  const DialogueBranch& branch = document.branch(b);
  const DialogueLine& line = branch.lines[l];
  LintAsChecked(run, b, l);
  const int slot = run.blockSlotOf(line.blockId);
  ProblemPlace place{.branch = b, .line = l, .blockSlot = slot};
  if (slot < 0) {
    std::string message = "The responseblock this line runs (id ";
    AppendDecimal(message, line.blockId);
    message += ") does not exist: the loop never asks for a response, so the game spins there forever";
    if (LaterLoopInBranch(branch, l))
      message +=
          ", and the next response loop of the branch declares the same variables again (\"Duplicate "
          "declaration of variable\")";
    run.add(Severity::Error, place, "block-missing", message + ".",
            "Delete the line and insert a new responseblock line.", ProblemField::BlockId);
    return;
  }
  if (AnyOfferedResponseSaid(run.block(slot)))
    LintUnknownCharacter(run, place, line.character, "nobody says the responses");
  LineRef first = run.firstUserOf(slot);
  if (first.branch != b || first.line != l) {
    run.add(Severity::Warning, place, "block-shared",
            "This line runs the same responseblock as " + RowName(run, first) +
                ": a change to the responses of one changes the other.",
            "If the two should differ, delete this line and insert a new responseblock line.", ProblemField::BlockId);
    return;
  }
  LintBlock(run, slot, place);
}

void LintUnusedBlocks(LintRun& run) {
  const auto& blocks = run.document().responseBlocks;
  for (int slot = 0; slot < std::min(blocks.stored(), kBlockSlots); ++slot) {
    const ResponseBlock& block = blocks[slot];
    if (!block.inUse() || !run.usersOf(slot).empty()) continue;
    ProblemPlace place{.blockSlot = slot};
    LintConflictMarkerResponses(run, block, ResponsesOffered(block), place);
    std::string id;
    AppendDecimal(id, block.id);
    int first = run.blockSlotOf(block.id);
    if (first != slot) {
      std::string firstSlot;
      AppendDecimal(firstSlot, first);
      run.add(Severity::Warning, place, "block-id-duplicate",
              "The responseblocks in slots " + firstSlot + " and " + std::to_string(slot) + " have the same id " + id +
                  "; lines run only the first, this one never.",
              "The project was damaged; check the responses of the lines with this block.");
    } else {
      run.add(Severity::Note, place, "block-unused",
              "No responseblock line runs the responseblock with id " + id + ": it is saved but never exported.",
              "Nothing to do unless its responses were meant for a line.");
    }
  }
}

void LintUnreachableBranch(LintRun& run, int b) {
  if (b == 0 || run.linkedFromElsewhere(b)) return;
  const Text& name = run.document().branch(b).name;
  if (name.empty()) return;
  run.add(Severity::Note, {.branch = b}, "branch-unreachable",
          "No response of another branch links to the dialogue branch " + Quoted(name) +
              "; only the game's own scripts can start it.",
          "Link a response to it, or call it from the game's scripts.");
}

}  // namespace tellwright::lint
