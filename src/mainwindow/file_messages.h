#pragma once

#include <QString>
#include <string>

#include "base/status.h"

namespace tellwright {

enum class FileFault {
  LoadProject,
  SaveProject,
  LoadCharacterList,
  SaveCharacterList,
  ExportScript,
  ExportText,
  ExportRecordingScript,
};

// What the "Error" box says when file `path` could not be read or written:
// what failed, and the system's reason (which names the file) or, for a
// damaged file, the file and the line.
QString FileFaultMessage(FileFault fault, const Status& status, const std::string& path);

}  // namespace tellwright
