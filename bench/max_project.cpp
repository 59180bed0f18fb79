#include "max_project.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/project_file.h"

namespace tellwright::bench {

namespace {

constexpr int kCast = 40;

// A small deterministic generator, so every run measures the same bytes.
class Words {
 public:
  std::string sentence(int minWords, int maxWords) {
    static const char* const kWords[] = {
        "the",    "old",  "captain",  "said",  "we",     "should", "never", "have",   "left",    "island",
        "monkey", "grog", "treasure", "map",   "ghost",  "ship",   "sword", "fight",  "insult",  "voodoo",
        "lady",   "door", "key",      "under", "bridge", "troll",  "fish",  "rubber", "chicken", "pulley"};
    int count = minWords + static_cast<int>(next() % static_cast<uint32_t>(maxWords - minWords + 1));
    std::string text;
    for (int i = 0; i < count; ++i) {
      if (i) text += ' ';
      text += kWords[next() % (sizeof kWords / sizeof *kWords)];
    }
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    text += (next() % 3 == 0) ? '?' : '.';
    return text;
  }
  uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  uint32_t state_ = 12345;
};

std::string CharacterName(int index) { return "Character" + std::to_string(index); }

// Whether line `index` of a branch runs the branch's block: the last line,
// and with more runs, lines spread evenly from the first.
bool RunsBlock(int index, int runsPerBranch) {
  if (index == kLinesPerBranch - 1) return true;
  if (runsPerBranch <= 1) return false;
  int stride = kLinesPerBranch / (runsPerBranch - 1);
  return index % stride == 0 && index / stride < runsPerBranch - 1;
}

DialogueLine MakeLine(Words& words, int branch, int index, int32_t blockId, const MaxProjectShape& shape) {
  DialogueLine line;
  if (RunsBlock(index, shape.blockRunsPerBranch)) {
    line.kind = kResponseblock;
    line.character = CharacterName(branch % kCast);
    line.blockId = blockId;
    return line;
  }
  switch (index % 10) {
    case 7:
      line.kind = kCodeline;
      line.text = "Game.SetGlobal(\"visited_" + std::to_string(branch) + "_" + std::to_string(index) + "\", true);";
      break;
    case 8:
      line.kind = kRemark;
      line.text = words.sentence(4, 10);
      break;
    default:
      line.kind = kTalkline;
      line.character = CharacterName(static_cast<int>(words.next() % kCast));
      line.text = words.sentence(5, 14);
      if (index % 2 == 0) line.soundFile = "voice\\b" + std::to_string(branch) + "_l" + std::to_string(index) + ".ogg";
  }
  return line;
}

Response MakeResponse(Words& words, int block, int index, const MaxProjectShape& shape) {
  Response response;
  response.text = words.sentence(3, std::max(3, shape.responseWords));
  if (index % 4 == 1) response.conditions = "Game.GetGlobal(\"asked_" + std::to_string(index) + "\") == false";
  if (index == 0 && shape.constantFirstCondition) response.conditions = "true";
  if (index % 5 == 2 && index / 5 < shape.linksPerBlock)
    response.linkBranch = "Branch_" + std::to_string((block + index) % 500);
  response.visibility = index % 3;
  response.leaveLoop = index == 99 ? 1 : 0;
  response.sayResponse = index % 2;
  return response;
}

}  // namespace

DialogueDocument MakeMaxProject(const MaxProjectShape& shape) {
  Words words;
  DialogueDocument document;
  document.engineProjectPath = "C:\\Games\\Caribbean\\caribbean.wpr";
  for (int c = 0; c < kCast; ++c) document.characters.push_back({CharacterName(c), "actor_" + std::to_string(c)});
  document.lastBranchIndex = kBranchSlots - 1;
  for (int b = 0; b < kBranchSlots; ++b) {
    DialogueBranch& branch = document.editBranch(b);
    branch.name = "Branch_" + std::to_string(b);
    branch.lineCount = kLinesPerBranch;
    branch.lines.reserve(kLinesPerBranch);
    for (int l = 0; l < kLinesPerBranch; ++l) branch.lines.slot(l) = MakeLine(words, b, l, b + 1, shape);
  }
  for (int k = 0; k < kBlockSlots; ++k) {
    ResponseBlock& block = document.responseBlocks.slot(k);
    block.id = k + 1;
    block.responses.reserve(kResponsesPerBlock);
    for (int r = 0; r < kResponsesPerBlock; ++r)
      block.responses.slot(r) = MakeResponse(words, k, r, shape);
  }
  return document;
}

MaxProjectShape ProblemRichShape() {
  return {.blockRunsPerBranch = 251, .responseWords = 17, .constantFirstCondition = true};
}

const DialogueDocument& MaxProject() {
  static const DialogueDocument document = MakeMaxProject();
  return document;
}

const DialogueDocument& ExampleProject() {
  static const DialogueDocument document = [] {
    DialogueDocument d;
    if (!LoadProject(TELLWRIGHT_SOURCE_DIR "/examples/lighthouse.tlwdlg", d)) std::abort();
    return d;
  }();
  return document;
}

}  // namespace tellwright::bench
