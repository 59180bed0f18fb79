#include "export/export_file.h"

#include "os/atomic_write.h"
#include "os/file_identity.h"

namespace tellwright {

std::string ExportTargetFault(const DialogueDocument& document, const std::string& path) {
  return SameFile(path, document.currentFile) ? "the file is the project itself" : "";
}

Status WriteExportFile(const DialogueDocument& document, const std::string& path, std::string_view bytes) {
  if (std::string fault = ExportTargetFault(document, path); !fault.empty())
    return Status::Error("cannot write \"" + path + "\": " + fault);
  return WriteFileAtomically(path, bytes);
}

}  // namespace tellwright
