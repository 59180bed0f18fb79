#include "tools/project_diff_text.h"

#include "base/decimal.h"
#include "tools/project_show.h"

namespace tellwright {

namespace {

std::string Number(int64_t value) {
  std::string text;
  AppendDecimal(text, value);
  return text;
}

// A position counted from 1.
std::string Place(int index) { return Number(int64_t(index) + 1); }

std::string FieldList(const std::vector<std::string_view>& fields) {
  std::string text;
  for (std::string_view field : fields) text += (text.empty() ? "" : ", ") + std::string(field);
  return text;
}

void AppendResponses(std::string& out, const std::vector<ResponseChange>& changes, const std::string& indent) {
  for (const ResponseChange& change : changes) {
    switch (change.kind) {
      case ChangeKind::Added:
        out += indent + "+ Response " + Place(change.newIndex) + ": " + ShowResponse(change.after) + "\n";
        break;
      case ChangeKind::Removed:
        out += indent + "- Response " + Place(change.oldIndex) + ": " + ShowResponse(change.before) + "\n";
        break;
      case ChangeKind::Moved:
        out += indent + "> Response " + Place(change.oldIndex) + " -> " + Place(change.newIndex) + ": " +
               ShowResponse(change.after) + "\n";
        break;
      case ChangeKind::Changed:
        out += indent + "- Response " + Place(change.oldIndex) + ": " + ShowResponse(change.before) + "\n";
        out += indent + "+ Response " + Place(change.newIndex) + ": " + ShowResponse(change.after) + "\n";
        out += indent + "  changed: " + FieldList(change.fields) + "\n";
        break;
    }
  }
}

void AppendLine(std::string& out, const LineChange& change) {
  switch (change.kind) {
    case ChangeKind::Added:
      out += "+ Line " + Place(change.newIndex) + ": " + ShowLine(change.after) + "\n";
      break;
    case ChangeKind::Removed:
      out += "- Line " + Place(change.oldIndex) + ": " + ShowLine(change.before) + "\n";
      break;
    case ChangeKind::Moved:
      out += "> Line " + Place(change.oldIndex) + " -> " + Place(change.newIndex) + ": " + ShowLine(change.after) +
             "\n";
      break;
    case ChangeKind::Changed:
      if (change.before == change.after) {
        // Only the responses it runs changed: the line stands as context.
        out += "  Line " + Place(change.newIndex) + ": " + ShowLine(change.after) + "\n";
      } else {
        out += "- Line " + Place(change.oldIndex) + ": " + ShowLine(change.before) + "\n";
        out += "+ Line " + Place(change.newIndex) + ": " + ShowLine(change.after) + "\n";
        out += "  changed: " + FieldList(change.fields) + "\n";
      }
      break;
  }
  AppendResponses(out, change.responses, "    ");
}

void AppendBranch(std::string& out, const BranchChange& change) {
  out += "@@ Branch " + ShowQuoted(change.newIndex >= 0 ? change.newName : change.oldName);
  if (change.oldIndex < 0) out += ", added";
  if (change.newIndex < 0) out += ", removed";
  if (change.renamed) out += ", renamed from " + ShowQuoted(change.oldName);
  if (change.moved) out += ", moved from " + Place(change.oldIndex) + " to " + Place(change.newIndex);
  out += " @@\n";
  if (change.lineCountChanged)
    out += "  stored line count " + Number(change.oldLineCount) + " -> " + Number(change.newLineCount) + "\n";
  for (const LineChange& line : change.lines) AppendLine(out, line);
}

void AppendCharacter(std::string& out, const CharacterChange& change) {
  switch (change.kind) {
    case ChangeKind::Added:
      out += "+ Character " + ShowCharacter(change.after) + "\n";
      break;
    case ChangeKind::Removed:
      out += "- Character " + ShowCharacter(change.before) + "\n";
      break;
    case ChangeKind::Moved:
      out += "> Character " + ShowQuoted(change.after.realName) + ": moved from " + Place(change.oldIndex) + " to " +
             Place(change.newIndex) + "\n";
      break;
    case ChangeKind::Changed:
      out += "- Character " + ShowCharacter(change.before) + "\n";
      out += "+ Character " + ShowCharacter(change.after) + "\n";
      break;
  }
}

}  // namespace

std::string DiffText(const ProjectDiff& diff) {
  std::string out;
  // A project added or removed as a whole has no path on the other side.
  if ((diff.pathChanged && !diff.added) || diff.removed) out += "- Project path: " + ShowQuoted(diff.oldPath) + "\n";
  if ((diff.pathChanged && !diff.removed) || diff.added) out += "+ Project path: " + ShowQuoted(diff.newPath) + "\n";
  for (const CharacterChange& change : diff.characters) AppendCharacter(out, change);
  for (const BranchChange& change : diff.branches) AppendBranch(out, change);
  for (const BlockChange& change : diff.blocks) {
    out += "@@ Block " + Number(change.id) + ", run by no line";
    if (change.kind != ChangeKind::Changed) out += ", " + std::string(ChangeKindName(change.kind));
    out += " @@\n";
    AppendResponses(out, change.responses, "    ");
  }
  return out;
}

}  // namespace tellwright
