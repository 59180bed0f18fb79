#include "tools/project_show.h"

#include <set>

#include "base/decimal.h"
#include "tools/project_records.h"

namespace tellwright {

namespace {

std::string Escaped(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::string Number(int64_t value) {
  std::string text;
  AppendDecimal(text, value);
  return text;
}

std::string Speaker(std::string_view character) { return character.empty() ? "(nobody)" : Escaped(character); }

std::string VisibilityName(int32_t visibility) {
  switch (visibility) {
    case kAlways:
      return "Always";
    case kOnce:
      return "Once";
    case kOnceGame:
      return "Once Game";
    default:
      return "visibility " + Number(visibility);
  }
}

// A flag by its name, with its number when it is neither 0 nor 1.
std::string Flag(std::string_view name, int32_t value) {
  if (value == 0) return "";
  std::string text = ", " + std::string(name);
  return value == 1 ? text : text + " " + Number(value);
}

void AppendResponses(std::string& out, const std::vector<Response>& responses) {
  for (size_t r = 0; r < responses.size(); ++r)
    out += "    Response " + Number(static_cast<int64_t>(r + 1)) + ": " + ShowResponse(responses[r]) + "\n";
}

void AppendBranch(std::string& out, const BranchRecord& branch, int number, const BlockLookup& blocks,
                  std::set<int32_t>& idsRun) {
  out += "Branch " + Number(number) + " " + ShowQuoted(branch.name) + ", " + Number(branch.lines.size()) +
         (branch.lines.size() == 1 ? " line" : " lines");
  if (branch.lineCountOffset() != 0) out += " (stored line count " + Number(branch.lineCount) + ")";
  out += "\n";
  for (size_t l = 0; l < branch.lines.size(); ++l) {
    const DialogueLine& line = branch.lines[l];
    out += "  Line " + Number(static_cast<int64_t>(l + 1)) + ": " + ShowLine(line) + "\n";
    if (KindOf(line.kind) != LineKind::Response) continue;
    idsRun.insert(line.blockId);
    if (const std::vector<Response>* responses = blocks.responsesOf(line.blockId))
      AppendResponses(out, *responses);
    else
      out += "    (no block has the id " + Number(line.blockId) + ")\n";
  }
}

}  // namespace

std::string ShowQuoted(std::string_view text) { return "\"" + Escaped(text) + "\""; }

std::string ShowLine(const DialogueLine& line) {
  std::string out = Escaped(line.kind);
  LineKind kind = KindOf(line.kind);
  if (kind == LineKind::Response) {
    out += " " + Speaker(line.character) + ", block " + Number(line.blockId);
    if (!line.text.empty()) out += " " + ShowQuoted(line.text);
  } else {
    if (kind == LineKind::Talk || !line.character.empty()) out += " " + Speaker(line.character) + ":";
    out += " " + ShowQuoted(line.text);
    if (line.blockId != 0) out += "  block " + Number(line.blockId);
  }
  if (!line.soundFile.empty()) out += "  sound " + ShowQuoted(line.soundFile);
  return out;
}

std::string ShowResponse(const Response& response) {
  std::string out = ShowQuoted(response.text);
  if (!response.linkBranch.empty()) out += " -> " + Escaped(response.linkBranch);
  out += "  " + VisibilityName(response.visibility) + Flag("leave loop", response.leaveLoop) +
         Flag("say", response.sayResponse);
  if (!response.conditions.empty()) out += "  if " + ShowQuoted(response.conditions);
  return out;
}

std::string ShowCharacter(const Character& character) {
  return ShowQuoted(character.realName) + ", entity " + ShowQuoted(character.entityName);
}

std::string ShowProject(const DialogueDocument& document) {
  ProjectRecords records = RecordsOf(document);
  BlockLookup blocks(records);
  std::string out = "Project path: " + ShowQuoted(records.engineProjectPath) + "\n";
  for (const Character& character : records.characters) out += "Character " + ShowCharacter(character) + "\n";
  std::set<int32_t> idsRun;
  for (size_t b = 0; b < records.branches.size(); ++b)
    AppendBranch(out, records.branches[b], static_cast<int>(b + 1), blocks, idsRun);
  // A block is shown under the lines that run it; a second block with the
  // same id is run by none.
  std::set<int32_t> idsShown;
  for (const BlockRecord& block : records.blocks) {
    bool shown = idsRun.count(block.id) > 0 && idsShown.insert(block.id).second;
    if (shown) continue;
    out += "Block " + Number(block.id) + ", run by no line\n";
    AppendResponses(out, block.responses);
  }
  return out;
}

}  // namespace tellwright
