#include "editing/response_form.h"

#include "base/cp1252_case.h"

namespace tellwright {

std::vector<std::string> LinkEntries(const DialogueDocument& document) {
  std::vector<std::string> entries{""};
  for (int i = 0; i <= document.lastBranchIndex && i < kBranchSlots; ++i) entries.emplace_back(document.branches[i].name);
  return entries;
}

int FindLinkEntry(const std::vector<std::string>& entries, std::string_view link) {
  if (link.empty()) return -1;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i] == link) return static_cast<int>(i);
  for (size_t i = 0; i < entries.size(); ++i)
    if (EqualsIgnoringCase1252(entries[i], link)) return static_cast<int>(i);
  return -1;
}

ResponseForm LoadResponseForm(const DialogueDocument& document, const Response& response) {
  ResponseForm form;
  form.text = response.text;
  form.linkEntries = LinkEntries(document);
  form.chosenLink = FindLinkEntry(form.linkEntries, response.linkBranch);
  form.conditions = response.conditions;
  form.always = response.visibility == kAlways;
  form.once = response.visibility == kOnce;
  form.onceGame = response.visibility == kOnceGame;
  form.leaveLoop = response.leaveLoop != 0;
  form.sayResponse = response.sayResponse != 0;
  return form;
}

int32_t VisibilityFromOptions(bool always, bool once, bool onceGame, int32_t old) {
  int32_t visibility = old;
  if (always) visibility = kAlways;
  if (once) visibility = kOnce;
  if (onceGame) visibility = kOnceGame;
  return visibility;
}

Response ReadResponseForm(const ResponseForm& form, const Response& old) {
  Response response;
  response.text = form.text;
  response.conditions = form.conditions;
  bool chosen = form.chosenLink >= 0 && form.chosenLink < static_cast<int>(form.linkEntries.size());
  response.linkBranch = chosen ? form.linkEntries[form.chosenLink] : std::string();
  response.visibility = VisibilityFromOptions(form.always, form.once, form.onceGame, old.visibility);
  response.leaveLoop = form.leaveLoop ? 1 : 0;
  response.sayResponse = form.sayResponse ? 1 : 0;
  return response;
}

}  // namespace tellwright
