#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "document/dialogue_document.h"

namespace tellwright::testing {

// Random documents within the capacities, with everything a file can hold:
// any byte but CR and LF in the texts, odd line kinds, any numbers, lines
// and responses up to the table ends, blocks in scattered slots.
class RandomDocuments {
 public:
  explicit RandomDocuments(uint32_t seed) : random_(seed) {}

  DialogueDocument make() {
    DialogueDocument document;
    document.engineProjectPath = text(30);
    int characters = below(6);
    for (int c = 0; c < characters; ++c)
      document.characters.push_back({avoiding(text(12), "##ENDCHARLIST##"), text(12)});
    document.lastBranchIndex = chance(20) ? below(kBranchSlots) : below(6);
    for (int b = 0; b <= document.lastBranchIndex; ++b) fillBranch(document.editBranch(b));
    int blocks = chance(20) ? below(kBlockSlots + 1) : below(6);
    for (int k = 0; k < blocks; ++k) fillBlock(document.responseBlocks.slot(chance(2) ? k : below(kBlockSlots)));
    return document;
  }

 private:
  void fillBranch(DialogueBranch& branch) {
    branch.name = text(16);
    int lines = chance(30) ? kLinesPerBranch : below(12);
    branch.lineCount = chance(4) ? below(kLinesPerBranch + 1) : lines;  // stored count may disagree
    for (int l = 0; l < lines; ++l) {
      DialogueLine& line = branch.lines.slot(l);
      line.kind = kind();
      line.character = text(10);
      line.text = text(60);
      line.soundFile = text(20);
      line.blockId = number();
    }
  }

  void fillBlock(ResponseBlock& block) {
    block.id = chance(8) ? number() : 1 + below(1000);
    int responses = chance(10) ? kResponsesPerBlock : below(8);
    for (int r = 0; r < responses; ++r) {
      Response& response = block.responses.slot(r);
      response.text = avoiding(text(30), "##ENDRESPONSE##");
      if (response.text.empty()) response.text = "x";
      response.conditions = text(20);
      response.linkBranch = text(16);
      response.visibility = chance(5) ? number() : below(3);
      response.leaveLoop = chance(5) ? number() : below(2);
      response.sayResponse = chance(5) ? number() : below(2);
    }
  }

  std::string kind() {
    static const char* const kKinds[] = {"Talkline", "Codeline", "Remark",           "Responseblock",  "Talk",
                                         "Resp?",    "x",        "##DIALOGBRANCH##", "##ENDRESPONSE##"};
    if (chance(6)) return avoiding(text(14), "##ENDBRANCH##") + "k";  // never empty
    return kKinds[below(sizeof kKinds / sizeof *kKinds)];
  }

  std::string text(int maxLength) {
    std::string bytes(below(maxLength + 1), '\0');
    for (char& c : bytes) {
      do c = static_cast<char>(below(256));
      while (c == '\r' || c == '\n');
    }
    return bytes;
  }

  static std::string avoiding(std::string text, std::string_view marker) { return text == marker ? text + "!" : text; }

  int32_t number() {
    switch (below(4)) {
      case 0:
        return INT32_MIN;
      case 1:
        return INT32_MAX;
      default:
        return static_cast<int32_t>(random_());
    }
  }

  int below(int bound) { return static_cast<int>(random_() % static_cast<uint32_t>(bound)); }
  bool chance(int oneIn) { return below(oneIn) == 0; }

  std::mt19937 random_;
};

}  // namespace tellwright::testing
