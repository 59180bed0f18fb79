// Texts the exports write between double quotes: the script's string
// literals, where '~' escapes the next character ('~"' a double quote, '~n'
// a line break, '~~' a tilde) and the engine takes at most 4095 bytes.
#include <string>
#include <string_view>

#include "base/decimal.h"
#include "lint/lint_run.h"

namespace tellwright::lint {

namespace {

constexpr size_t kLongestString = 4095;

struct LiteralScan {
  bool quote = false;            // an unescaped double quote
  bool trailingTilde = false;    // a last '~' that escapes the closing quote
  std::string_view strayEscape;  // the first '~' with a character it has no meaning for
  size_t length = 0;             // bytes after escapes
};

LiteralScan Scan(std::string_view text) {
  LiteralScan scan;
  for (size_t i = 0; i < text.size(); ++i) {
    ++scan.length;
    if (text[i] == '"') {
      scan.quote = true;
    } else if (text[i] == '~') {
      if (i + 1 == text.size()) {
        scan.trailingTilde = true;
        break;
      }
      char next = text[i + 1];
      if (next != '"' && next != '~' && next != 'n' && scan.strayEscape.empty()) scan.strayEscape = text.substr(i, 2);
      ++i;
    }
  }
  return scan;
}

}  // namespace

void LintStringLiteral(LintRun& run, std::string_view text, const ProblemPlace& place, ProblemField field,
                       std::string_view what) {
  // Two scans for one byte each are much faster than one for either.
  if (text.find('"') == std::string_view::npos && text.find('~') == std::string_view::npos &&
      text.size() <= kLongestString)
    return;
  LiteralScan scan = Scan(text);
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
