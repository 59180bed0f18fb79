#include "mainwindow/localisation_commands.h"

#include "base/path_names.h"
#include "export/export_file.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/file_messages.h"
#include "tools/base_strings.h"
#include "tools/po_file.h"
#include "tools/string_keys.h"
#include "ui/document_text.h"
#include "ui/problems_monitor.h"
#include "ui/user_dialogs.h"

namespace tellwright {

namespace {

const QString kAssignKeysTitle = QStringLiteral("Assign keys");

bool AnyTextWithoutKey(const DialogueDocument& document) {
  for (const KeyableText& text : ListKeyableTexts(document))
    if (!text.keyed) return true;
  return false;
}

}  // namespace

ProjectSettings& LocalisationCommands::settings() {
  const std::string& project = session_.document().currentFile;
  if (settingsOf_ == project) return settings_;
  bool saved = settingsOf_ && settingsOf_->empty() && !project.empty();  // an unsaved project saved
  ProjectSettings unsaved = std::move(settings_);
  settings_ = {};
  settingsOf_ = project;
  if (project.empty()) return settings_;
  if (Status status = ReadProjectSettings(project, settings_); !status) {
    session_.showError(FileFaultMessage(FileFault::LoadProjectSettings, status, ProjectSettingsPath(project)));
    settings_ = {};
    return settings_;
  }
  // What was chosen before the project had a file goes with it, unless the
  // file it was saved as has settings of its own.
  if (saved && settings_.keyPrefix.empty() && settings_.translationFiles.empty() &&
      (!unsaved.keyPrefix.empty() || !unsaved.translationFiles.empty()))
    changeSettings([&unsaved](ProjectSettings& stored) {
      stored.keyPrefix = unsaved.keyPrefix;
      stored.translationFiles = unsaved.translationFiles;
    });
  return settings_;
}

void LocalisationCommands::changeSettings(const std::function<void(ProjectSettings&)>& change) {
  settings();
  const std::string& project = session_.document().currentFile;
  if (project.empty()) {
    change(settings_);  // kept until the project is saved
    return;
  }
  ProjectSettings stored;
  Status status = ReadProjectSettings(project, stored);
  if (status) {
    change(stored);
    status = WriteProjectSettings(project, stored);
    if (status) {
      settings_ = std::move(stored);
      return;
    }
  }
  change(settings_);
  FileFault fault = status.line > 0 ? FileFault::LoadProjectSettings : FileFault::SaveProjectSettings;
  session_.showError(FileFaultMessage(fault, status, ProjectSettingsPath(project)));
}

std::string LocalisationCommands::keyPrefix() {
  const std::string& chosen = settings().keyPrefix;
  return IsValidKeyPrefix(chosen) ? chosen : DefaultKeyPrefix(session_.document().currentFile);
}

std::vector<std::string> LocalisationCommands::translationPaths() {
  std::vector<std::string> paths;
  for (const std::string& named : settings().translationFiles)
    paths.push_back(TranslationFilePath(session_.document().currentFile, named));
  return paths;
}

std::optional<std::string> LocalisationCommands::askPrefix() {
  QString typed = TextToQString(keyPrefix());
  for (;;) {
    std::optional<QString> answer = session_.dialogs().askText(
        kAssignKeysTitle,
        QStringLiteral("Prefix of this project's keys (upper-case letters A-Z, digits and _); the keys are the "
                       "prefix and a number, such as %1:")
            .arg(TextToQString(KeyWithNumber(keyPrefix(), 1))),
        typed);
    if (!answer) return std::nullopt;
    std::string prefix = answer->trimmed().toStdString();
    if (IsValidKeyPrefix(prefix)) return prefix;
    session_.showError(TextToQString(kInvalidPrefixMessage));
    typed = *answer;
  }
}

void LocalisationCommands::assignKeys() {
  if (!session_.commitOpenEdits()) return;
  if (!AnyTextWithoutKey(session_.document())) {
    session_.dialogs().showInformation(kAssignKeysTitle,
                                       QStringLiteral("Every talkline and response text has a key already."));
    return;
  }
  // The prefix is chosen once per project; later keys follow it.
  if (!IsValidKeyPrefix(settings().keyPrefix)) {
    std::optional<std::string> prefix = askPrefix();
    if (!prefix) return;
    changeSettings([&prefix](ProjectSettings& stored) { stored.keyPrefix = *prefix; });
  }
  std::string prefix = settings().keyPrefix;
  DocumentChange change{kAssignKeysTitle, kPartLines | kPartBlocks, [prefix](DialogueDocument& document) {
                          return AssignKeys(document, prefix).edit;
                        }};
  change.scope = ReachOfAssignKeys(session_.document());
  session_.apply(change);
}

void LocalisationCommands::exportStringTable() {
  if (!session_.commitOpenEdits()) return;
  const DialogueDocument& document = session_.document();
  BaseStrings strings = CollectBaseStrings(document);
  if (strings.strings.empty()) {
    session_.showError(
        QStringLiteral("No text has a string-table key yet. Give them keys with Dialogue > Localisation > Assign "
                       "keys."));
    return;
  }
  QString folder = PathToQString(std::string(FolderPart(document.currentFile)));
  std::optional<QString> chosen = session_.dialogs().chooseSaveFile(
      QStringLiteral("Export string table"), folder + QStringLiteral("string.tab"),
      QStringLiteral("String table (UTF-8)|*.tab|PO template for translators|*.pot"));
  if (!chosen) return;
  std::string path = PathFromQString(*chosen);
  bool po = EndsWithExtension(path, kPoTemplateExtension) || EndsWithExtension(path, ".po");
  if (!po) path = WithExtension(path, kStringTableExtension);
  std::string bytes = po ? WritePoFile(PoTemplate(document, strings, std::string(FileNamePart(document.currentFile))))
                         : WriteBaseTable(document, strings, TableEncoding::Utf8);
  Status status = WriteExportFile(document, path, [&bytes](OutputBuffer& out) { out.append(bytes); });
  if (!status) {
    session_.showError(FileFaultMessage(FileFault::ExportStringTable, status, path));
    return;
  }
  if (strings.notes.empty()) return;
  QString notes = QStringLiteral("The table was written, but:\n");
  for (const BaseStringNote& note : strings.notes)
    notes += QStringLiteral("\n%1: %2").arg(TextToQString(DescribePlace(document, note.place)),
                                            QString::fromStdString(note.message));
  session_.dialogs().showInformation(QStringLiteral("Export string table"), notes);
}

void LocalisationCommands::chooseTranslationFiles() {
  if (!session_.commitOpenEdits()) return;
  const std::string& project = session_.document().currentFile;
  if (project.empty()) {
    session_.showError(QStringLiteral(
        "Save the project first: the translations to check are named relative to the project's folder."));
    return;
  }
  std::optional<QString> chosen = session_.dialogs().chooseOpenFile(
      QStringLiteral("Add a translation to check"), PathToQString(std::string(FolderPart(project))),
      QStringLiteral("String tables and PO files|*.tab;*.po|All files|*"));
  if (!chosen) return;
  std::string named = NamedTranslationFile(project, PathFromQString(*chosen));
  changeSettings([&named](ProjectSettings& stored) {
    std::vector<std::string>& files = stored.translationFiles;
    if (std::find(files.begin(), files.end(), named) == files.end()) files.push_back(named);
  });
  session_.problemsChanged();
}

void LocalisationCommands::stopCheckingTranslations() {
  if (!session_.commitOpenEdits()) return;
  const std::vector<std::string>& files = settings().translationFiles;
  if (files.empty()) return;
  QString list;
  for (const std::string& file : files) list += QStringLiteral("\n") + PathToQString(file);
  if (!session_.dialogs().askYesNo(QStringLiteral("Stop checking translations"),
                                   QStringLiteral("Stop checking these translations?\n") + list))
    return;
  changeSettings([](ProjectSettings& stored) { stored.translationFiles.clear(); });
  session_.problemsChanged();
}

}  // namespace tellwright
