#include "tools/string_check.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "base/path_names.h"
#include "base/utf8_text.h"
#include "export/engine_text.h"
#include "os/atomic_write.h"
#include "tools/base_strings.h"

namespace tellwright {

namespace {

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '\n' ? '|' : c;
  return quoted + "\"";
}

// The project's keyed texts by folded key.
class ProjectKeys {
 public:
  explicit ProjectKeys(const DialogueDocument& document)
      : document_(document), base_(CollectBaseStrings(document)) {
    for (const BaseString& string : base_.strings) byKey_[FoldedStringKey(string.key)].push_back(&string);
  }

  // The base strings with `key`, first use first; empty when the project
  // has no such key.
  const std::vector<const BaseString*>& withKey(std::string_view key) const {
    static const std::vector<const BaseString*> kNone;
    auto found = byKey_.find(FoldedStringKey(key));
    return found == byKey_.end() ? kNone : found->second;
  }

  bool hasText(std::string_view key, std::string_view text) const {
    const auto& strings = withKey(key);
    return std::any_of(strings.begin(), strings.end(), [&](const BaseString* s) { return s->text == text; });
  }

  // A finding for every key the translation lacks, in the project's order.
  template <typename Has>
  void addMissing(std::vector<TranslationFinding>& findings, Has&& translationHas) const {
    std::unordered_set<std::string> reported;
    for (const BaseString& string : base_.strings) {
      std::string folded = FoldedStringKey(string.key);
      if (translationHas(folded) || !reported.insert(folded).second) continue;
      const ProblemPlace& place = string.uses.front().place;
      findings.push_back({TranslationFault::Missing, Severity::Error, 0, string.key,
                          "the key " + Quoted(string.key) + " is missing (" +
                              Cp1252ToUtf8(DescribePlace(document_, place)) + ": " + Quoted(string.text) +
                              "): the game shows the base text there",
                          place});
    }
  }

  ProblemPlace placeOf(std::string_view key) const {
    const auto& strings = withKey(key);
    return strings.empty() ? ProblemPlace{} : strings.front()->uses.front().place;
  }

 private:
  const DialogueDocument& document_;
  BaseStrings base_;
  std::unordered_map<std::string, std::vector<const BaseString*>> byKey_;
};

TranslationFinding NotInProject(const std::string& key, int line) {
  return {TranslationFault::NotInProject, Severity::Warning, line, key,
          "the project has no text with the key " + Quoted(key) + " (any longer)", {}};
}

TranslationFault FaultOf(TableNote::Kind kind) {
  switch (kind) {
    case TableNote::kDuplicate:
      return TranslationFault::Duplicate;
    case TableNote::kCut:
      return TranslationFault::Cut;
    default:
      return TranslationFault::Unreadable;
  }
}

void SortByLine(std::vector<TranslationFinding>& findings) {
  std::stable_sort(findings.begin(), findings.end(),
                   [](const TranslationFinding& a, const TranslationFinding& b) { return a.line < b.line; });
}

}  // namespace

std::vector<TranslationFinding> CheckStringTable(const DialogueDocument& document, const StringTable& table) {
  ProjectKeys project(document);
  std::vector<TranslationFinding> findings;
  std::unordered_map<std::string, const StringTableEntry*> used;  // folded key -> the entry the engine keeps
  for (const StringTableEntry& entry : table.entries) used[FoldedStringKey(entry.key)] = &entry;
  project.addMissing(findings, [&](const std::string& folded) { return used.count(folded) > 0; });

  for (const TableNote& note : table.notes)
    findings.push_back({FaultOf(note.kind), Severity::Warning, note.line, note.key, note.message,
                        project.placeOf(note.key)});
  for (const StringTableEntry& entry : table.entries) {
    if (project.withKey(entry.key).empty()) {
      findings.push_back(NotInProject(entry.key, entry.line));
    } else if (used[FoldedStringKey(entry.key)] == &entry && project.hasText(entry.key, entry.text)) {
      findings.push_back({TranslationFault::Untranslated, Severity::Warning, entry.line, entry.key,
                          "the text of " + Quoted(entry.key) + " is the base text: not translated",
                          project.placeOf(entry.key)});
    }
  }
  SortByLine(findings);
  return findings;
}

std::vector<TranslationFinding> CheckPoFile(const DialogueDocument& document, const PoFile& file) {
  ProjectKeys project(document);
  std::vector<TranslationFinding> findings;
  std::unordered_map<std::string, int> firstLine;  // folded msgctxt -> its first entry's line
  for (const PoEntry& entry : file.entries)
    if (entry.hasContext) firstLine.try_emplace(FoldedStringKey(entry.context), entry.line);
  project.addMissing(findings, [&](const std::string& folded) { return firstLine.count(folded) > 0; });

  for (const PoEntry& entry : file.entries) {
    const std::string& key = entry.context;
    auto add = [&](TranslationFault fault, std::string message) {
      findings.push_back({fault, Severity::Warning, entry.line, key, std::move(message), project.placeOf(key)});
    };
    if (!entry.hasContext) {
      add(TranslationFault::Unreadable,
          "the entry for " + Quoted(entry.id) + " has no msgctxt, so no key: the table leaves it out");
      continue;
    }
    if (int first = firstLine[FoldedStringKey(key)]; first != entry.line)
      add(TranslationFault::Duplicate, "the key " + Quoted(key) + " is defined again (first on line " +
                                           std::to_string(first) + "); the game keeps the later entry");
    const auto& base = project.withKey(key);
    if (base.empty()) {
      findings.push_back(NotInProject(key, entry.line));
    } else if (entry.str.empty()) {
      add(TranslationFault::Untranslated, "the entry " + Quoted(key) + " is not translated (its msgstr is empty)");
    } else if (entry.fuzzy) {
      add(TranslationFault::Fuzzy, "the translation of " + Quoted(key) +
                                       " is marked fuzzy: taken as untranslated, the table leaves it out");
    } else if (!project.hasText(key, entry.id)) {
      add(TranslationFault::Stale, "the translation of " + Quoted(key) + " was made from " + Quoted(entry.id) +
                                       ", but the base text is now " + Quoted(base.front()->text) +
                                       ": translate it again");
    } else if (entry.str == entry.id) {
      add(TranslationFault::Untranslated, "the text of " + Quoted(key) + " is the base text: not translated");
    }
  }
  SortByLine(findings);
  return findings;
}

TranslationCheck CheckTranslationFile(const DialogueDocument& document, const std::string& path) {
  TranslationCheck check;
  std::string bytes;
  if (check.status = ReadWholeFile(path, bytes); !check.status) return check;
  if (!EndsWithExtension(path, ".po") && !EndsWithExtension(path, kPoTemplateExtension)) {
    check.findings = CheckStringTable(document, ReadStringTable(bytes));
    return check;
  }
  PoRead read = ReadPoFile(bytes);
  check.status = read.status;
  if (read.status) check.findings = CheckPoFile(document, read.file);
  return check;
}

TranslationTable ReadTranslationTable(const std::string& path) {
  TranslationTable result;
  std::string bytes;
  if (result.status = ReadWholeFile(path, bytes); !result.status) return result;
  if (!EndsWithExtension(path, ".po") && !EndsWithExtension(path, kPoTemplateExtension)) {
    result.table = ReadStringTable(bytes);
    return result;
  }
  PoRead read = ReadPoFile(bytes);
  if (result.status = read.status; !result.status) return result;
  PoImport imported = TableFromPo(read.file, TableEncoding::Utf8);
  if (result.status = imported.status; !result.status) return result;
  result.table = ReadStringTable(imported.table);
  return result;
}

Problem AsProblem(const TranslationFinding& finding, std::string_view fileName) {
  static const struct {
    TranslationFault fault;
    const char* rule;
    const char* hint;
  } kRules[] = {
      {TranslationFault::Missing, "translation-missing", "Add the key's translation to the file."},
      {TranslationFault::NotInProject, "translation-not-in-project",
       "Delete the entry, unless a text of the project should have its key."},
      {TranslationFault::Untranslated, "translation-untranslated", "Translate the text."},
      {TranslationFault::Fuzzy, "translation-fuzzy", "Check the translation and clear its fuzzy mark."},
      {TranslationFault::Stale, "translation-stale", "Translate the text again from its new base text."},
      {TranslationFault::Duplicate, "translation-duplicate", "Delete all but one entry for the key."},
      {TranslationFault::Cut, "translation-cut", "Save the file with CR LF line ends."},
      {TranslationFault::Unreadable, "translation-unreadable", "Correct the line."},
  };
  const auto& rule = *std::find_if(std::begin(kRules), std::end(kRules),
                                   [&](const auto& r) { return r.fault == finding.fault; });
  std::string message(fileName);
  if (finding.line > 0) message += ":" + std::to_string(finding.line);
  message += ": " + finding.message;
  return {.severity = finding.severity,
          .place = finding.place,
          .rule = rule.rule,
          .message = Utf8ToCp1252Replacing(message),
          .hint = rule.hint,
          .field = finding.place.branch >= 0 ? ProblemField::Text : ProblemField::Record};
}

bool AnyMissingKey(const std::vector<TranslationFinding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const TranslationFinding& f) { return f.fault == TranslationFault::Missing; });
}

}  // namespace tellwright
