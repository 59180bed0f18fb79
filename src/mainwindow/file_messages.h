#pragma once

#include <QString>
#include <string>
#include <vector>

#include "base/status.h"
#include "document/load_result.h"

namespace tellwright {

enum class FileFault {
  LoadProject,
  SaveProject,
  LoadCharacterList,
  SaveCharacterList,
  ExportScript,
  ExportText,
  ExportRecordingScript,
  ExportStringTable,
  LoadProjectSettings,
  SaveProjectSettings,
};

// What the "Error" box says when file `path` could not be read or written:
// what failed, and the system's reason (which names the file) or, for a
// damaged file, the file and the line.
QString FileFaultMessage(FileFault fault, const Status& status, const std::string& path);

// What the "Warning" box says of file `path` that loaded with `warnings`
// (a file that ends early, say): each with the file and its line.
QString FileWarningsMessage(const std::string& path, const std::vector<FileWarning>& warnings);

}  // namespace tellwright
