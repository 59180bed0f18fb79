#include "mainwindow/file_commands.h"

#include "base/path_names.h"
#include "document/character_list_file.h"
#include "document/project_file.h"
#include "mainwindow/editor_session.h"
#include "mainwindow/file_messages.h"
#include "mainwindow/main_window.h"
#include "ui/document_text.h"
#include "ui/user_dialogs.h"

namespace tellwright {

namespace {
const QString kProjectFilter = QStringLiteral("Dialogues|*.tlwdlg");
const QString kCharacterListFilter = QStringLiteral("Char. list|*.tlwchr");
}  // namespace

QString FileCommands::defaultRequesterPath() const {
  const EditorState& state = session_.state();
  // The start-up value is document text; the other two are paths already.
  std::string startup = PathFromQString(TextToQString(state.startupCurrentProject));
  return PathToQString(DefaultRequesterPath(session_.document().currentFile, state.recentFiles, startup));
}

bool FileCommands::AskSaveChanges() {
  if (!session_.document().changed) return true;
  Answer answer = session_.dialogs().askYesNoCancel(
      QStringLiteral("Project not saved"),
      QStringLiteral("The current project was changed. Do you want to save it first?"));
  if (answer == Answer::Cancel) return false;
  if (answer == Answer::Yes) return save();
  // No discards the changes only when the command really replaces the
  // document or quits: a cancelled requester or a file that cannot be read
  // keeps them, unsaved as they are.
  return true;
}

void FileCommands::newProject() {
  if (!session_.commitOpenEdits()) return;
  if (!AskSaveChanges()) return;
  DialogueDocument fresh;
  fresh.engineProjectPath = session_.document().engineProjectPath;  // the editor's, not the project's
  session_.replaceDocument(std::move(fresh));
  session_.window().setWindowTitle(QString::fromLatin1(kProductName));
}

void FileCommands::loadDialogue() {
  if (!session_.commitOpenEdits()) return;
  if (!AskSaveChanges()) return;
  std::optional<QString> chosen = session_.dialogs().chooseOpenFile(QStringLiteral("Open dialogue project"),
                                                                    defaultRequesterPath(), kProjectFilter);
  if (chosen) openProject(PathFromQString(*chosen), true);
}

bool FileCommands::openProject(const std::string& path, bool addToRecentFiles) {
  DialogueDocument loaded;
  // A file without the version line keeps the current project path.
  loaded.engineProjectPath = session_.document().engineProjectPath;
  LoadResult result = LoadProject(path, loaded);
  if (!result) {
    session_.showError(FileFaultMessage(FileFault::LoadProject, result, path));
    return false;
  }
  session_.replaceDocument(std::move(loaded));
  // A file that loaded only in part is shown, and the writer told where.
  if (!result.warnings.empty())
    session_.dialogs().showMessage(QStringLiteral("Warning"), FileWarningsMessage(path, result.warnings));
  if (addToRecentFiles) {
    AddRecentFile(session_.state().recentFiles, path);
    session_.window().rebuildMainMenu(session_.state().recentFiles);
  }
  return true;
}

bool FileCommands::save() {
  if (!session_.commitOpenEdits()) return false;
  const std::string& path = session_.document().currentFile;
  if (path.empty()) return saveAs();
  return saveTo(path);
}

bool FileCommands::saveAs() {
  if (!session_.commitOpenEdits()) return false;
  std::optional<QString> chosen = session_.dialogs().chooseSaveFile(
      QStringLiteral("Save dialogue project"), PathToQString(session_.document().currentFile), kProjectFilter);
  if (!chosen) return false;
  return saveTo(WithExtension(PathFromQString(*chosen), kProjectExtension));
}

bool FileCommands::saveTo(const std::string& path) {
  Status status = SaveProject(session_.document(), path);
  if (!status) {
    session_.showError(FileFaultMessage(FileFault::SaveProject, status, path));
    return false;
  }
  session_.documentSaved(path);
  return true;
}

void FileCommands::loadCharacterList() {
  if (!session_.commitOpenEdits()) return;
  std::optional<QString> chosen = session_.dialogs().chooseOpenFile(QStringLiteral("Open character list"),
                                                                    defaultRequesterPath(), kCharacterListFilter);
  if (chosen) loadCharacterListFrom(PathFromQString(*chosen), true);
}

bool FileCommands::loadCharacterListFrom(const std::string& path, bool addToRecentFiles) {
  std::vector<Character> characters;
  Status status = LoadCharacterList(path, characters);
  if (!status) {
    session_.showError(FileFaultMessage(FileFault::LoadCharacterList, status, path));
    return false;
  }
  DocumentChange change{QStringLiteral("Load character list"), kPartCharacters,
                        [&characters](DialogueDocument& document) {
                          if (document.characters == characters) return EditResult::Unchanged();
                          document.characters = std::move(characters);
                          return EditResult::Changed();
                        },
                        false};
  session_.apply(change);
  if (addToRecentFiles) {
    AddRecentFile(session_.state().recentFiles, path);
    // The menu follows the list, or its items would open other files than
    // the ones they name.
    session_.window().rebuildMainMenu(session_.state().recentFiles);
  }
  return true;
}

void FileCommands::saveCharacterList() {
  if (!session_.commitOpenEdits()) return;
  std::optional<QString> chosen = session_.dialogs().chooseSaveFile(QStringLiteral("Save character list"),
                                                                    defaultRequesterPath(), kCharacterListFilter);
  if (!chosen) return;
  std::string path = WithExtension(PathFromQString(*chosen), kCharacterListExtension);
  Status status = SaveCharacterList(session_.document().characters, path);
  if (!status) session_.showError(FileFaultMessage(FileFault::SaveCharacterList, status, path));
}

void FileCommands::openRecentFile(int index) {
  if (!session_.commitOpenEdits()) return;
  if (index < 0 || index >= kRecentFileCount) return;
  std::string path = session_.state().recentFiles[static_cast<size_t>(index)];
  if (path.empty()) return;
  // A character list joins the open project, so there is nothing to save first.
  if (RecentFileKind(path) == RecentFileAction::OpenAsCharacterList) {
    loadCharacterListFrom(path, false);
    return;
  }
  if (!AskSaveChanges()) return;
  openProject(path, false);
}

void FileCommands::quit() {
  if (!quitting()) return;
  session_.window().close();
}

bool FileCommands::quitting() {
  if (!session_.commitOpenEdits()) return false;
  if (!AskSaveChanges()) return false;
  session_.state().quit = true;
  session_.writeSettings();
  return true;
}

}  // namespace tellwright
