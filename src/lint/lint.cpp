#include "lint/lint.h"

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

FolderLookup FileSystemFolderLookup() { return {}; }

std::vector<Problem> LintDialogue(const DialogueDocument&, const LintOptions&) { return {}; }

std::string DescribePlace(const DialogueDocument&, const ProblemPlace&) { return {}; }

}  // namespace tellwright
