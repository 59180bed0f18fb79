#include "document/character_list_file.h"

#include "document/file_encoding.h"
#include "document/line_reader.h"
#include "os/atomic_write.h"

namespace tellwright {

std::string WriteCharacterList(const std::vector<Character>& characters) {
  std::string out;
  for (const Character& character : characters) {
    out.append(character.realName).push_back('\n');
    out.append(character.entityName).push_back('\n');
  }
  return out;
}

std::vector<Character> ReadCharacterList(std::string_view bytes) {
  std::vector<Character> characters;
  LineReader reader(bytes);
  while (!reader.atEnd()) {
    Character character;
    character.realName = reader.next();
    character.entityName = reader.next();
    characters.push_back(std::move(character));
  }
  return characters;
}

Status LoadCharacterList(const std::string& path, std::vector<Character>& characters) {
  std::string bytes;
  if (Status status = ReadWholeFile(path, bytes); !status) return status;
  if (std::string encoding = ForeignEncoding(bytes); !encoding.empty()) return Status::Error(encoding, 1);
  characters = ReadCharacterList(bytes);
  return Status::Ok();
}

Status SaveCharacterList(const std::vector<Character>& characters, const std::string& path) {
  return WriteFileAtomically(path, WriteCharacterList(characters));
}

}  // namespace tellwright
