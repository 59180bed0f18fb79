#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/dialogue_line.h"
#include "document/response_block.h"

namespace tellwright {

// When two lines or two responses are the same record, perhaps changed:
// what comparing and merging projects share.

// A line with what it runs: for a responseblock line the responses of its
// block (nullptr when the block does not exist or the line runs none), so
// two responseblock lines are equal only when their responses are.
struct LineView {
  const DialogueLine* line = nullptr;
  const std::vector<Response>* responses = nullptr;
};

// One number per distinct record, so sequences of records compare as
// sequences of numbers. The responses a line runs are known by where they
// are, so they must stay where they are while the numbers are in use.
class RecordIds {
 public:
  int of(const LineView& line);
  int of(const Response& response);
  int ofResponses(const std::vector<Response>& responses);
  // For keys made by the caller (names and the like).
  int ofKey(const std::string& key);

 private:
  std::unordered_map<std::string, int> ids_;
  std::unordered_map<const std::vector<Response>*, int> responsesIds_;
};

// How alike two sorted collections are, from 0 to 100: twice the elements
// they have in common over the elements of both (0 when both are empty).
template <typename T>
int SortedLikeness(const std::vector<T>& a, const std::vector<T>& b) {
  if (a.empty() && b.empty()) return 0;
  size_t common = 0;
  for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    if (a[i] == b[j])
      ++common, ++i, ++j;
    else if (a[i] < b[j])
      ++i;
    else
      ++j;
  }
  return static_cast<int>(200 * common / (a.size() + b.size()));
}

// How alike two texts are, from 0 to 100: the share of the pairs of
// adjacent bytes they have in common. Equal texts give 100.
int TextLikeness(std::string_view a, std::string_view b);

// 0 when two lines are different records; else more the more alike they
// are: the same kind, and the same or a similar text (a talkline also by its
// sound file, a responseblock line by its block or its responses).
int LineSimilarity(const LineView& a, const LineView& b);
// 0 when two responses are different records; else more the more alike.
int ResponseSimilarity(const Response& a, const Response& b);

// The fields in which two records differ, by their names in the document
// ("kind", "character", "text", "soundFile", "blockId"; "text",
// "conditions", "linkBranch", "visibility", "leaveLoop", "sayResponse").
std::vector<std::string_view> ChangedFields(const DialogueLine& a, const DialogueLine& b);
std::vector<std::string_view> ChangedFields(const Response& a, const Response& b);

// The responses a line runs, when it is a responseblock line.
inline bool RunsBlock(const DialogueLine& line) { return KindOf(line.kind) == LineKind::Response; }

}  // namespace tellwright
