// Texts saved as UTF-8 while the engines read Windows-1252: a project edited
// in a UTF-8 text editor holds "cafÃ©" where "café" was meant, and the game
// shows it so.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "base/utf8_text.h"
#include "export/document_index.h"
#include "lint/lint_run.h"

namespace tellwright::lint {

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080u;

// The bytes of `text` ORed into `bits`, eight at a time and without a branch
// per byte (the last word overlaps the one before it, which ORing does not
// mind): the lint runs after every change, and almost every text is ASCII, so
// a branch whose texts have no byte above 0x7F is passed over at little cost.
void OrBytes(uint64_t& bits, std::string_view text) {
  const char* bytes = text.data();
  const size_t size = text.size();
  if (size >= 8) {
    uint64_t word;
    for (size_t i = 0; i + 8 < size; i += 8) {
      std::memcpy(&word, bytes + i, 8);
      bits |= word;
    }
    std::memcpy(&word, bytes + size - 8, 8);
    bits |= word;
  } else if (size >= 4) {
    uint32_t first, last;
    std::memcpy(&first, bytes, 4);
    std::memcpy(&last, bytes + size - 4, 4);
    bits |= first | last;
  } else {
    for (size_t i = 0; i < size; ++i) bits |= static_cast<unsigned char>(bytes[i]);
  }
}

bool IsAscii(std::string_view text) {
  uint64_t bits = 0;
  OrBytes(bits, text);
  return (bits & kHighBits) == 0;
}

// True when some text of the branch has a byte above 0x7F.
bool AnyHighByte(const DialogueBranch& branch) {
  uint64_t bits = 0;
  OrBytes(bits, branch.name);
  for (int l = 0; l < LinesToVisit(branch); ++l) {
    const DialogueLine& line = branch.lines[l];
    OrBytes(bits, line.character);
    OrBytes(bits, line.text);
    OrBytes(bits, line.soundFile);
  }
  return (bits & kHighBits) != 0;
}

// The first character of `text` that UTF-8 writes in several bytes, when the
// whole text is well-formed UTF-8; "" otherwise. Windows-1252 text with
// accents is almost never well-formed UTF-8 (its 'é' is one byte above 0x7F
// between ASCII letters), so such a character is a strong sign.
std::string_view Utf8Sign(std::string_view text) {
  if (IsAscii(text)) return {};
  std::string_view first;
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    Utf8Char decoded = DecodeUtf8At(text, i);
    if (decoded.length == 0) return {};
    if (first.empty()) first = text.substr(i, decoded.length);
    i += decoded.length;
  }
  return first;
}

}  // namespace

namespace {

std::optional<Utf8Sighting> Sighting(std::string_view text, const ProblemPlace& place, ProblemField field,
                                     std::string_view what) {
  std::string_view sign = Utf8Sign(text);
  if (sign.empty()) return std::nullopt;
  return Utf8Sighting{place, field, what, std::string(sign)};
}

}  // namespace

std::optional<Utf8Sighting> FirstUtf8InCharacters(const DialogueDocument& document) {
  const std::vector<Character>& characters = document.characters;
  for (int c = 0; c < static_cast<int>(characters.size()); ++c) {
    const ProblemPlace place{.character = c};
    if (auto seen = Sighting(characters[c].realName, place, ProblemField::Record, "character's real name")) return seen;
    if (auto seen = Sighting(characters[c].entityName, place, ProblemField::EntityName, "character's entity name"))
      return seen;
  }
  return std::nullopt;
}

std::optional<Utf8Sighting> FirstUtf8InBranch(const DialogueBranch& branch, int b) {
  if (!AnyHighByte(branch)) return std::nullopt;
  if (auto seen = Sighting(branch.name, {.branch = b}, ProblemField::Record, "dialogue branch name")) return seen;
  for (int l = 0; l < LinesToVisit(branch); ++l) {
    const DialogueLine& line = branch.lines[l];
    const ProblemPlace place{.branch = b, .line = l};
    if (auto seen = Sighting(line.character, place, ProblemField::Character, "line's character")) return seen;
    if (auto seen = Sighting(line.text, place, ProblemField::Text, "line's text")) return seen;
    if (auto seen = Sighting(line.soundFile, place, ProblemField::SoundFile, "sound file name")) return seen;
  }
  return std::nullopt;
}

std::optional<Utf8Sighting> FirstUtf8InBlocks(const LintRun& run) {
  const auto& blocks = run.document().responseBlocks;
  for (int slot = 0; slot < std::min(blocks.stored(), kBlockSlots); ++slot) {
    const ResponseBlock& block = blocks[slot];
    if (!block.inUse()) continue;
    LineRef user = run.usersOf(slot).empty() ? LineRef{} : run.usersOf(slot).front();
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      const ProblemPlace place{.branch = user.branch, .line = user.line, .response = r, .blockSlot = slot};
      if (auto seen = Sighting(response.text, place, ProblemField::Text, "response text")) return seen;
      if (auto seen = Sighting(response.conditions, place, ProblemField::Condition, "response's condition"))
        return seen;
      if (auto seen = Sighting(response.linkBranch, place, ProblemField::Link, "response's link")) return seen;
    }
  }
  return std::nullopt;
}

void ReportUtf8(const Utf8Sighting& sighting, std::vector<Problem>& problems) {
  std::optional<std::string> meant = Utf8ToCp1252(sighting.sign);
  std::string message = "The ";
  message += sighting.what;
  message += " holds " + Quoted(sighting.sign) + ", which is how UTF-8 writes " +
             (meant ? Quoted(*meant) : std::string("a character Windows-1252 does not have")) +
             ": the project looks saved as UTF-8, but the engines read Windows-1252 and show " +
             Quoted(sighting.sign) + ". Other texts of the file are likely the same.";
  problems.insert(problems.begin(),
                  Problem{Severity::Warning, sighting.place, "text-utf8", std::move(message),
                          "Convert the project file from UTF-8 to Windows-1252 (e.g. iconv -f UTF-8 -t WINDOWS-1252) "
                          "and open it again.",
                          sighting.field});
}

}  // namespace tellwright::lint
