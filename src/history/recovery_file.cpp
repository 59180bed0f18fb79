#include "history/recovery_file.h"

#include <charconv>
#include <cstdio>

#include "document/project_file.h"
#include "os/atomic_write.h"
#include "os/user_folders.h"

namespace tellwright {

namespace {

uint64_t Checksum(std::string_view a, std::string_view b) {
  uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
  for (std::string_view part : {a, b})
    for (unsigned char byte : part) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

std::string Hex(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

// Reads the file front to back; every read fails once the file ends early.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}

  bool line(std::string_view& out) {
    size_t end = rest_.find('\n');
    if (end == std::string_view::npos) return false;
    out = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
    return true;
  }
  template <typename Number>
  bool number(Number& out) {
    std::string_view text;
    if (!line(text) || text.empty()) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
  }
  bool bytes(size_t count, std::string_view& out, bool lineFollows) {
    if (rest_.size() < count + (lineFollows ? 1 : 0)) return false;
    out = rest_.substr(0, count);
    rest_.remove_prefix(count);
    if (!lineFollows) return true;
    bool newline = rest_.front() == '\n';
    rest_.remove_prefix(1);
    return newline;
  }
  bool atEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

Status Damaged(std::string_view what) { return Status::Error("The recovery file is damaged: " + std::string(what)); }

}  // namespace

std::string WriteRecovery(const DialogueDocument& document, int64_t savedAt) {
  return RecoveryBytes(document.currentFile, WriteProject(document), savedAt);
}

std::string RecoveryBytes(std::string_view path, std::string_view project, int64_t savedAt) {
  std::string out;
  out.reserve(project.size() + path.size() + 96);
  out.append(kRecoveryMarker).append("\n");
  out.append(std::to_string(savedAt)).append("\n");
  out.append(std::to_string(path.size())).append("\n").append(path).append("\n");
  out.append(std::to_string(project.size())).append("\n");
  out.append(Hex(Checksum(path, project))).append("\n");
  out.append(project);
  return out;
}

Status MakeRecoveryFolder(const std::string& folder) { return MakePrivateFolder(folder); }

Status SaveRecoveryFile(const std::string& file, std::string_view bytes) {
  return WriteFileAtomically(file, bytes, FileAccess::kOwnerOnly);
}

Status ReadRecovery(std::string_view bytes, RecoveredWork& out) {
  Reader reader(bytes);
  std::string_view marker;
  if (!reader.line(marker) || marker != kRecoveryMarker) return Damaged("it does not start as a recovery file does.");
  int64_t savedAt = 0;
  size_t pathSize = 0;
  size_t projectSize = 0;
  std::string_view path;
  std::string_view checksum;
  std::string_view project;
  if (!reader.number(savedAt) || !reader.number(pathSize) || !reader.bytes(pathSize, path, true) ||
      !reader.number(projectSize) || !reader.line(checksum))
    return Damaged("its header is incomplete.");
  if (!reader.bytes(projectSize, project, false) || !reader.atEnd()) return Damaged("it is not as long as it says.");
  if (checksum != Hex(Checksum(path, project))) return Damaged("its checksum does not match its contents.");
  DialogueDocument document;
  Status status = ReadProject(project, document);
  if (!status) return Damaged(status.message);
  document.currentFile = std::string(path);
  document.changed = 1;
  out.document = std::move(document);
  out.projectPath = std::string(path);
  out.savedAt = savedAt;
  return Status::Ok();
}

}  // namespace tellwright
