#include "export/export_file.h"

#include "os/atomic_write.h"
#include "os/file_identity.h"

namespace tellwright {

std::string ExportTargetFault(const DialogueDocument& document, const std::string& path) {
  return SameFile(path, document.currentFile) ? "the file is the project itself" : "";
}

Status WriteExportFile(const DialogueDocument& document, const std::string& path, const ExportWriter& write) {
  if (std::string fault = ExportTargetFault(document, path); !fault.empty())
    return Status::Error("cannot write \"" + path + "\": " + fault);
  AtomicFile file;
  if (Status status = file.open(path); !status) return status;
  {
    OutputBuffer out(file);
    write(out);
  }
  return file.commit();
}

}  // namespace tellwright
