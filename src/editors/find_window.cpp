#include "editors/find_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/document_change.h"
#include "ui/discard_elsewhere.h"
#include "ui/document_text.h"
#include "ui/editor_context.h"
#include "ui/fixed_layout.h"
#include "ui/selection_palette.h"
#include "ui/user_dialogs.h"
#include "ui/window_placement.h"

namespace tellwright {

namespace {

const std::pair<SearchField, const char*> kFields[] = {
    {kFieldTalkText, "Talk texts"},
    {kFieldResponseText, "Response texts"},
    {kFieldCodeline, "Codelines"},
    {kFieldRemark, "Remarks"},
    {kFieldConditions, "Conditions"},
    {kFieldSoundFile, "Sound files"},
    {kFieldLink, "Links"},
    {kFieldBranchName, "Branch names"},
    {kFieldCharacterName, "Character names"},
    {kFieldEntityName, "Entity names"},
};

constexpr unsigned kEveryPart = kPartLines | kPartBranchNames | kPartCharacters | kPartBlocks;

// The text around a match, the match between guillemets.
QString Context(const Match& match) {
  std::string_view context = match.context;
  size_t at = std::min(match.contextOffset, context.size());
  size_t end = std::min(at + match.length, context.size());
  return TextToQString(context.substr(0, at)) + QStringLiteral("\u00ab") + TextToQString(context.substr(at, end - at)) +
         QStringLiteral("\u00bb") + TextToQString(context.substr(end));
}

// What a search looks in is the same in both: the texts of the branches,
// blocks and characters (the branch shown and the file aside). Cheap while
// they share their branches and blocks.
bool SameTexts(const DialogueDocument& a, const DialogueDocument& b) {
  return a.lastBranchIndex == b.lastBranchIndex && a.branches == b.branches && a.responseBlocks == b.responseBlocks &&
         a.characters == b.characters;
}

}  // namespace

QString SearchFieldName(SearchField field) {
  static const std::pair<SearchField, const char*> kNames[] = {
      {kFieldTalkText, "Talk text"},
      {kFieldResponseText, "Response text"},
      {kFieldCodeline, "Codeline"},
      {kFieldRemark, "Remark"},
      {kFieldConditions, "Conditions"},
      {kFieldSoundFile, "Sound file"},
      {kFieldLink, "Link"},
      {kFieldBranchName, "Branch name"},
      {kFieldCharacterName, "Character name"},
      {kFieldEntityName, "Entity name"},
  };
  for (const auto& [known, name] : kNames)
    if (known == field) return QString::fromLatin1(name);
  return {};
}

FindWindow::FindWindow(EditorContext& context) : QWidget(nullptr, Qt::Window), context_(context) {
  setObjectName(QStringLiteral("findWindow"));
  background_ = std::make_unique<BackgroundSearch>([this](MatchBatch batch) {
    // Handed to the window's thread; the search is stopped before the
    // window goes, and Qt drops what is still on its way then.
    auto shared = std::make_shared<MatchBatch>(std::move(batch));
    QMetaObject::invokeMethod(
        this, [this, shared] { take(std::move(*shared)); }, Qt::QueuedConnection);
  });
  listing_ = new QTimer(this);
  listing_->setSingleShot(true);
  listing_->setInterval(0);
  connect(listing_, &QTimer::timeout, this, [this] {
    followDocument();  // its places are described in the dialogue as it is now
    listMore(kListedAtOnce);
  });
  buildControls();
  resize(720, 520);
}

// The search goes first: once it is gone no batch can reach this window.
FindWindow::~FindWindow() { background_.reset(); }

void FindWindow::buildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* form = new QGridLayout;
  findField_ = Named(new QLineEdit(this), "findText", QStringLiteral("Find"));
  replaceField_ = Named(new QLineEdit(this), "replaceText", QStringLiteral("Replace with"));
  form->addWidget(new QLabel(QStringLiteral("&Find:"), this), 0, 0);
  form->addWidget(findField_, 0, 1);
  replaceLabel_ = new QLabel(QStringLiteral("Replace &with:"), this);
  form->addWidget(replaceLabel_, 1, 0);
  form->addWidget(replaceField_, 1, 1);
  static_cast<QLabel*>(form->itemAtPosition(0, 0)->widget())->setBuddy(findField_);
  replaceLabel_->setBuddy(replaceField_);
  layout->addLayout(form);
  connect(findField_, &QLineEdit::textChanged, this, [this] { searchInBackground(); });
  connect(findField_, &QLineEdit::returnPressed, this, [this] { findNext(true); });
  connect(replaceField_, &QLineEdit::returnPressed, this, [this] { replaceCurrent(); });

  auto* options = new QHBoxLayout;
  matchCase_ = Named(new QCheckBox(QStringLiteral("Match &case"), this), "matchCase");
  wholeWords_ = Named(new QCheckBox(QStringLiteral("Whole w&ords"), this), "wholeWords");
  options->addWidget(matchCase_);
  options->addWidget(wholeWords_);
  options->addStretch();
  layout->addLayout(options);
  for (QCheckBox* box : {matchCase_, wholeWords_})
    connect(box, &QCheckBox::toggled, this, [this] { searchInBackground(); });

  auto* where = Named(new QGroupBox(QStringLiteral("Look in"), this), "lookIn");
  auto* grid = new QGridLayout(where);
  int i = 0;
  for (const auto& [field, label] : kFields) {
    auto* box = new QCheckBox(QString::fromLatin1(label), where);
    box->setObjectName(QStringLiteral("lookIn%1").arg(static_cast<unsigned>(field)));
    box->setChecked(true);
    connect(box, &QCheckBox::toggled, this, [this] { searchInBackground(); });
    grid->addWidget(box, i / 5, i % 5);
    fields_.emplace_back(field, box);
    ++i;
  }
  layout->addWidget(where);

  results_ = Named(new QTreeWidget(this), "results", QStringLiteral("Matches"));
  results_->setHeaderLabels({QStringLiteral("Place"), QStringLiteral("In"), QStringLiteral("Text")});
  results_->setRootIsDecorated(false);
  results_->setUniformRowHeights(true);
  results_->setColumnWidth(0, 230);
  results_->setColumnWidth(1, 110);
  KeepSelectionVisible(results_);
  // A match picked in the list is where Find next, previous and Replace go on from.
  connect(results_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (!item) return;
    current_ = results_->indexOfTopLevelItem(item);
    kept_.reset();
  });
  connect(results_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { select(results_->indexOfTopLevelItem(item), true); });
  layout->addWidget(results_, 1);
  summary_ = Named(new QLabel(this), "summary");
  layout->addWidget(summary_);

  auto* buttons = new QHBoxLayout;
  auto button = [&](const QString& text, const char* name, auto slot) {
    return RowButton(this, buttons, text, name, slot);
  };
  button(QStringLiteral("Find &all"), "findAll", [this] { search(); });
  button(QStringLiteral("Find &next"), "findNext", [this] { findNext(true); });
  button(QStringLiteral("Find &previous"), "findPrevious", [this] { findNext(false); });
  replaceButton_ = button(QStringLiteral("&Replace"), "replace", [this] { replaceCurrent(); });
  replaceAllButton_ = button(QStringLiteral("Replace a&ll"), "replaceAll", [this] { replaceAll(); });
  buttons->addStretch();
  button(QStringLiteral("Close"), "close", [this] { close(); });
  layout->addLayout(buttons);
}

QCheckBox* FindWindow::fieldSwitch(SearchField field) const {
  for (const auto& [known, box] : fields_)
    if (known == field) return box;
  return nullptr;
}

void FindWindow::open(bool replace) {
  setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
  for (QWidget* part : std::initializer_list<QWidget*>{replaceLabel_, replaceField_, replaceButton_, replaceAllButton_})
    part->setVisible(replace);
  RaiseWindow(this);
  findField_->setFocus();
  findField_->selectAll();
  followDocument();  // it may have changed while the window was hidden
}

std::optional<SearchQuery> FindWindow::query(QString* fault) {
  EncodedText text = EncodeText(findField_->text());
  if (!text.ok()) {
    *fault = text.fault;
    return std::nullopt;
  }
  SearchQuery query;
  query.text = text.bytes;
  query.matchCase = matchCase_->isChecked();
  query.wholeWords = wholeWords_->isChecked();
  query.fields = 0;
  for (const auto& [field, box] : fields_)
    if (box->isChecked()) query.fields |= field;
  return query;
}

std::optional<SearchQuery> FindWindow::query() {
  QString fault;
  std::optional<SearchQuery> wanted = query(&fault);
  if (!wanted) context_.showError(fault);
  return wanted;
}

bool FindWindow::shows(const SearchQuery& wanted) const {
  return searched_ && *searched_ == wanted && searchedIn_ && SameTexts(*searchedIn_, context_.document());
}

bool FindWindow::isComplete() const {
  return complete_ && !listing_->isActive() && searchedIn_ && SameTexts(*searchedIn_, context_.document());
}

void FindWindow::forget() {
  background_->cancel();
  ticket_ = 0;
  // Freeing a million matches takes longer than a keystroke may: done on
  // a thread of its own.
  if (!matches_.empty()) DiscardElsewhere(std::make_shared<const FoundMatches>(std::move(matches_)));
  matches_.clear();
  current_ = -1;
  selectWhenFound_ = -1;
  listing_->stop();
  results_->clear();
  searched_.reset();
  complete_ = false;
}

void FindWindow::startOver(const SearchQuery& wanted) {
  // A match that was current stays so where it still is; one kept from an
  // earlier start that has not come yet is still wanted.
  if (current_ >= 0 && current_ < static_cast<int>(matches_.size())) kept_ = matches_[static_cast<size_t>(current_)];
  forget();
  searched_ = wanted;
  if (!searchedIn_ || !SameTexts(*searchedIn_, context_.document()))
    searchedIn_ = std::make_shared<const DialogueDocument>(context_.document());
}

void FindWindow::search() {
  std::optional<SearchQuery> wanted = query();
  if (!wanted) return;
  startOver(*wanted);
  add(FindMatches(context_.document(), *wanted), true);
  complete_ = true;
  kept_.reset();
  showSummary();
}

void FindWindow::searchInBackground() {
  QString fault;
  std::optional<SearchQuery> wanted = query(&fault);
  if (!wanted) {
    // Said beside the list rather than in a message: it is still being typed.
    forget();
    kept_.reset();
    summary_->setText(fault);
    return;
  }
  startOver(*wanted);
  if (wanted->text.empty()) {
    complete_ = true;
    kept_.reset();
  } else {
    ticket_ = background_->request(searchedIn_, *wanted);
  }
  showSummary();
}

void FindWindow::followDocument() {
  if (searchedIn_ && !SameTexts(*searchedIn_, context_.document())) searchInBackground();
}

void FindWindow::take(MatchBatch batch) {
  if (batch.ticket != ticket_) return;  // an older text's or dialogue's
  if (!SameTexts(*searchedIn_, context_.document())) {
    searchInBackground();  // the dialogue changed since the search started
    return;
  }
  add(std::move(batch.matches), false);
  if (batch.last) {
    complete_ = true;
    ticket_ = 0;
    kept_.reset();
  }
  selectWhenFound();
  showSummary();
}

void FindWindow::add(std::vector<Match> found, bool listAll) {
  if (kept_ && current_ < 0) {
    auto same = std::find_if(found.begin(), found.end(), [&](const Match& m) {
      return m.place == kept_->place && m.field == kept_->field && m.offset >= kept_->offset;
    });
    if (same != found.end()) {
      current_ = static_cast<int>(matches_.size() + static_cast<size_t>(same - found.begin()));
      kept_.reset();
    }
  }
  matches_.append(std::move(found));
  listMore(listAll ? kMaxListed : kListedAtOnce);
}

void FindWindow::listMore(int most) {
  const DialogueDocument& document = context_.document();
  const int listed = std::min(static_cast<int>(matches_.size()), kMaxListed);
  const int first = results_->topLevelItemCount();
  const int last = std::min(listed, first + most);
  QList<QTreeWidgetItem*> items;
  for (int i = first; i < last; ++i) {
    const Match& match = matches_[static_cast<size_t>(i)];
    items << new QTreeWidgetItem(
        {TextToQString(DescribePlace(document, match.place)), SearchFieldName(match.field), Context(match)});
  }
  const int current = current_;
  std::optional<Match> kept = kept_;
  results_->addTopLevelItems(items);  // may move the list's current item
  current_ = current;
  kept_ = std::move(kept);
  QTreeWidgetItem* shown = current_ >= 0 && current_ < last ? results_->topLevelItem(current_) : nullptr;
  if (results_->currentItem() != shown) results_->setCurrentItem(shown);
  if (last < listed) listing_->start();  // the rest when the window has had its turn
}

void FindWindow::showSummary() {
  const size_t count = matches_.size();
  const int listed = std::min(static_cast<int>(count), kMaxListed);
  QString summary;
  if (!searched_ || searched_->text.empty()) {
    summary = QString();
  } else if (!complete_) {
    summary = QStringLiteral("Searching: %1 found so far").arg(count);
  } else {
    summary = count == 1 ? QStringLiteral("1 match") : QStringLiteral("%1 matches").arg(count);
    if (static_cast<int>(count) > listed) summary += QStringLiteral(", the first %1 listed").arg(listed);
  }
  summary_->setText(summary);
}

void FindWindow::findNext(bool forward) {
  std::optional<SearchQuery> wanted = query();
  if (!wanted) return;
  const bool nextHere = forward && current_ + 1 < static_cast<int>(matches_.size());
  // The match wanted may still be on its way (or, going back from none, the
  // last one): the search is finished here first.
  if (!shows(*wanted) || (!complete_ && !nextHere)) search();
  if (matches_.empty()) return;
  int count = static_cast<int>(matches_.size());
  int at = current_;
  int next = at < 0 ? (forward ? 0 : count - 1) : (at + (forward ? 1 : count - 1)) % count;
  select(next, false);
}

void FindWindow::selectWhenFound() {
  if (selectWhenFound_ < 0) return;
  const int count = static_cast<int>(matches_.size());
  if (selectWhenFound_ >= count && !complete_) return;
  const int at = std::min(selectWhenFound_, count - 1);
  selectWhenFound_ = -1;
  if (at >= 0) select(at, false);
}

void FindWindow::select(int index, bool openBlock) {
  if (index < 0 || index >= static_cast<int>(matches_.size())) return;
  current_ = index;
  results_->setCurrentItem(index < kMaxListed ? results_->topLevelItem(index) : nullptr);
  current_ = index;
  ProblemPlace place = matches_[static_cast<size_t>(index)].place;
  if (!openBlock) place.response = -1;  // walking the matches shows the line; a double-click opens the block
  context_.goToProblem(place);
}

bool FindWindow::askRenameSpeakers(const std::vector<Match>& matches, ReplaceOptions& options) {
  bool names =
      std::any_of(matches.begin(), matches.end(), [](const Match& m) { return m.field == kFieldCharacterName; });
  if (!names) return true;
  Answer answer = context_.dialogs().askYesNoCancel(
      QStringLiteral("Replace"),
      QStringLiteral("The replacement renames a character. Also give the new name to the lines that name it?"));
  if (answer == Answer::Cancel) return false;
  options.renameSpeakers = answer == Answer::Yes;
  return true;
}

void FindWindow::replaceCurrent() {
  // Only a match of the dialogue as it is now is replaced.
  if (!searched_ || !searchedIn_ || !SameTexts(*searchedIn_, context_.document())) search();
  int at = current_;
  if (at < 0 || at >= static_cast<int>(matches_.size())) {
    findNext(true);
    return;
  }
  EncodedText replacement = EncodeText(replaceField_->text());
  if (!replacement.ok()) {
    context_.showError(replacement.fault);
    return;
  }
  Match match = matches_[static_cast<size_t>(at)];
  ReplaceOptions options;
  if (!askRenameSpeakers({match}, options)) return;
  ChangeScope scope = ReachOfReplace(context_.document(), match, options).scope();
  context_.apply({QStringLiteral("Replace"), kEveryPart,
                  [&](DialogueDocument& document) { return ReplaceMatch(document, match, replacement.bytes, options); },
                  true, -1, scope});
  // The replaced match is gone; the next one takes its place in the list,
  // shown once the search of the changed dialogue finds it.
  followDocument();
  kept_.reset();
  selectWhenFound_ = at;
  selectWhenFound();
}

void FindWindow::replaceAll() {
  std::optional<SearchQuery> wanted = query();
  if (!wanted) return;
  EncodedText replacement = EncodeText(replaceField_->text());
  if (!replacement.ok()) {
    context_.showError(replacement.fault);
    return;
  }
  std::vector<Match> all = FindMatches(context_.document(), *wanted);
  if (all.empty()) return;
  ReplaceOptions options;
  if (!askRenameSpeakers(all, options)) return;
  ChangeScope scope = ReachOfReplaceAll(context_.document(), *wanted, options).scope();
  int replaced = 0;
  context_.apply({QStringLiteral("Replace all"), kEveryPart,
                  [&](DialogueDocument& document) {
                    ReplaceAllResult result = ReplaceAll(document, *wanted, replacement.bytes, options);
                    replaced = result.replaced;
                    return result.edit;
                  },
                  true, -1, scope});
  current_ = -1;
  search();
  if (replaced)
    summary_->setText(replaced == 1 ? QStringLiteral("1 replaced") : QStringLiteral("%1 replaced").arg(replaced));
}

}  // namespace tellwright
