#include "lint/lint.h"

#include "base/decimal.h"
#include "export/document_index.h"
#include "lint/lint_run.h"

namespace tellwright {

std::string_view SeverityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    default:
      return "note";
  }
}

ProblemCounts CountProblems(const std::vector<Problem>& problems) {
  ProblemCounts counts;
  for (const Problem& problem : problems) {
    switch (problem.severity) {
      case Severity::Error:
        ++counts.errors;
        break;
      case Severity::Warning:
        ++counts.warnings;
        break;
      default:
        ++counts.notes;
        break;
    }
  }
  return counts;
}

namespace lint {

void LintBranch(LintRun& run, SoundFiles* sounds, int b) {
  LintBranchName(run, b);
  LintUnreachableBranch(run, b);
  const DialogueBranch& branch = run.document().branch(b);
  for (int l = 0; l < LinesToVisit(branch); ++l) {
    switch (KindOf(branch.lines[l].kind)) {
      case LineKind::Talk:
        LintTalkline(run, b, l);
        if (sounds && sounds->active()) LintSoundFile(run, *sounds, b, l);
        break;
      case LineKind::Response:
        LintResponseLine(run, b, l);
        break;
      case LineKind::Remark:
        LintConflictMarkerLine(run, b, l);
        break;
      case LineKind::Other:
        run.add(Severity::Warning, {.branch = b, .line = l}, "line-kind-unknown",
                "The line's kind " + Quoted(branch.lines[l].kind) +
                    " is none of Talkline, Codeline, Remark and Responseblock: the exports leave the line out.",
                "Delete the line and insert it again with one of the four kinds.");
        break;
      default:
        break;
    }
  }
}

}  // namespace lint

std::string DescribePlace(const DialogueDocument& document, const ProblemPlace& place) {
  if (place.character >= 0 && place.character < static_cast<int>(document.characters.size()))
    return "character " + document.characters[place.character].realName;
  std::string text;
  if (place.branch >= 0 && place.branch < kBranchSlots) {
    const Text& name = document.branch(place.branch).name;
    if (name.empty()) {
      text = "branch ";
      AppendDecimal(text, place.branch + 1);
      text += " (no name)";
    } else {
      text = name;
    }
    if (place.line >= 0) {
      text += ", line ";
      AppendDecimal(text, place.line + 1);
    }
  } else if (place.blockSlot >= 0 && place.blockSlot < kBlockSlots) {
    text = "responseblock ";
    AppendDecimal(text, document.responseBlocks[place.blockSlot].id);
  }
  if (!text.empty() && place.response >= 0) {
    text += ", response ";
    AppendDecimal(text, place.response + 1);
  }
  return text;
}

}  // namespace tellwright
