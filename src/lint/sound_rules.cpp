// Sound files of talklines, looked for under the engine project's folder as
// the engine finds them: "\" and "/" both separate folders, and letter case
// does not matter (the engine runs on Windows).
#include <filesystem>
#include <system_error>

#include "base/cp1252.h"
#include "base/cp1252_case.h"
#include "base/path_names.h"
#include "base/utf8_text.h"
#include "lint/lint_run.h"

namespace tellwright {

namespace {

std::filesystem::path SystemPath(const std::string& folder) {
#ifdef _WIN32
  std::wstring wide;
  for (char c : folder) wide += static_cast<wchar_t>(Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return std::filesystem::path(wide);
#else
  return std::filesystem::path(Cp1252ToUtf8(folder));
#endif
}

std::string DocumentName(const std::filesystem::path& name) {
#ifdef _WIN32
  std::string text;
  for (wchar_t c : name.wstring()) text += static_cast<char>(UnicodeToCp1252(c).value_or('?'));
  return text;
#else
  std::string bytes = name.string();
  return Utf8ToCp1252(bytes).value_or(bytes);
#endif
}

}  // namespace

FolderLookup FileSystemFolderLookup() {
  return [](const std::string& folder) -> std::optional<std::vector<std::string>> {
    std::error_code ec;
    std::filesystem::directory_iterator it(SystemPath(folder), ec);
    if (ec) return std::nullopt;
    std::vector<std::string> names;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
      if (ec) break;
      names.push_back(DocumentName(it->path().filename()));
    }
    return names;
  };
}

namespace lint {

namespace {

std::string WithSlashes(std::string_view path) {
  std::string text(path);
  for (char& c : text)
    if (c == '\\') c = '/';
  return text;
}

std::string Joined(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

bool IsDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

}  // namespace

SoundFiles::SoundFiles(const DialogueDocument& document, const LintOptions& options)
    : lookup_(options.listFolder ? options.listFolder : FileSystemFolderLookup()) {
  if (!options.checkSoundFiles) return;
  folder_ = WithSlashes(FolderPart(document.engineProjectPath));
  while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
  active_ = !folder_.empty() && list(folder_).exists;
}

const SoundFiles::Listing& SoundFiles::list(const std::string& folder) {
  auto [it, added] = listings_.try_emplace(folder);
  if (added) it->second = read(folder);
  return it->second;
}

SoundFiles::Listing SoundFiles::read(const std::string& folder) const {
  Listing listing;
  if (std::optional<std::vector<std::string>> names = lookup_(folder)) {
    listing.exists = true;
    listing.byFoldedName.reserve(names->size());
    for (std::string& name : *names) listing.byFoldedName.emplace(FoldedCase1252(name), std::move(name));
  }
  return listing;
}

bool SoundFiles::foldersUnchanged() {
  for (const auto& [folder, listing] : listings_) {
    Listing again = read(folder);
    if (again.exists != listing.exists || again.byFoldedName != listing.byFoldedName) return false;
  }
  return true;
}

std::optional<std::string> SoundFiles::resolve(std::string_view soundPath) {
  std::string path = WithSlashes(soundPath);
  std::string current = folder_;
  std::string_view rest = path;
  if (rest.size() > folder_.size() && rest[folder_.size()] == '/' &&
      EqualsIgnoringCase1252(rest.substr(0, folder_.size()), folder_)) {
    rest.remove_prefix(folder_.size() + 1);  // a full path into the project's folder
  } else if (!rest.empty() && rest.front() == '/') {
    current = "/";
  } else if (IsDrive(rest)) {
    current = std::string(rest.substr(0, 2)) + "/";
    rest.remove_prefix(2);
  }
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      current = Joined(current, part);
      continue;
    }
    const Listing& listing = list(current);
    if (!listing.exists) return std::nullopt;
    auto alike = listing.byFoldedName.find(FoldedCase1252(part));
    if (alike == listing.byFoldedName.end()) return std::nullopt;
    current = Joined(current, alike->second);
  }
  return current;
}

bool SoundFiles::exists(std::string_view soundPath) {
  size_t separator = soundPath.size();
  while (separator > 0 && soundPath[separator - 1] != '/' && soundPath[separator - 1] != '\\') --separator;
  separator = separator == 0 ? std::string_view::npos : separator - 1;
  std::string_view name = separator == std::string_view::npos ? soundPath : soundPath.substr(separator + 1);
  if (name.empty() || name == "." || name == "..") return resolve(soundPath).has_value();
  std::string_view folderPart =
      separator == std::string_view::npos ? std::string_view() : soundPath.substr(0, separator);
  auto it = folders_.find(folderPart);
  if (it == folders_.end()) {
    const Listing* listing = nullptr;
    if (std::optional<std::string> folder = resolve(folderPart)) {
      const Listing& found = list(*folder);
      if (found.exists) listing = &found;
    }
    it = folders_.emplace(std::string(folderPart), listing).first;
  }
  const Listing* listing = it->second;
  if (!listing) return false;
  folded_.assign(name);
  for (char& c : folded_) c = FoldCase1252(c);
  return listing->byFoldedName.find(folded_) != listing->byFoldedName.end();
}

void LintSoundFile(LintRun& run, SoundFiles& sounds, int b, int l) {
  const Text& sound = run.document().branch(b).lines[l].soundFile;
  if (sound.empty() || sounds.exists(sound)) return;
  run.add(Severity::Warning, {.branch = b, .line = l}, "sound-file-missing",
          "The sound file " + Quoted(sound) + " is not in the engine project's folder " + Quoted(sounds.folder()) + ".",
          "Check the file's name and folder, or pick it again with the browse button.", ProblemField::SoundFile);
}

}  // namespace lint

}  // namespace tellwright
