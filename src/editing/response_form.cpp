#include "editing/response_form.h"

namespace tellwright {

namespace {

// Letter case in the Windows-1252 code page, in which every text is kept:
// ASCII letters, the accented capitals 0xC0..0xDE (without the multiplication
// sign 0xD7), and the pairs outside that run.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  switch (c) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return c;
  }
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

std::vector<std::string> LinkEntries(const DialogueDocument& document) {
  std::vector<std::string> entries{""};
  for (int i = 0; i <= document.lastBranchIndex && i < kBranchSlots; ++i) entries.push_back(document.branches[i].name);
  return entries;
}

int FindLinkEntry(const std::vector<std::string>& entries, std::string_view link) {
  if (link.empty()) return -1;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i] == link) return static_cast<int>(i);
  for (size_t i = 0; i < entries.size(); ++i)
    if (EqualIgnoringCase(entries[i], link)) return static_cast<int>(i);
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
