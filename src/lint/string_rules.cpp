// Texts the exports write between double quotes: the script's string
// literals, where '~' escapes the next character ('~"' a double quote, '~n'
// a line break, '~~' a tilde; see export/engine_text.h) and the engine takes
// at most 4095 bytes.
#include <string>
#include <string_view>

#include "base/decimal.h"
#include "export/engine_text.h"
#include "lint/lint_run.h"

namespace tellwright::lint {

namespace {

constexpr size_t kLongestString = 4095;

}  // namespace

void LintStringLiteral(LintRun& run, std::string_view text, const ProblemPlace& place, ProblemField field,
                       std::string_view what) {
  // Two scans for one byte each are much faster than one for either.
  if (text.find('"') == std::string_view::npos && text.find('~') == std::string_view::npos &&
      text.size() <= kLongestString)
    return;
  ScriptStringScan scan = ScanScriptString(text);
  std::string subject = "The ";
  subject += what;
  if (scan.quote) {
    run.add(Severity::Error, place, "string-quote",
            subject + " holds a double quote, which ends the script's string early. The script will not compile.",
            "Write ~\" for a double quote, or use single quotes.", field);
  }
  if (scan.trailingTilde) {
    run.add(Severity::Error, place, "string-tilde-end",
            subject +
                " ends in '~', which escapes the closing double quote: the string never ends and the "
                "script will not compile.",
            "Write ~~ for a tilde.", field);
  }
  if (!scan.strayEscape.empty()) {
    run.add(Severity::Warning, place, "string-tilde",
            subject + " holds " + Quoted(scan.strayEscape) +
                ": in the script '~' starts an escape, so the text is not shown as written.",
            "Write ~~ for a tilde (~n is a line break, ~\" a double quote).", field);
  }
  if (scan.length > kLongestString) {
    std::string message = subject + " is ";
    AppendDecimal(message, static_cast<int64_t>(scan.length));
    run.add(Severity::Error, place, "string-too-long",
            message + " bytes long in the script; the engine takes at most 4095 (\"String constant too long\").",
            "Split the text over several lines.", field);
  }
}

}  // namespace tellwright::lint
