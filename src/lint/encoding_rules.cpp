// Texts saved as UTF-8 while the engines read Windows-1252: a project edited
// in a UTF-8 text editor holds "cafÃ©" where "café" was meant, and the game
// shows it so.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "base/utf8_text.h"
#include "export/document_index.h"
#include "lint/lint_run.h"

namespace tellwright::lint {

namespace {

// The first character of `text` that UTF-8 writes in several bytes, when the
// whole text is well-formed UTF-8; "" otherwise. Windows-1252 text with
// accents is almost never well-formed UTF-8 (its 'é' is one byte above 0x7F
// between ASCII letters), so such a character is a strong sign.
std::string_view Utf8Sign(std::string_view text) {
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

// Looks at the texts in the order of the file and reports the first that
// looks like UTF-8.
class EncodingScan {
 public:
  explicit EncodingScan(LintRun& run) : run_(run) {}

  // True once a text has been reported.
  bool found(std::string_view text, const ProblemPlace& place, ProblemField field, std::string_view what) {
    std::string_view sign = Utf8Sign(text);
    if (sign.empty()) return false;
    std::optional<std::string> meant = Utf8ToCp1252(sign);
    std::string message = "The ";
    message += what;
    message += " holds " + Quoted(sign) + ", which is how UTF-8 writes " +
               (meant ? Quoted(*meant) : std::string("a character Windows-1252 does not have")) +
               ": the project looks saved as UTF-8, but the engines read Windows-1252 and show " + Quoted(sign) +
               ". Other texts of the file are likely the same.";
    run_.add(Severity::Warning, place, "text-utf8", std::move(message),
             "Convert the project file from UTF-8 to Windows-1252 (e.g. iconv -f UTF-8 -t WINDOWS-1252) and open it "
             "again.",
             field);
    return true;
  }

 private:
  LintRun& run_;
};

bool ScanCharacters(LintRun& run, EncodingScan& scan) {
  const std::vector<Character>& characters = run.document().characters;
  for (int c = 0; c < static_cast<int>(characters.size()); ++c) {
    const ProblemPlace place{.character = c};
    if (scan.found(characters[c].realName, place, ProblemField::Record, "character's real name") ||
        scan.found(characters[c].entityName, place, ProblemField::EntityName, "character's entity name"))
      return true;
  }
  return false;
}

bool ScanBranches(LintRun& run, EncodingScan& scan) {
  const DialogueDocument& document = run.document();
  for (int b = 0; b < BranchesToVisit(document); ++b) {
    const DialogueBranch& branch = document.branch(b);
    if (scan.found(branch.name, {.branch = b}, ProblemField::Record, "dialogue branch name")) return true;
    for (int l = 0; l < LinesToVisit(branch); ++l) {
      const DialogueLine& line = branch.lines[l];
      const ProblemPlace place{.branch = b, .line = l};
      if (scan.found(line.character, place, ProblemField::Character, "line's character") ||
          scan.found(line.text, place, ProblemField::Text, "line's text") ||
          scan.found(line.soundFile, place, ProblemField::SoundFile, "sound file name"))
        return true;
    }
  }
  return false;
}

bool ScanBlocks(LintRun& run, EncodingScan& scan) {
  const auto& blocks = run.document().responseBlocks;
  for (int slot = 0; slot < std::min(blocks.stored(), kBlockSlots); ++slot) {
    const ResponseBlock& block = blocks[slot];
    if (!block.inUse()) continue;
    LineRef user = run.firstUserOf(slot);
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      const ProblemPlace place{.branch = user.branch, .line = user.line, .response = r, .blockSlot = slot};
      if (scan.found(response.text, place, ProblemField::Text, "response text") ||
          scan.found(response.conditions, place, ProblemField::Condition, "response's condition") ||
          scan.found(response.linkBranch, place, ProblemField::Link, "response's link"))
        return true;
    }
  }
  return false;
}

}  // namespace

void LintTextEncoding(LintRun& run) {
  EncodingScan scan(run);
  if (ScanCharacters(run, scan) || ScanBranches(run, scan)) return;
  ScanBlocks(run, scan);
}

}  // namespace tellwright::lint
