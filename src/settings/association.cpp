#include "settings/association.h"

#include "base/path_names.h"

namespace tellwright {

std::string AssociationIconPath(std::string_view program) {
  return std::string(FolderPart(program)) + std::string(kAssociationIconFile);
}

bool Associate(Registry& registry, std::string_view ext, std::string_view program, std::string_view description,
               std::string_view icon) {
  constexpr RegistryRoot kRoot = RegistryRoot::ClassesRoot;
  std::string extension = !ext.empty() && ext.front() == '.' ? std::string(ext) : "." + std::string(ext);
  std::string fileType = "FileType_" + extension.substr(1);
  auto createAndWrite = [&](const std::string& key, std::string_view value) {
    registry.RegCreateKey(kRoot, key);
    return registry.RegWriteValue(kRoot, key, "", value, kRegSz);
  };
  bool allWritten = createAndWrite(extension, fileType);
  allWritten = createAndWrite(fileType, description) && allWritten;
  allWritten = createAndWrite(fileType + "\\DefaultIcon", icon) && allWritten;
  registry.RegCreateKey(kRoot, fileType + "\\shell");
  registry.RegCreateKey(kRoot, fileType + "\\shell\\open");
  std::string command = "\"" + std::string(program) + "\" \"%1\"";
  return createAndWrite(fileType + "\\shell\\open\\command", command) && allWritten;
}

}  // namespace tellwright
