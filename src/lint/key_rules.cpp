// String-table keys: a text "/KEY/rest" shows the loaded table's entry KEY
// (export/engine_text.h). A table holds one text per key, one key a line.
#include <optional>
#include <string>
#include <string_view>

#include "export/engine_text.h"
#include "lint/lint_run.h"

namespace tellwright::lint {

void LintTextKey(LintRun& run, std::string_view text, const ProblemPlace& place, std::string_view what) {
  std::string subject = "The ";
  subject += what;
  if (text.empty() || text.front() != '/') {
    if (run.usesKeys() && !text.empty())
      run.add(Severity::Warning, place, "string-key-missing",
              "The project gives its texts string-table keys, but the " + std::string(what) +
                  " has none: the game shows it in the base language whatever table it loads.",
              "Assign keys (Dialogue > Localisation > Assign keys, or tellwright-cli strings assign).",
              ProblemField::Text);
    return;
  }
  std::string read = UnescapedScriptString(text);
  std::optional<StringTableText> split = SplitStringTableText(read);
  if (!split) return;
  if (std::optional<std::string_view> fault = StringKeyFault(split->key)) {
    std::string message = subject + " starts with the string-table key " + Quoted(split->key) + ", but " +
                          std::string(*fault) + ": no string table can hold it, so the text is never translated.";
    if (split->key.empty())
      message = subject + " starts with '//', which the engine reads as an empty string-table key: no string "
                          "table can hold it, so the text is never translated.";
    run.add(Severity::Warning, place, "string-key-malformed", std::move(message),
            "Put a key of letters, digits and '_' between the two '/', or remove them.", ProblemField::Text);
    return;
  }
  const ProblemPlace* first = run.firstWithKey(split->key);
  if (first && !(*first == place))
    run.add(Severity::Error, place, "string-key-duplicate",
            "The string-table key " + Quoted(split->key) + " of the " + std::string(what) + " is also the key of " +
                run.describe(*first) +
                " (letter case aside): a table holds one text per key and the engine keeps only the last, so both "
                "show the same text.",
            "Give the text a key of its own: remove its key and assign keys again.", ProblemField::Text);
}

}  // namespace tellwright::lint
