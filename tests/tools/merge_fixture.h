#pragma once

#include <string>
#include <vector>

#include "document/conflict_markers.h"
#include "export/sample_documents.h"

namespace tellwright::testing {

// Start: Guy greets, Ann answers, a codeline, the menu of block 1 and a
// closing remark. Intro: Guy says one line. Block 1: "Bye" (leaves the loop,
// said) and "Who are you?" (once, to Intro).
inline DialogueDocument MergeBase() {
  DialogueDocument d;
  d.engineProjectPath = "C:\\Game\\game.wpr";
  d.characters = {{"Guy", "guy"}, {"Ann", "ann"}};
  SetBranch(d, 0, "Start",
            {Talk("Guy", "Hello there.", "hello.ogg"), Talk("Ann", "Hi, Guy."), Code("Game.Wave();"),
             BlockLine("Guy", 1), Remark("They part.")});
  SetBranch(d, 1, "Intro", {Talk("Guy", "I am Guy.")});
  AddBlock(d, 0, 1,
           {{.text = "Bye", .leaveLoop = 1, .sayResponse = 1},
            {.text = "Who are you?", .visibility = kOnce, .linkBranch = "Intro"}});
  return d;
}

inline DialogueLine& LineOf(DialogueDocument& d, int branch, int line) {
  return d.editBranch(branch).lines.slot(line);
}

inline Response& ResponseOf(DialogueDocument& d, int slot, int response) {
  return d.responseBlocks.slot(slot).responses.slot(response);
}

// Replaces `count` lines from `at` with `lines`, the count following.
inline void ReplaceLines(DialogueDocument& d, int branch, int at, int count, const std::vector<DialogueLine>& lines) {
  DialogueBranch& b = d.editBranch(branch);
  b.lines.splice(at, count, lines);
  b.lineCount += static_cast<int32_t>(lines.size()) - count;
}

inline void ReplaceResponses(DialogueDocument& d, int slot, int at, int count, const std::vector<Response>& responses) {
  d.responseBlocks.slot(slot).responses.splice(at, count, responses);
}

inline void DeleteLastBranch(DialogueDocument& d) {
  d.branches.slot(d.lastBranchIndex) = DialogueBranch{};
  --d.lastBranchIndex;
}

// Both versions between the markers a merge writes.
inline std::vector<DialogueLine> ConflictLines(const std::vector<DialogueLine>& ours,
                                               const std::vector<DialogueLine>& theirs) {
  std::vector<DialogueLine> lines{Remark(std::string(kOursMarker))};
  lines.insert(lines.end(), ours.begin(), ours.end());
  lines.push_back(Remark(std::string(kSeparatorMarker)));
  lines.insert(lines.end(), theirs.begin(), theirs.end());
  lines.push_back(Remark(std::string(kTheirsMarker)));
  return lines;
}

inline std::vector<Response> ConflictResponses(const std::vector<Response>& ours, const std::vector<Response>& theirs) {
  auto marker = [](std::string_view text) { return MakeResponse({.text = std::string(text)}); };
  std::vector<Response> responses{marker(kOursMarker)};
  responses.insert(responses.end(), ours.begin(), ours.end());
  responses.push_back(marker(kSeparatorMarker));
  responses.insert(responses.end(), theirs.begin(), theirs.end());
  responses.push_back(marker(kTheirsMarker));
  return responses;
}

}  // namespace tellwright::testing
