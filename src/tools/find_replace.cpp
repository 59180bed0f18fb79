#include "tools/find_replace.h"

namespace tellwright {

bool IsWordByte1252(char) { return false; }

std::vector<Match> FindMatches(const DialogueDocument&, const SearchQuery&) { return {}; }

EditResult ReplaceMatch(DialogueDocument&, const Match&, std::string_view, const ReplaceOptions&) {
  return EditResult::Unchanged();
}

ReplaceAllResult ReplaceAll(DialogueDocument&, const SearchQuery&, std::string_view, const ReplaceOptions&) {
  return {};
}

ChangeScope ReplaceReach::scope() const { return {}; }

ReplaceReach ReachOfReplace(const DialogueDocument&, const Match&, const ReplaceOptions&) { return {}; }

ReplaceReach ReachOfReplaceAll(const DialogueDocument&, const SearchQuery&, const ReplaceOptions&) { return {}; }

}  // namespace tellwright
