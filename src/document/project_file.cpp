#include "document/project_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/decimal.h"
#include "base/text_arena.h"
#include "base/utf8_text.h"
#include "document/file_encoding.h"
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

void Put(OutputBuffer& out, std::string_view text) {
  out.append(text);
  out.append('\n');
}

void PutNumber(OutputBuffer& out, int64_t value) {
  out.append(value);
  out.append('\n');
}

void WriteBranch(OutputBuffer& out, const DialogueBranch& branch) {
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
    out.endPiece();
  }
}

void WriteBlock(OutputBuffer& out, const ResponseBlock& block) {
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
    out.endPiece();
  }
}

// A document text quoted in a message, which is UTF-8 like the file names
// messages name.
std::string Quoted(std::string_view text) { return "\"" + Cp1252ToUtf8(text) + "\""; }

// Reads the records of a project file in order. The counts and the table
// sizes say where records end; what the file holds beyond them means it is
// damaged, and it is refused rather than loaded in part. Reading past the end
// yields empty lines, so a file cut short loads with its missing fields
// empty, and says where it ends.
class ProjectReader {
 public:
  explicit ProjectReader(LineReader& reader) : reader_(reader) {}

  LoadResult read(DialogueDocument& out) {
    if (reader_.atEnd()) return Status::Error("the file is empty; it is not a project file");
    std::string_view first = reader_.next();
    if (std::string encoding = ForeignEncoding(first); !encoding.empty()) return Status::Error(encoding, 1);
    if (first == kProjectVersionLine) out.engineProjectPath = reader_.next();
    if (Status status = readCharacters(out); !status) return status;
    if (Status status = readBranches(out); !status) return status;
    if (Status status = readBlocks(out); !status) return status;
    LoadResult result;
    if (endsEarly_ || reader_.readPastEnd())
      result.warnings.push_back({"the file ends early; what it lacks is loaded empty", reader_.lastLineOfFile()});
    return result;
  }

 private:
  Status damaged(const std::string& what) const {
    return Status::Error(what + "; the file is damaged", reader_.lineNumber());
  }

  // A count read from the file must fit its table; anything else means the
  // file is damaged, and it is refused before anything is stored.
  Status readCount(std::string_view what, std::string_view whose, int32_t low, int32_t high, int32_t& value) {
    std::string_view text = reader_.next();
    value = ParseDecimal(text);
    if (value >= low && value <= high) return Status::Ok();
    return damaged(std::string(what) + " " + std::string(DecimalText(text)) + std::string(whose) + " is outside " +
                   std::to_string(low) + " to " + std::to_string(high));
  }

  Status readCharacters(DialogueDocument& out) {
    for (;;) {
      // Without its end marker the rest of the file would be read as
      // characters: a file that stops here is not a project file.
      if (reader_.atEnd()) {
        reader_.next();  // the missing line is the one the fault is reported at
        return damaged("the character list does not end with \"" + std::string(kEndCharList) + "\"");
      }
      std::string_view realName = reader_.next();
      if (realName == kEndCharList) return Status::Ok();
      Character character;
      character.realName = texts_.shared(realName);
      character.entityName = texts_.add(reader_.next());
      out.characters.push_back(std::move(character));
    }
  }

  Status readBranches(DialogueDocument& out) {
    int32_t lastBranchIndex = 0;
    if (Status status = readCount("last branch index", "", 0, kBranchSlots - 1, lastBranchIndex); !status)
      return status;
    branchCount_ = lastBranchIndex + 1;
    branchCountLine_ = reader_.lineNumber();
    out.lastBranchIndex = lastBranchIndex;
    out.currentBranch = 0;
    out.branches.clear();
    out.branches.reserve(branchCount_);
    for (int i = 0; i < branchCount_; ++i) {
      if (reader_.atEnd()) {
        endsEarly_ = true;
        break;
      }
      if (Status status = readBranch(out.branches.slot(i)); !status) return status;
    }
    return Status::Ok();
  }

  // The marker line in front of a record is not compared, except where it
  // tells the records apart: after a full table (which has no end marker),
  // and where a record of the other kind begins.
  Status readMarker(std::string_view expected, std::string_view otherKind, const std::string& otherKindFault) {
    std::string_view marker = reader_.next();
    if (marker == otherKind) return damaged(otherKindFault);
    if (!fullTableBefore_.empty() && marker != expected) return damaged(fullTableBefore_);
    fullTableBefore_.clear();
    return Status::Ok();
  }

  // The first line of the next record of a table, or nothing where the
  // table ends: at its end marker, or at the end of the file, which then
  // ends early.
  std::optional<std::string_view> nextRecord(std::string_view endMarker) {
    if (reader_.atEnd()) {
      endsEarly_ = true;
      return std::nullopt;
    }
    std::string_view first = reader_.next();
    if (first == endMarker) return std::nullopt;
    return first;
  }

  std::string countedBranches() const {
    return "announced on line " + std::to_string(branchCountLine_) + " (last branch index " +
           std::to_string(branchCount_ - 1) + ")";
  }

  Status readBranch(DialogueBranch& branch) {
    if (Status status = readMarker(kBranchMarker, kBlockMarker, "fewer branches than " + countedBranches()); !status)
      return status;
    branch.name = texts_.add(reader_.next());
    if (Status status =
            readCount("line count", " of branch " + Quoted(branch.name), 0, kLinesPerBranch, branch.lineCount);
        !status)
      return status;
    branch.lines.reserve(branch.lineCount);
    for (int j = 0; j < kLinesPerBranch; ++j) {
      std::optional<std::string_view> kind = nextRecord(kEndBranch);
      if (!kind) return Status::Ok();
      // Braced initialisation reads the five lines in order.
      branch.lines.slot(j) = DialogueLine{KindText(*kind), texts_.shared(reader_.next()), texts_.add(reader_.next()),
                                          texts_.add(reader_.next()), ParseDecimal(reader_.next())};
    }
    fullTableBefore_ =
        "branch " + Quoted(branch.name) + " holds more than " + std::to_string(kLinesPerBranch) + " lines";
    return Status::Ok();
  }

  // Blocks run to the end of the file, which may end in blank lines.
  Status readBlocks(DialogueDocument& out) {
    out.responseBlocks.clear();
    for (int k = 0; k < kBlockSlots; ++k) {
      if (reader_.onlyLineEndsLeft()) return Status::Ok();
      if (Status status = readBlock(out.responseBlocks.slot(k)); !status) return status;
    }
    if (reader_.onlyLineEndsLeft()) return Status::Ok();
    while (reader_.next().empty()) {
    }
    return damaged("more than " + std::to_string(kBlockSlots) + " response blocks");
  }

  Status readBlock(ResponseBlock& block) {
    if (Status status = readMarker(kBlockMarker, kBranchMarker, "more branches than " + countedBranches()); !status)
      return status;
    block.id = ParseDecimal(reader_.next());
    for (int l = 0; l < kResponsesPerBlock; ++l) {
      std::optional<std::string_view> text = nextRecord(kEndResponse);
      if (!text) return Status::Ok();
      block.responses.slot(l) =
          Response{texts_.add(*text),            texts_.add(reader_.next()),   texts_.shared(reader_.next()),
                   ParseDecimal(reader_.next()), ParseDecimal(reader_.next()), ParseDecimal(reader_.next())};
    }
    fullTableBefore_ = "response block " + std::to_string(block.id) + " holds more than " +
                       std::to_string(kResponsesPerBlock) + " responses";
    return Status::Ok();
  }

  LineReader& reader_;
  // The texts of the file share a few large blocks of memory.
  TextArena texts_;
  int branchCount_ = 0;
  int branchCountLine_ = 0;
  // The fault to report when the record after a full table does not start
  // with its marker; "" when the record before was not full.
  std::string fullTableBefore_;
  bool endsEarly_ = false;
};

}  // namespace

void WriteProject(const DialogueDocument& document, OutputBuffer& out) {
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
  out.flush();
}

std::string WriteProject(const DialogueDocument& document) {
  OutputBuffer out;
  WriteProject(document, out);
  return out.take();
}

LoadResult ReadProject(std::string_view bytes, DialogueDocument& out) {
  LineReader reader(bytes);
  return ProjectReader(reader).read(out);
}

LoadResult LoadProject(const std::string& path, DialogueDocument& document) {
  std::error_code ec;
  if (std::filesystem::is_directory(FileSystemPath(path), ec))
    return Status::Error("cannot open \"" + path + "\": " + std::strerror(EISDIR));
  std::FILE* file = OpenFile(path, "rb");
  if (!file) return Status::Error("cannot open \"" + path + "\": " + std::strerror(errno));
  DialogueDocument fresh;
  fresh.engineProjectPath = document.engineProjectPath;
  LineReader reader(file);
  LoadResult result = ProjectReader(reader).read(fresh);
  bool readFailed = reader.failed();
  std::fclose(file);
  if (readFailed) return Status::Error("cannot read \"" + path + "\"", reader.lineNumber());
  if (!result) return result;
  fresh.currentFile = path;
  fresh.changed = 0;
  document = std::move(fresh);
  return result;
}

Status SaveProject(const DialogueDocument& document, const std::string& path) {
  AtomicFile file;
  if (Status status = file.open(path); !status) return status;
  {
    OutputBuffer out(file);
    WriteProject(document, out);
  }
  return file.commit();
}

}  // namespace tellwright
