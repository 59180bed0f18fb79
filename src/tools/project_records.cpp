#include "tools/project_records.h"

#include <algorithm>

namespace tellwright {

namespace {

BranchRecord BranchRecordOf(const DialogueBranch& branch) {
  BranchRecord record{branch.name, branch.lineCount, {}};
  for (int l = 0; l < branch.lines.stored() && !branch.lines[l].empty(); ++l) record.lines.push_back(branch.lines[l]);
  return record;
}

BlockRecord BlockRecordOf(const ResponseBlock& block) {
  BlockRecord record{block.id, {}};
  for (int r = 0; r < block.responses.stored() && block.responses[r].inUse(); ++r)
    record.responses.push_back(block.responses[r]);
  return record;
}

}  // namespace

ProjectRecords RecordsOf(const DialogueDocument& document) {
  ProjectRecords records;
  records.engineProjectPath = document.engineProjectPath;
  records.characters = document.characters;
  // The file keeps branches 0..lastBranchIndex, at least branch 0.
  int lastBranch = std::clamp(document.lastBranchIndex, 0, kBranchSlots - 1);
  for (int b = 0; b <= lastBranch; ++b) records.branches.push_back(BranchRecordOf(document.branch(b)));
  for (int k = 0; k < document.responseBlocks.stored(); ++k)
    if (document.responseBlocks[k].inUse()) records.blocks.push_back(BlockRecordOf(document.responseBlocks[k]));
  return records;
}

DialogueDocument DocumentOf(const ProjectRecords& records) {
  DialogueDocument document;
  document.branches.clear();
  document.engineProjectPath = records.engineProjectPath;
  document.characters = records.characters;
  document.lastBranchIndex = std::max(0, static_cast<int32_t>(records.branches.size()) - 1);
  for (size_t b = 0; b < records.branches.size(); ++b) {
    const BranchRecord& record = records.branches[b];
    DialogueBranch& branch = document.editBranch(static_cast<int>(b));
    branch.name = record.name;
    branch.lineCount = record.lineCount;
    branch.lines.splice(0, 0, record.lines);
  }
  for (size_t k = 0; k < records.blocks.size(); ++k) {
    ResponseBlock& block = document.responseBlocks.slot(static_cast<int>(k));
    block.id = records.blocks[k].id;
    block.responses.splice(0, 0, records.blocks[k].responses);
  }
  return document;
}

BlockLookup::BlockLookup(const ProjectRecords& records) {
  for (const BlockRecord& block : records.blocks) byId_.emplace(block.id, &block.responses);
}

const std::vector<Response>* BlockLookup::responsesOf(int32_t id) const {
  auto found = byId_.find(id);
  return found == byId_.end() ? nullptr : found->second;
}

}  // namespace tellwright
