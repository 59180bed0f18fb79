#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// A project as its file holds it, which is what the comparing and merging
// tools work on: the branches in use with the lines up to the first free
// slot, and the blocks in use in slot order with the responses up to the
// first one without text. Slots the file does not keep are left out, so two
// documents that save to the same bytes have equal records.
struct BlockRecord {
  int32_t id = 0;
  std::vector<Response> responses;

  friend bool operator==(const BlockRecord&, const BlockRecord&) = default;
};

struct BranchRecord {
  Text name;
  int32_t lineCount = 0;  // as stored; may disagree with lines.size()
  std::vector<DialogueLine> lines;

  friend bool operator==(const BranchRecord&, const BranchRecord&) = default;
  // How far the stored line count is off the lines there are (0 for a
  // branch the editor saved).
  int32_t lineCountOffset() const { return lineCount - static_cast<int32_t>(lines.size()); }
};

struct ProjectRecords {
  std::string engineProjectPath;
  std::vector<Character> characters;
  std::vector<BranchRecord> branches;
  std::vector<BlockRecord> blocks;

  friend bool operator==(const ProjectRecords&, const ProjectRecords&) = default;
};

ProjectRecords RecordsOf(const DialogueDocument& document);

// A document that saves as the records: blocks in slots from 0. The records
// must keep the capacities (at least one and at most 500 branches, 1000
// lines a branch, 500 blocks, 100 responses a block).
DialogueDocument DocumentOf(const ProjectRecords& records);

// The responses a responseblock line with a block id runs: those of the
// first block with that id, as the exports take it.
class BlockLookup {
 public:
  explicit BlockLookup(const ProjectRecords& records);
  // nullptr when no block has the id.
  const std::vector<Response>* responsesOf(int32_t id) const;

 private:
  std::unordered_map<int32_t, const std::vector<Response>*> byId_;
};

}  // namespace tellwright
