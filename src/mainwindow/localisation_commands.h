#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/project_settings.h"

namespace tellwright {

class EditorSession;

// Localisation through the engine's string tables: Dialogue > Localisation
// (Assign keys, Translations to check) and File > Export string table. The
// key prefix and the translation files are the project's settings, kept in
// a file beside the project (project_settings.h); an unsaved project keeps
// them until it is saved.
class LocalisationCommands {
 public:
  explicit LocalisationCommands(EditorSession& session) : session_(session) {}

  // Gives every talkline and response text without a key one, in one undo
  // step. The prefix is asked the first time, with the project's file name
  // as the default, and kept for the project.
  void assignKeys();
  // The base table (UTF-8 with the byte-order mark) or, for a name ending in
  // .pot or .po, a PO template for translators.
  void exportStringTable();
  // Names one more string table or PO file for the Problems window to check
  // against the project; the list is the project's setting.
  void chooseTranslationFiles();
  // Empties that list, after the user said Yes.
  void stopCheckingTranslations();

  // The prefix of the keys the editor gives in this project: the one
  // chosen, else the default from the project's file name.
  std::string keyPrefix();
  // The translation files to check, as paths.
  std::vector<std::string> translationPaths();

 private:
  // The settings of the project as it is saved now (re-read when it was
  // opened or saved under another name).
  ProjectSettings& settings();
  // Changes the settings and stores them: `change` runs on the file as it is
  // now, so nothing written there meanwhile is lost. A file that cannot be
  // read is never written over (the change then holds for this run only).
  void changeSettings(const std::function<void(ProjectSettings&)>& change);
  std::optional<std::string> askPrefix();

  EditorSession& session_;
  ProjectSettings settings_;
  std::optional<std::string> settingsOf_;  // the project file the settings belong to
};

}  // namespace tellwright
