#include "export/vexa_export.h"

#include <map>
#include <optional>

#include "base/path_names.h"
#include "base/utf8_text.h"
#include "export/document_walk.h"
#include "export/export_file.h"
#include "export/file_extensions.h"
#include "export/visibility_suffix.h"
#include "os/atomic_write.h"
#include "os/file_identity.h"

namespace tellwright {

namespace {

// The dialogue names inside the scripts start with the file part of the base
// path, cut before a double quote so the name stays one string literal.
std::string_view BaseName(std::string_view basePath) {
  std::string_view name = FileNamePart(basePath);
  return name.substr(0, name.find('"'));
}

// Takes the bytes of a file that is not written: it is generated all the
// same, so the loops of the following files are numbered as if it were.
class DiscardSink : public ByteSink {
 public:
  void write(std::string_view) override {}
};

// Generates the branch files one at a time, each into its own output.
class VexaExport : public DocumentWalk<VexaExport> {
 public:
  VexaExport(const DialogueDocument& document, std::string_view basePath)
      : DocumentWalk(document, discarded_), characters_(document.characters), baseName_(BaseName(basePath)) {}

  void branchFile(const DialogueBranch& branch, OutputBuffer& out) {
    out_.redirect(out);
    out_.line(0, "StartDialogue \"", baseName_, "_", branch.name, "\"");
    out_.line(2);
    walkLines(branch);
    out_.line(2);
    out_.line(0, "EndDialogue \"", baseName_, "_", branch.name, "\"");
    out_.line(0);
    out.flush();
    out_.redirect(discarded_);
  }
  void skippedBranchFile(const DialogueBranch& branch) { branchFile(branch, discarded_); }

 private:
  friend class DocumentWalk<VexaExport>;

  void code(const DialogueLine& line) { out_.line(2, line.text); }
  void remark(const DialogueLine& line) { out_.line(2, "; ", line.text); }

  void talk(const DialogueLine& line) {
    for (std::string_view entity : characters_.entitiesOf(line.character)) {
      if (line.soundFile.empty())
        out_.line(2, "Talk \"", entity, "\",\"", line.text, "\"");
      else
        out_.line(2, "Talk \"", entity, "\",\"", line.text, "\",\"", line.soundFile, "\"");
    }
  }

  void responses(const DialogueBranch&, const DialogueLine& line) {
    out_.line(2);
    out_.line(2, "; Start of response loop");
    out_.line(2);
    out_.line(2, "Loop", counter_, " = 1");
    out_.line(2);
    out_.line(2, "While Loop", counter_, "=1");
    out_.line(9);
    if (const ResponseBlock* block = blocks_.firstWithId(line.blockId)) {
      menu(*block);
      out_.line(9);
      out_.line(9, "WaitForResponse");
      out_.line(9);
      handlers(*block, line);
      ++counter_;
    }
    out_.line(2, "Wend");
  }

  void menu(const ResponseBlock& block) {
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      std::string_view suffix = VisibilitySuffix(response.visibility);
      if (response.conditions.empty()) {
        out_.line(9, "AddResponse", suffix, " ", r, ",\"", response.text, "\"");
      } else {
        out_.line(9, "If ", response.conditions);
        out_.line(11, "AddResponse", suffix, " ", r, ",\"", response.text, "\"");
        out_.line(9, "EndIf");
      }
    }
  }

  void handlers(const ResponseBlock& block, const DialogueLine& line) {
    for (int r = 0, used = block.usedResponses(); r < used; ++r) {
      const Response& response = block.responses[r];
      out_.line(9, "If Vexa_SelectedResponse=", r);
      if (FlagSet(response.sayResponse))
        for (std::string_view entity : characters_.entitiesOf(line.character))
          out_.line(12, "Talk \"", entity, "\",\"", response.text, "\"");
      if (!response.linkBranch.empty()) out_.line(12, "RunScript \"", baseName_, "_", response.linkBranch, ".script\"");
      if (FlagSet(response.leaveLoop)) out_.line(12, "Loop", counter_, " = 0");
      out_.line(9, "EndIf");
      out_.line(9);
    }
  }

  DiscardSink discard_;
  OutputBuffer discarded_{discard_};
  CharacterIndex characters_;
  std::string_view baseName_;
  int counter_ = 0;  // numbers the Loop variables, across files
};

}  // namespace

std::string VexaFilePath(std::string_view basePath, std::string_view branchName) {
  std::string path(basePath);
  path += '_';
  path += Cp1252ToUtf8(branchName);
  path += kScriptExtension;
  return path;
}

std::string_view VexaNameFault(std::string_view branchName) {
  if (branchName.find_first_of("/\\") != std::string_view::npos)
    return "its name would put the file outside the chosen folder";
  if (branchName.find_first_of(std::string_view(":\0", 2)) != std::string_view::npos)
    return "its name holds a character that a file name cannot take";
  return "";
}

std::vector<VexaFile> ExportVexaScriptFiles(const DialogueDocument& document, const std::string& basePath) {
  VexaExport vexa(document, basePath);
  std::vector<VexaFile> files;
  for (int b = 0; b < BranchesToVisit(document); ++b) {
    const DialogueBranch& branch = document.branch(b);
    OutputBuffer bytes;
    vexa.branchFile(branch, bytes);
    if (VexaNameFault(branch.name).empty()) files.push_back({b, VexaFilePath(basePath, branch.name), bytes.take()});
  }
  return files;
}

namespace {

// Why a branch's file must not be written in this run: it is the project,
// or a file an earlier branch of the run was written to (two branches of
// one name, or of names that differ only where the folder does not look).
// "" when it may.
std::string TakenFault(const DialogueDocument& document, const std::string& path,
                       const std::map<FileIdentity, int>& writtenBy) {
  if (std::string fault = ExportTargetFault(document, path); !fault.empty()) return fault;
  std::optional<FileIdentity> identity = IdentifyFile(path);
  if (!identity) return "";
  auto earlier = writtenBy.find(*identity);
  if (earlier == writtenBy.end()) return "";
  return "branch \"" + Cp1252ToUtf8(document.branch(earlier->second).name) + "\" was written to this file already";
}

// Writes one branch's file as it is generated. Every branch is generated
// once, written or not, so the counter numbers the loops of the following
// files as if every file had been written.
Status WriteBranchFile(VexaExport& vexa, const DialogueBranch& branch, const std::string& path) {
  AtomicFile file;
  if (Status status = file.open(path); !status) {
    vexa.skippedBranchFile(branch);
    return status;
  }
  {
    OutputBuffer out(file);
    vexa.branchFile(branch, out);
  }
  return file.commit();
}

}  // namespace

VexaExportResult ExportVexaScript(const DialogueDocument& document, const std::string& basePath) {
  VexaExport vexa(document, basePath);
  VexaExportResult result;
  std::map<FileIdentity, int> writtenBy;
  for (int b = 0; b < BranchesToVisit(document); ++b) {
    const DialogueBranch& branch = document.branch(b);
    std::string path = VexaFilePath(basePath, branch.name);
    std::string fault(VexaNameFault(branch.name));
    if (fault.empty()) fault = TakenFault(document, path, writtenBy);
    if (!fault.empty()) {
      vexa.skippedBranchFile(branch);
      result.skipped.push_back({b, path, fault});
    } else if (Status status = WriteBranchFile(vexa, branch, path); !status) {
      result.skipped.push_back({b, path, status.message});
    } else {
      ++result.written;
      if (std::optional<FileIdentity> identity = IdentifyFile(path)) writtenBy.emplace(*identity, b);
    }
  }
  return result;
}

}  // namespace tellwright
