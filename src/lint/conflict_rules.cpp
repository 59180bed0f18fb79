// What a merge of two versions of the project left for the writer to
// decide: both versions of a change between conflict markers.
#include "document/conflict_markers.h"
#include "lint/lint_run.h"

namespace tellwright::lint {

namespace {

constexpr std::string_view kRule = "merge-conflict";

void LintMarker(LintRun& run, std::string_view text, const ProblemPlace& place, std::string_view records) {
  if (!IsConflictMarker(text)) return;
  std::string what(records);
  std::string message =
      text.starts_with("<<<<<<<")
          ? "A merge left a conflict here: the " + what + " up to " + Quoted(kTheirsMarker) +
                " hold both versions of a change (ours, then theirs after " + Quoted(kSeparatorMarker) +
                "), and the exports write them all, markers included."
          : "A merge's conflict marker " + Quoted(text) + " is left here; the exports write it like any other.";
  run.add(Severity::Error, place, kRule, std::move(message),
          "Keep the version you want, then delete the other one and the markers " + Quoted(kOursMarker) + ", " +
              Quoted(kSeparatorMarker) + " and " + Quoted(kTheirsMarker) + ".",
          ProblemField::Text);
}

}  // namespace

void LintConflictMarkerLine(LintRun& run, int b, int l) {
  LintMarker(run, run.document().branch(b).lines[l].text, {.branch = b, .line = l}, "lines");
}

void LintConflictMarkerResponses(LintRun& run, const ResponseBlock& block, int offered, const ProblemPlace& at) {
  ProblemPlace place = at;
  for (int r = 0; r < offered; ++r) {
    place.response = r;
    LintMarker(run, block.responses[r].text, place, "responses");
  }
}

}  // namespace tellwright::lint
