#include "ui/spelling.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTextCharFormat>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "base/cp1252.h"
#include "export/document_index.h"
#include "os/user_folders.h"
#include "spelling/installed_dictionaries.h"
#include "spelling/project_dictionary.h"
#include "spelling/project_spelling.h"
#include "ui/document_text.h"

namespace tellwright {

namespace {

// A typed text as Windows-1252 byte for UTF-16 unit, so that a word's bytes
// are its positions in the field; a character the document cannot hold
// becomes a byte no word holds.
std::string BytePerUnit(const QString& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (QChar unit : text) {
    std::optional<unsigned char> byte = unit.isSurrogate() ? std::nullopt : UnicodeToCp1252(unit.unicode());
    bytes += static_cast<char>(byte.value_or('\x01'));
  }
  return bytes;
}

// A spelling note's place still names a text of the document.
bool PlaceExists(const DialogueDocument& document, const ProblemPlace& place) {
  if (place.branch >= BranchesToVisit(document)) return false;
  if (place.branch >= 0 && place.line >= LinesToVisit(document.branch(place.branch))) return false;
  if (place.blockSlot >= 0) {
    const ResponseBlock& block = document.responseBlocks[place.blockSlot];
    if (!block.inUse() || place.response >= block.usedResponses()) return false;
  }
  return true;
}

}  // namespace

Spelling::Spelling(const DialogueDocument& document) : document_(document) {
  timer_.setSingleShot(true);
  timer_.setInterval(300);  // a burst of changes checked once
  connect(&timer_, &QTimer::timeout, this, &Spelling::startCheck);
  known();
}

Spelling::~Spelling() {
  ++generation_;
  joinWorker();
}

void Spelling::joinWorker() {
  if (worker_.joinable()) worker_.join();
}

QStringList Spelling::installedLanguages() {
  QStringList languages;
  for (const InstalledDictionary& dictionary : FindInstalledDictionaries(DictionaryFolders(ProcessEnvironment())))
    languages << QString::fromStdString(dictionary.language);
  return languages;
}

bool Spelling::setLanguage(const QString& language, QString* fault) {
  if (checker_ && QString::fromStdString(checker_->language()) == language) return true;
  checker_.reset();
  if (!found_.empty()) {
    found_.clear();
    emit checked();
  }
  bool opened = true;
  if (!language.isEmpty() && language != QLatin1String(kNoSpellingLanguage.data(), kNoSpellingLanguage.size())) {
    SpellCheckerOpening opening = OpenInstalledDictionary(language.toStdString(), ProcessEnvironment());
    checker_ = std::move(opening.checker);
    opened = static_cast<bool>(opening.status);
    if (!opened && fault) *fault = QString::fromStdString(opening.status.message);
  }
  known();
  schedule();
  return opened;
}

QString Spelling::language() const {
  return checker_ ? QString::fromStdString(checker_->language()) : QString();
}

QString Spelling::setProjectFile(const std::string& projectFile) {
  projectFile_ = projectFile;
  listWords_.clear();
  QString fault;
  if (!projectFile.empty()) {
    WordListReading list = ReadWordList(ProjectWordListFile(projectFile));
    listWords_ = std::move(list.words);
    if (!list.status) fault = QString::fromStdString(list.status.message);
  }
  known();
  schedule();
  return fault;
}

void Spelling::known() {
  auto words = std::make_shared<KnownWords>();
  words->addNamesOf(document_);
  words->add(listWords_);
  words->add(ignored_);
  known_ = std::move(words);
  judge_ = checker_ ? std::make_unique<WordJudge>(*checker_, *known_) : nullptr;
  emit wordsChanged();
}

std::vector<Spelling::Mark> Spelling::misspelled(const QString& text, bool spoken) {
  std::vector<Mark> marks;
  if (!judge_) return marks;
  std::string bytes = BytePerUnit(text);
  for (const TextWord& word : judge_->misspelled(spoken ? SpokenWords(bytes) : RemarkWords(bytes))) {
    int start = static_cast<int>(word.offset);
    int length = static_cast<int>(word.length);
    marks.push_back({start, length, text.mid(start, length)});
  }
  return marks;
}

QStringList Spelling::suggestions(const QString& word, int most) const {
  QStringList list;
  if (!checker_) return list;
  for (const std::string& suggestion : checker_->suggestions(BytePerUnit(word), static_cast<size_t>(most)))
    list << TextToQString(suggestion);
  return list;
}

QString Spelling::addToProjectDictionary(const QString& word) {
  if (projectFile_.empty()) return QStringLiteral("Save the project first: its dictionary is kept beside it.");
  EncodedText encoded = EncodeText(word);
  if (!encoded.ok()) return encoded.fault;
  if (Status status = AddToWordList(ProjectWordListFile(projectFile_), encoded.bytes); !status) {
    QString fault = QString::fromStdString(status.message);
    emit failed(fault);
    return fault;
  }
  listWords_.push_back(encoded.bytes);
  known();
  schedule();
  return {};
}

void Spelling::ignore(const QString& word) {
  EncodedText encoded = EncodeText(word);
  if (!encoded.ok()) return;
  ignored_.push_back(encoded.bytes);
  known();
  schedule();
}

void Spelling::schedule() {
  if (!checker_) {
    bool had = !found_.empty();
    found_.clear();
    if (had) emit checked();
    return;
  }
  timer_.start();
}

// The document is copied here, on the window's thread, and checked on the
// worker's: the window goes on changing its own.
void Spelling::startCheck() {
  if (running_) {
    again_ = true;
    return;
  }
  if (!checker_) return;
  joinWorker();
  running_ = true;
  again_ = false;
  known();  // names may have changed with the document
  unsigned generation = ++generation_;
  auto copy = std::make_shared<const DialogueDocument>(document_);
  worker_ = std::thread([this, copy, checker = checker_, words = known_, generation] {
    WordJudge judge(*checker, *words);
    std::vector<Misspelling> found = FindMisspellings(*copy, judge);
    QMetaObject::invokeMethod(
        this, [this, found = std::move(found), generation]() mutable { finishCheck(std::move(found), generation); },
        Qt::QueuedConnection);
  });
}

void Spelling::finishCheck(std::vector<Misspelling> found, unsigned generation) {
  running_ = false;
  joinWorker();
  if (generation == generation_) {
    found_ = std::move(found);
    emit checked();
  }
  if (again_) startCheck();
}

std::vector<Problem> Spelling::notes() const {
  std::vector<Misspelling> current;
  for (const Misspelling& misspelling : found_)
    if (PlaceExists(document_, misspelling.place)) current.push_back(misspelling);
  return SpellingNotes(current);
}

void ShowSpellingMarks(QLineEdit* field, const std::vector<Spelling::Mark>& marks) {
  QTextCharFormat format;
  format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
  format.setUnderlineColor(Qt::red);
  QList<QInputMethodEvent::Attribute> attributes;
  // An input method event with no text to compose sets the formats of the
  // field's text, counted from the cursor.
  const int cursor = field->cursorPosition();
  for (const Spelling::Mark& mark : marks)
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, mark.start - cursor, mark.length, format);
  QInputMethodEvent event(QString(), attributes);
  QCoreApplication::sendEvent(field, &event);
}

QMenu* SpellingMenu(Spelling& spelling, QLineEdit* field, int position, bool spoken, QWidget* parent) {
  QMenu* standard = field->createStandardContextMenu();
  std::optional<Spelling::Mark> hit;
  for (const Spelling::Mark& mark : spelling.misspelled(field->text(), spoken))
    if (position >= mark.start && position <= mark.start + mark.length) hit = mark;
  if (!hit) {
    standard->setParent(parent, standard->windowFlags());
    return standard;
  }
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("spellingMenu"));
  menu->setToolTipsVisible(true);
  QPointer<QLineEdit> target(field);
  QPointer<Spelling> service(&spelling);
  const Spelling::Mark mark = *hit;
  const QStringList suggestions = spelling.suggestions(mark.word);
  for (const QString& suggestion : suggestions) {
    QObject::connect(menu->addAction(suggestion), &QAction::triggered, field, [target, mark, suggestion] {
      if (!target || target->text().mid(mark.start, mark.length) != mark.word) return;
      // Selecting and typing over keeps the change in the field's own undo.
      target->setSelection(mark.start, mark.length);
      target->insert(suggestion);
    });
  }
  if (suggestions.isEmpty()) menu->addAction(QStringLiteral("(no suggestions)"))->setEnabled(false);
  menu->addSeparator();
  QAction* add = menu->addAction(QStringLiteral("Add to project dictionary"));
  if (spelling.projectFile().empty()) {
    add->setEnabled(false);
    add->setToolTip(QStringLiteral("Save the project first: its dictionary is kept beside it"));
  }
  QObject::connect(add, &QAction::triggered, field, [service, word = mark.word] {
    if (service) service->addToProjectDictionary(word);
  });
  QObject::connect(menu->addAction(QStringLiteral("Ignore")), &QAction::triggered, field, [service, word = mark.word] {
    if (service) service->ignore(word);
  });
  menu->addSeparator();
  standard->setParent(menu, standard->windowFlags());
  menu->addActions(standard->actions());
  return menu;
}

}  // namespace tellwright
