#include "mainwindow/spelling_commands.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "mainwindow/editor_session.h"
#include "settings/settings.h"
#include "spelling/project_dictionary.h"
#include "ui/spelling.h"

namespace tellwright {

namespace {

const QString kNone = QString::fromLatin1(kNoSpellingLanguage.data(), static_cast<int>(kNoSpellingLanguage.size()));

}  // namespace

SpellingCommands::SpellingCommands(EditorSession& session, Spelling& spelling, QMenu* dialogueMenu)
    : QObject(&session), session_(session), spelling_(spelling) {
  menu_ = dialogueMenu->addMenu(QStringLiteral("Spelling"));
  menu_->setObjectName(QStringLiteral("spellingMenu"));
  menu_->setToolTipsVisible(true);
  connect(menu_, &QMenu::aboutToShow, this, &SpellingCommands::fillMenu);
  fillMenu();
}

// The dictionaries are looked for each time the menu opens: one installed
// while the editor runs shows up.
void SpellingCommands::fillMenu() {
  menu_->clear();
  auto* group = new QActionGroup(menu_);
  QString current = spelling_.active() ? spelling_.language() : kNone;
  QStringList entries = Spelling::installedLanguages();
  entries << kNone;
  for (const QString& language : entries) {
    QAction* action = menu_->addAction(language);
    action->setCheckable(true);
    action->setChecked(language == current);
    group->addAction(action);
    if (language == kNone) action->setToolTip(QStringLiteral("No spelling check"));
    connect(action, &QAction::triggered, this, [this, language] { choose(language); });
  }
}

void SpellingCommands::choose(const QString& language) {
  apply(language);
  const std::string chosen = spelling_.active() ? spelling_.language().toStdString() : std::string(kNoSpellingLanguage);
  const std::string& project = session_.document().currentFile;
  if (!project.empty()) {
    if (Status status = WriteProjectLanguage(ProjectLanguageFile(project), chosen); !status)
      session_.showError(QString::fromStdString(status.message));
  }
  session_.registry().RegSetValue(RegistryRoot::CurrentUser, kSettingsKey, kSpellingLanguageValue, chosen, kRegSz);
  // The menu is not filled afresh here: the entry chosen is still running
  // its signal. Its check mark shows the language now in use.
  for (QAction* action : menu_->actions())
    action->setChecked(action->text() == QString::fromStdString(chosen));
}

void SpellingCommands::apply(const QString& language) {
  QString fault;
  if (!spelling_.setLanguage(language, &fault)) session_.showError(fault);
}

QString SpellingCommands::lastChoice() {
  return QString::fromStdString(
      session_.registry().RegReadValue(RegistryRoot::CurrentUser, kSettingsKey, kSpellingLanguageValue));
}

void SpellingCommands::projectOpened() {
  const std::string& project = session_.document().currentFile;
  QString fault = spelling_.setProjectFile(project);
  if (!fault.isEmpty()) session_.showError(fault);
  std::optional<std::string> stored;
  if (!project.empty()) stored = ReadProjectLanguage(ProjectLanguageFile(project));
  QString language = stored ? QString::fromStdString(*stored) : lastChoice();
  // A language of the project that this computer has no dictionary for
  // leaves the check off without a message box on every opening.
  if (!language.isEmpty() && language != kNone && !Spelling::installedLanguages().contains(language)) language = kNone;
  apply(language);
  fillMenu();
}

void SpellingCommands::projectSaved() {
  const std::string& project = session_.document().currentFile;
  QString fault = spelling_.setProjectFile(project);
  if (!fault.isEmpty()) session_.showError(fault);
  if (std::optional<std::string> stored = ReadProjectLanguage(ProjectLanguageFile(project)))
    apply(QString::fromStdString(*stored));
  fillMenu();
}

}  // namespace tellwright
