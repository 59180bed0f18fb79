#include "tools/record_identity.h"

#include <algorithm>
#include <cstdint>

#include "base/decimal.h"

namespace tellwright {

namespace {

// Values never hold a line break, so one separates them in a key.
void Field(std::string& key, std::string_view value) {
  key.append(value);
  key.push_back('\n');
}

void Field(std::string& key, int32_t value) {
  AppendDecimal(key, value);
  key.push_back('\n');
}

void AppendResponse(std::string& key, const Response& response) {
  Field(key, response.text);
  Field(key, response.conditions);
  Field(key, response.linkBranch);
  Field(key, response.visibility);
  Field(key, response.leaveLoop);
  Field(key, response.sayResponse);
}

std::vector<uint16_t> BytePairs(std::string_view text) {
  std::vector<uint16_t> pairs;
  for (size_t i = 1; i < text.size(); ++i)
    pairs.push_back(static_cast<uint16_t>(static_cast<unsigned char>(text[i - 1]) << 8 |
                                          static_cast<unsigned char>(text[i])));
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

int EqualCount(std::initializer_list<bool> equal) {
  return static_cast<int>(std::count(equal.begin(), equal.end(), true));
}

}  // namespace

int RecordIds::of(const LineView& view) {
  const DialogueLine& line = *view.line;
  std::string key(1, 'L');
  key.reserve(24 + line.kind.size() + line.character.size() + line.text.size() + line.soundFile.size());
  Field(key, line.kind);
  Field(key, line.character);
  Field(key, line.text);
  Field(key, line.soundFile);
  Field(key, line.blockId);
  if (RunsBlock(line)) Field(key, view.responses ? ofResponses(*view.responses) : -1);
  return ofKey(key);
}

int RecordIds::of(const Response& response) {
  std::string key = "R";
  AppendResponse(key, response);
  return ofKey(key);
}

int RecordIds::ofResponses(const std::vector<Response>& responses) {
  auto known = responsesIds_.find(&responses);
  if (known != responsesIds_.end()) return known->second;
  std::string key = "B";
  for (const Response& response : responses) AppendResponse(key, response);
  return responsesIds_[&responses] = ofKey(key);
}

int RecordIds::ofKey(const std::string& key) {
  return ids_.try_emplace(key, static_cast<int>(ids_.size())).first->second;
}

namespace {

// The share of two texts that a common beginning and end make up: short
// texts that were lengthened or shortened have few pairs of bytes in common.
int EdgeLikeness(std::string_view a, std::string_view b) {
  size_t shorter = std::min(a.size(), b.size());
  size_t prefix = 0;
  while (prefix < shorter && a[prefix] == b[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < shorter - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) ++suffix;
  return static_cast<int>(200 * (prefix + suffix) / (a.size() + b.size()));
}

int PairLikeness(std::string_view a, std::string_view b) { return SortedLikeness(BytePairs(a), BytePairs(b)); }

}  // namespace

int TextLikeness(std::string_view a, std::string_view b) {
  if (a == b) return 100;
  return std::max(EdgeLikeness(a, b), PairLikeness(a, b));
}

int LineSimilarity(const LineView& viewA, const LineView& viewB) {
  const DialogueLine& a = *viewA.line;
  const DialogueLine& b = *viewB.line;
  if (KindOf(a.kind) != KindOf(b.kind)) return 0;
  const bool sameKind = a.kind == b.kind, sameCharacter = a.character == b.character;
  if (RunsBlock(a)) {
    // The same block, or a block with the same responses under another id.
    bool sameBlock = a.blockId == b.blockId;
    bool sameResponses = viewA.responses && viewB.responses && *viewA.responses == *viewB.responses;
    if (!sameBlock && !sameResponses) return 0;
    return 100 + 10 * EqualCount({sameKind, sameCharacter, sameBlock, sameResponses, a.text == b.text});
  }
  int likeness = TextLikeness(a.text, b.text);
  bool sameSound = !a.soundFile.empty() && a.soundFile == b.soundFile;
  if (likeness < 50 && !sameSound) return 0;
  return 100 + likeness / 2 +
         10 * EqualCount({sameKind, sameCharacter, a.soundFile == b.soundFile, a.blockId == b.blockId});
}

int ResponseSimilarity(const Response& a, const Response& b) {
  int likeness = TextLikeness(a.text, b.text);
  if (likeness < 50) return 0;
  return 100 + likeness / 2 +
         5 * EqualCount({a.conditions == b.conditions, a.linkBranch == b.linkBranch, a.visibility == b.visibility,
                         a.leaveLoop == b.leaveLoop, a.sayResponse == b.sayResponse});
}

std::vector<std::string_view> ChangedFields(const DialogueLine& a, const DialogueLine& b) {
  std::vector<std::string_view> fields;
  if (a.kind != b.kind) fields.push_back("kind");
  if (a.character != b.character) fields.push_back("character");
  if (a.text != b.text) fields.push_back("text");
  if (a.soundFile != b.soundFile) fields.push_back("soundFile");
  if (a.blockId != b.blockId) fields.push_back("blockId");
  return fields;
}

std::vector<std::string_view> ChangedFields(const Response& a, const Response& b) {
  std::vector<std::string_view> fields;
  if (a.text != b.text) fields.push_back("text");
  if (a.conditions != b.conditions) fields.push_back("conditions");
  if (a.linkBranch != b.linkBranch) fields.push_back("linkBranch");
  if (a.visibility != b.visibility) fields.push_back("visibility");
  if (a.leaveLoop != b.leaveLoop) fields.push_back("leaveLoop");
  if (a.sayResponse != b.sayResponse) fields.push_back("sayResponse");
  return fields;
}

}  // namespace tellwright
