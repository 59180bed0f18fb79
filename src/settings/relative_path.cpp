#include "settings/relative_path.h"

#include "base/cp1252_case.h"
#include "base/path_names.h"

namespace tellwright {

std::string RelativeSoundPath(std::string_view pickedPath, std::string_view engineProjectPath) {
  std::string_view folder = FolderPart(engineProjectPath);
  std::string result;
  size_t from = 0;
  for (size_t at; (at = FindIgnoringCase1252(pickedPath, folder, from)) != std::string_view::npos;
       from = at + folder.size()) {
    result.append(pickedPath.substr(from, at - from));
  }
  result.append(pickedPath.substr(from));
  return result;
}

}  // namespace tellwright
