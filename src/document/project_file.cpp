#include "document/project_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/decimal.h"
#include "document/line_reader.h"
#include "os/atomic_write.h"
#include "os/file_names.h"

namespace tellwright {

namespace {

constexpr std::string_view kEndCharList = "##ENDCHARLIST##";
constexpr std::string_view kBranchMarker = "##DIALOGBRANCH##";
constexpr std::string_view kEndBranch = "##ENDBRANCH##";
constexpr std::string_view kBlockMarker = "##RESPONSEBLOCK##";
constexpr std::string_view kEndResponse = "##ENDRESPONSE##";

void Put(std::string& out, std::string_view text) {
  out.append(text);
  out.push_back('\n');
}

void PutNumber(std::string& out, int64_t value) {
  AppendDecimal(out, value);
  out.push_back('\n');
}

void WriteBranch(std::string& out, const DialogueBranch& branch) {
  Put(out, kBranchMarker);
  Put(out, branch.name);
  PutNumber(out, branch.lineCount);
  for (int j = 0; j < kLinesPerBranch; ++j) {
    const DialogueLine& line = branch.lines[j];
    if (line.kind.empty()) {
      Put(out, kEndBranch);
      return;
    }
    Put(out, line.kind);
    Put(out, line.character);
    Put(out, line.text);
    Put(out, line.soundFile);
    PutNumber(out, line.blockId);
  }
}

void WriteBlock(std::string& out, const ResponseBlock& block) {
  Put(out, kBlockMarker);
  PutNumber(out, block.id);
  for (int l = 0; l < kResponsesPerBlock; ++l) {
    const Response& response = block.responses[l];
    if (response.text.empty()) {
      Put(out, kEndResponse);
      return;
    }
    Put(out, response.text);
    Put(out, response.conditions);
    Put(out, response.linkBranch);
    PutNumber(out, response.visibility);
    PutNumber(out, response.leaveLoop);
    PutNumber(out, response.sayResponse);
  }
}

Status Damaged(const LineReader& reader, const std::string& what) {
  return Status::Error(what + "; the file is damaged", reader.lineNumber());
}

// A count read from the file must fit its table; anything else means the
// file is damaged, and it is refused before anything is stored.
bool ReadCount(LineReader& reader, int32_t low, int32_t high, int32_t& value) {
  value = ParseDecimal(reader.next());
  return value >= low && value <= high;
}

Status ReadCharacters(LineReader& reader, DialogueDocument& out) {
  for (;;) {
    // Without its end marker the rest of the file would be read as
    // characters: a file that stops here is not a project file.
    if (reader.atEnd()) {
      reader.next();  // the missing line is the one the fault is reported at
      return Damaged(reader, "the character list does not end with \"" + std::string(kEndCharList) + "\"");
    }
    std::string_view realName = reader.next();
    if (realName == kEndCharList) return Status::Ok();
    Character character;
    character.realName = realName;
    character.entityName = reader.next();
    out.characters.push_back(std::move(character));
  }
}

Status ReadBranch(LineReader& reader, DialogueBranch& branch) {
  reader.next();  // "##DIALOGBRANCH##", not compared
  branch.name = reader.next();
  if (!ReadCount(reader, 0, kLinesPerBranch, branch.lineCount))
    return Damaged(reader, "line count " + std::to_string(branch.lineCount) + " of branch \"" + branch.name +
                               "\" is outside 0 to " + std::to_string(kLinesPerBranch));
  branch.lines.reserve(branch.lineCount);
  for (int j = 0; j < kLinesPerBranch && !reader.atEnd(); ++j) {
    std::string_view kind = reader.next();
    if (kind == kEndBranch) break;
    // Braced initialisation reads the five lines in order.
    branch.lines.slot(j) = DialogueLine{std::string(kind), std::string(reader.next()), std::string(reader.next()),
                                        std::string(reader.next()), ParseDecimal(reader.next())};
  }
  return Status::Ok();
}

void ReadBlock(LineReader& reader, ResponseBlock& block) {
  reader.next();  // "##RESPONSEBLOCK##", not compared
  block.id = ParseDecimal(reader.next());
  for (int l = 0; l < kResponsesPerBlock && !reader.atEnd(); ++l) {
    std::string_view text = reader.next();
    if (text == kEndResponse) break;
    block.responses.slot(l) = Response{std::string(text),           std::string(reader.next()),
                                       std::string(reader.next()),  ParseDecimal(reader.next()),
                                       ParseDecimal(reader.next()), ParseDecimal(reader.next())};
  }
}

// Everything after the last of the 500 block slots must be empty lines.
Status CheckNothingAfterBlocks(LineReader& reader) {
  while (!reader.atEnd())
    if (!reader.next().empty())
      return Damaged(reader, "more than " + std::to_string(kBlockSlots) + " response blocks");
  return Status::Ok();
}

// Reading past the end of the file yields empty lines, so a truncated file
// loads with its missing fields empty; the loops stop at the end because the
// rest would only be empty slots.
Status ReadProjectLines(LineReader& reader, DialogueDocument& out) {
  if (reader.atEnd()) return Status::Error("the file is empty; it is not a project file");
  if (reader.next() == kProjectVersionLine) out.engineProjectPath = reader.next();
  if (Status status = ReadCharacters(reader, out); !status) return status;
  int32_t lastBranchIndex = 0;
  if (!ReadCount(reader, 0, kBranchSlots - 1, lastBranchIndex))
    return Damaged(reader, "last branch index " + std::to_string(lastBranchIndex) + " is outside 0 to " +
                               std::to_string(kBranchSlots - 1));
  out.lastBranchIndex = lastBranchIndex;
  out.currentBranch = 0;
  out.branches.clear();
  out.branches.reserve(lastBranchIndex + 1);
  for (int i = 0; i <= lastBranchIndex && !reader.atEnd(); ++i)
    if (Status status = ReadBranch(reader, out.branches.slot(i)); !status) return status;
  out.responseBlocks.clear();
  for (int k = 0; k < kBlockSlots && !reader.atEnd(); ++k) ReadBlock(reader, out.responseBlocks.slot(k));
  return CheckNothingAfterBlocks(reader);
}

}  // namespace

namespace {

// An upper bound of the file size, so the text is built without regrowing.
size_t EstimatedSize(const DialogueDocument& document) {
  constexpr size_t kNumber = 12;
  size_t size = 64 + document.engineProjectPath.size();
  for (const Character& character : document.characters) size += character.realName.size() + character.entityName.size() + 2;
  for (int i = 0; i < document.branches.stored(); ++i) {
    const DialogueBranch& branch = document.branches[i];
    size += 32 + branch.name.size() + kNumber;
    for (int j = 0; j < branch.lines.stored(); ++j) {
      const DialogueLine& line = branch.lines[j];
      size += line.kind.size() + line.character.size() + line.text.size() + line.soundFile.size() + 4 + kNumber;
    }
  }
  for (int k = 0; k < document.responseBlocks.stored(); ++k) {
    const ResponseBlock& block = document.responseBlocks[k];
    size += 36 + kNumber;
    for (int l = 0; l < block.responses.stored(); ++l) {
      const Response& response = block.responses[l];
      size += response.text.size() + response.conditions.size() + response.linkBranch.size() + 3 + 3 * kNumber;
    }
  }
  return size;
}

}  // namespace

std::string WriteProject(const DialogueDocument& document) {
  std::string out;
  out.reserve(EstimatedSize(document));
  Put(out, kProjectVersionLine);
  Put(out, document.engineProjectPath);
  for (const Character& character : document.characters) {
    Put(out, character.realName);
    Put(out, character.entityName);
  }
  Put(out, kEndCharList);
  int lastBranchIndex = std::clamp(document.lastBranchIndex, 0, kBranchSlots - 1);
  PutNumber(out, lastBranchIndex);
  for (int i = 0; i <= lastBranchIndex; ++i) WriteBranch(out, document.branches[i]);
  for (int k = 0; k < document.responseBlocks.stored(); ++k)
    if (document.responseBlocks[k].inUse()) WriteBlock(out, document.responseBlocks[k]);
  return out;
}

Status ReadProject(std::string_view bytes, DialogueDocument& out) {
  LineReader reader(bytes);
  return ReadProjectLines(reader, out);
}

Status LoadProject(const std::string& path, DialogueDocument& document) {
  std::error_code ec;
  if (std::filesystem::is_directory(FileSystemPath(path), ec))
    return Status::Error("cannot open \"" + path + "\": " + std::strerror(EISDIR));
  std::FILE* file = OpenFile(path, "rb");
  if (!file) return Status::Error("cannot open \"" + path + "\": " + std::strerror(errno));
  DialogueDocument fresh;
  fresh.engineProjectPath = document.engineProjectPath;
  LineReader reader(file);
  Status status = ReadProjectLines(reader, fresh);
  bool readFailed = reader.failed();
  std::fclose(file);
  if (readFailed) return Status::Error("cannot read \"" + path + "\"", reader.lineNumber());
  if (!status) return status;
  fresh.currentFile = path;
  fresh.changed = 0;
  document = std::move(fresh);
  return Status::Ok();
}

Status SaveProject(const DialogueDocument& document, const std::string& path) {
  return WriteFileAtomically(path, WriteProject(document));
}

}  // namespace tellwright
