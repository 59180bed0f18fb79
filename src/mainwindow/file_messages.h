#pragma once

#include <QString>

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

// What the "Error" box says when a file could not be read or written: what
// failed, the system's reason and, for a damaged file, the line.
QString FileFaultMessage(FileFault fault, const Status& status);

}  // namespace tellwright
