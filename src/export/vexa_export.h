#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/dialogue_document.h"

namespace tellwright {

// One generated Vexa script: the file for one branch.
struct VexaFile {
  int branch = 0;    // branch index
  std::string path;  // basePath + "_" + branch name + ".script"
  std::string bytes;
};

// A branch whose file was not written, and why.
struct VexaSkippedBranch {
  int branch = 0;
  std::string path;
  std::string reason;
};

struct VexaExportResult {
  int written = 0;
  std::vector<VexaSkippedBranch> skipped;

  bool ok() const { return skipped.empty(); }
};

// The file a branch is exported to; the base path is used unchanged.
std::string VexaFilePath(std::string_view basePath, std::string_view branchName);

// Why a branch name cannot give a file in the chosen folder ("" when it can):
// a path separator would move the file elsewhere; a NUL or ':' would make
// the system write some other file than the one named.
std::string_view VexaNameFault(std::string_view branchName);

// Every branch's script, in branch order, the loop counter running on from
// file to file. Branches whose name VexaNameFault refuses are left out.
std::vector<VexaFile> ExportVexaScriptFiles(const DialogueDocument& document, const std::string& basePath);

// Writes every branch's file (each through a temporary file renamed over
// it). A branch whose name is refused or whose file cannot be written is
// skipped and reported; the others are written all the same.
VexaExportResult ExportVexaScript(const DialogueDocument& document, const std::string& basePath);

}  // namespace tellwright
