#include "editors/play_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "base/path_names.h"
#include "os/atomic_write.h"
#include "tools/string_check.h"
#include "ui/document_text.h"
#include "ui/fixed_layout.h"
#include "ui/selection_palette.h"
#include "ui/user_dialogs.h"

namespace tellwright {

namespace {

constexpr int kEventRole = Qt::UserRole;  // index of the item's event in the transcript

const QColor kCodeColour(0x1f, 0x4e, 0x79);
const QColor kRemarkColour(0x80, 0x80, 0x80);
const QColor kWarningColour(0xb3, 0x5c, 0x00);
const QColor kStopColour(0xb0, 0x00, 0x20);
const QColor kEndColour(0x2e, 0x7d, 0x32);

QString Said(const PlayEvent& event) {
  QString text = TextToQString(event.speaker) + QStringLiteral(":  ") + TextToQString(event.text);
  if (!event.soundFile.empty()) text += QStringLiteral("   \u266a ") + TextToQString(event.soundFile);
  return text;
}

QString MenuText(const PlayEvent& event) {
  QStringList lines{QStringLiteral("Responses offered:")};
  for (size_t i = 0; i < event.menu.size(); ++i) {
    QString line = QStringLiteral("   %1. %2").arg(i + 1).arg(TextToQString(event.menu[i].text));
    if (!event.menu[i].condition.empty())
      line += QStringLiteral("   [if %1]").arg(TextToQString(event.menu[i].condition));
    lines << line;
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

PlayWindow::PlayWindow(const DialogueDocument& document, UserDialogs& dialogs, GoToLine goToLine)
    : QWidget(nullptr, Qt::Window), document_(document), dialogs_(dialogs), goToLine_(std::move(goToLine)) {
  setObjectName(QStringLiteral("playWindow"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  player_ = std::make_unique<DialoguePlayer>(document_);
  buildControls();
  resize(560, 620);
}

PlayWindow::~PlayWindow() = default;

void PlayWindow::buildControls() {
  auto* layout = new QVBoxLayout(this);

  transcript_ = Named(new QListWidget(this), "transcript", QStringLiteral("Transcript"));
  transcript_->setWordWrap(true);
  transcript_->setResizeMode(QListView::Adjust);
  transcript_->setUniformItemSizes(false);
  transcript_->setSpacing(2);
  transcript_->setSelectionMode(QAbstractItemView::SingleSelection);
  KeepSelectionVisible(transcript_);
  connect(transcript_, &QListWidget::itemDoubleClicked, this, [this] { goToSelected(); });
  connect(transcript_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    goToButton_->setEnabled(item && player_->transcript()[item->data(kEventRole).toInt()].place.branch >= 0);
  });
  layout->addWidget(transcript_, 1);

  menuBox_ = Named(new QGroupBox(QStringLiteral("Choose a response"), this), "menu");
  menuLayout_ = new QVBoxLayout(menuBox_);
  menuBox_->hide();
  layout->addWidget(menuBox_);

  conditionsBox_ = Named(new QGroupBox(QStringLiteral("Conditions (ticked: taken to hold)"), this), "conditions");
  auto* conditionsScroll = new QScrollArea(conditionsBox_);
  conditionsScroll->setWidgetResizable(true);
  conditionsScroll->setFrameShape(QFrame::NoFrame);
  conditionsScroll->setMaximumHeight(110);
  auto* conditionsInner = new QWidget(conditionsScroll);
  conditionsLayout_ = new QVBoxLayout(conditionsInner);
  conditionsLayout_->setContentsMargins(0, 0, 0, 0);
  conditionsScroll->setWidget(conditionsInner);
  (new QVBoxLayout(conditionsBox_))->addWidget(conditionsScroll);
  layout->addWidget(conditionsBox_);

  auto* options = new QHBoxLayout;
  keepGameState_ = Named(new QCheckBox(QStringLiteral("Keep game state"), this), "keepGameState");
  keepGameState_->setToolTip(QStringLiteral("Restart with the Once Game responses chosen so far still used up"));
  showRemarks_ = Named(new QCheckBox(QStringLiteral("Show remarks"), this), "showRemarks");
  showRemarks_->setChecked(true);
  connect(showRemarks_, &QCheckBox::toggled, this, &PlayWindow::showRemarks);
  options->addWidget(keepGameState_);
  options->addWidget(showRemarks_);
  options->addStretch();
  language_ = Named(new QComboBox(this), "language", QStringLiteral("Play in"));
  language_->setToolTip(
      QStringLiteral("The texts of a translation, as the game shows them with its string table; name translations "
                     "under Dialogue > Localisation"));
  language_->addItem(QStringLiteral("Project's texts"));
  connect(language_, &QComboBox::activated, this, [this](int entry) { playIn(entry); });
  auto* languageLabel = new QLabel(QStringLiteral("Play in:"), this);
  languageLabel->setBuddy(language_);
  options->addWidget(languageLabel);
  options->addWidget(language_);
  layout->addLayout(options);

  auto* buttons = new QHBoxLayout;
  auto button = [&](const QString& text, const char* name, auto slot) {
    return RowButton(this, buttons, text, name, slot);
  };
  button(QStringLiteral("Restart"), "restart", [this] { restart(); });
  goToButton_ = button(QStringLiteral("Go to line"), "goToLine", [this] { goToSelected(); });
  goToButton_->setEnabled(false);
  button(QStringLiteral("Copy"), "copy", [this] { copyTranscript(); });
  button(QStringLiteral("Save..."), "save", [this] { saveTranscript(); });
  buttons->addStretch();
  button(QStringLiteral("Close"), "close", [this] { close(); });
  layout->addLayout(buttons);
}

void PlayWindow::setTranslations(std::vector<std::string> paths) {
  if (paths == translations_) return;
  std::string chosen = language_->currentIndex() > 0 ? translations_[language_->currentIndex() - 1] : std::string();
  translations_ = std::move(paths);
  language_->clear();
  language_->addItem(QStringLiteral("Project's texts"));
  int keep = 0;
  for (size_t i = 0; i < translations_.size(); ++i) {
    language_->addItem(PathToQString(std::string(FileNamePart(translations_[i]))));
    language_->setItemData(static_cast<int>(i) + 1, PathToQString(translations_[i]), Qt::ToolTipRole);
    if (translations_[i] == chosen) keep = static_cast<int>(i) + 1;
  }
  language_->setCurrentIndex(keep);
  if (keep == 0 && table_) {
    table_.reset();
    player_ = std::make_unique<DialoguePlayer>(document_);
  }
}

void PlayWindow::playIn(int entry) {
  PlayerOptions options;
  table_.reset();
  if (entry > 0 && entry <= static_cast<int>(translations_.size())) {
    const std::string& path = translations_[static_cast<size_t>(entry) - 1];
    TranslationTable read = ReadTranslationTable(path);
    if (!read.status) {
      QString where = PathToQString(path);
      if (read.status.line > 0) where += QStringLiteral(", line %1").arg(read.status.line);
      dialogs_.showMessage(QStringLiteral("Play"), QStringLiteral("\"%1\": %2").arg(where, PathToQString(read.status.message)));
      entry = 0;
    } else {
      table_ = std::move(read.table);
      // The window shows the project's texts as they are stored (Windows-1252).
      options.lookupString = TableLookup(*table_, TableEncoding::Windows1252);
    }
  }
  language_->setCurrentIndex(entry);
  player_ = std::make_unique<DialoguePlayer>(document_, std::move(options));
  showConditions();
  play(startBranch_, startLine_);
}

void PlayWindow::play(int branch, int line) {
  startBranch_ = branch;
  startLine_ = line;
  transcript_->clear();
  shownEvents_ = 0;
  Status started = player_->start(branch, line);
  if (!started) {
    dialogs_.showMessage(QStringLiteral("Play"), TextToQString(started.message));
    return;
  }
  setWindowTitle(QStringLiteral("Play - %1").arg(TextToQString(document_.branch(branch).name)));
  advance();
}

void PlayWindow::restart() {
  transcript_->clear();
  shownEvents_ = 0;
  player_->restart(keepGameState_->isChecked());
  advance();
}

void PlayWindow::advance() {
  PlayEvent event;
  do {
    event = player_->step();
    showNewEvents();
  } while (event.kind != PlayEventKind::Menu && event.kind != PlayEventKind::End && event.kind != PlayEventKind::Stop);
  showMenu(event);
  showConditions();
  transcript_->scrollToBottom();
}

void PlayWindow::choose(int entry) {
  Status chosen = player_->choose(entry);
  if (!chosen) dialogs_.showMessage(QStringLiteral("Play"), TextToQString(chosen.message));
  advance();
}

void PlayWindow::showNewEvents() {
  const std::vector<PlayEvent>& events = player_->transcript();
  for (; shownEvents_ < static_cast<int>(events.size()); ++shownEvents_) {
    QListWidgetItem* item = itemFor(events[shownEvents_]);
    item->setData(kEventRole, shownEvents_);
    transcript_->addItem(item);
    if (events[shownEvents_].kind == PlayEventKind::Remark) item->setHidden(!showRemarks_->isChecked());
  }
}

QListWidgetItem* PlayWindow::itemFor(const PlayEvent& event) const {
  auto* item = new QListWidgetItem;
  QFont font = transcript_->font();
  QString text;
  switch (event.kind) {
    case PlayEventKind::Said:
      text = Said(event);
      break;
    case PlayEventKind::Silent:
      text = QStringLiteral("%1; the game says nothing here:  %2")
                 .arg(TextToQString(SilenceReason(event)), TextToQString(event.text));
      item->setForeground(kWarningColour);
      break;
    case PlayEventKind::Code:
      text = TextToQString(event.text);
      font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
      item->setForeground(kCodeColour);
      break;
    case PlayEventKind::Remark:
      text = QStringLiteral("// ") + TextToQString(event.text);
      font.setItalic(true);
      item->setForeground(kRemarkColour);
      break;
    case PlayEventKind::Menu:
      text = MenuText(event);
      item->setForeground(kRemarkColour);
      break;
    case PlayEventKind::Chosen:
      text = TextToQString(event.text);
      font.setBold(true);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case PlayEventKind::End:
      text = QStringLiteral("The end.");
      item->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
      item->setForeground(kEndColour);
      break;
    case PlayEventKind::Stop:
      text = QStringLiteral("Stopped: ") + TextToQString(event.text);
      font.setBold(true);
      item->setForeground(kStopColour);
      break;
  }
  item->setText(text);
  item->setFont(font);
  return item;
}

void PlayWindow::showMenu(const PlayEvent& event) {
  for (QPushButton* old : menuButtons()) delete old;
  bool waiting = event.kind == PlayEventKind::Menu;
  menuBox_->setVisible(waiting);
  if (!waiting) return;
  for (size_t i = 0; i < event.menu.size(); ++i) {
    QString text = QStringLiteral("%1. %2").arg(i + 1).arg(TextToQString(event.menu[i].text));
    auto* button = new QPushButton(text.replace(QLatin1Char('&'), QStringLiteral("&&")), menuBox_);
    button->setObjectName(QStringLiteral("response%1").arg(i + 1));
    button->setAutoDefault(false);
    button->setStyleSheet(QStringLiteral("text-align: left; padding: 4px 8px;"));
    if (i < 9) button->setShortcut(QKeySequence(Qt::Key_1 + static_cast<int>(i)));
    connect(button, &QPushButton::clicked, this, [this, i] { choose(static_cast<int>(i)); });
    menuLayout_->addWidget(button);
    button->show();
  }
  menuButtons().front()->setFocus();
}

void PlayWindow::showConditions() {
  std::vector<PlayCondition> conditions = player_->conditions();
  QList<QCheckBox*> switches = conditionSwitches();
  bool same = switches.size() == static_cast<qsizetype>(conditions.size());
  for (qsizetype i = 0; same && i < switches.size(); ++i)
    same = switches[i]->text() == TextToQString(conditions[i].text).replace(QLatin1Char('&'), QStringLiteral("&&"));
  conditionsBox_->setVisible(!conditions.empty());
  if (same) return;
  for (QCheckBox* old : switches) delete old;
  for (const PlayCondition& condition : conditions) {
    QString text = TextToQString(condition.text);
    auto* box = new QCheckBox(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
    box->setChecked(condition.holds);
    // A constant has the engine's value: shown, not switchable.
    box->setEnabled(!condition.constant);
    connect(box, &QCheckBox::toggled, this,
            [this, text = condition.text](bool checked) { player_->setCondition(text, checked); });
    conditionsLayout_->addWidget(box);
    box->show();
  }
}

void PlayWindow::showRemarks(bool shown) {
  for (int row = 0; row < transcript_->count(); ++row) {
    QListWidgetItem* item = transcript_->item(row);
    if (player_->transcript()[item->data(kEventRole).toInt()].kind == PlayEventKind::Remark) item->setHidden(!shown);
  }
}

QList<QPushButton*> PlayWindow::menuButtons() const {
  return menuBox_->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
}

QList<QCheckBox*> PlayWindow::conditionSwitches() const {
  return conditionsLayout_->parentWidget()->findChildren<QCheckBox*>(QString(), Qt::FindDirectChildrenOnly);
}

QString PlayWindow::transcriptText() const {
  return TextToQString(TranscriptText(player_->transcript(), showRemarks_->isChecked()));
}

void PlayWindow::copyTranscript() { QApplication::clipboard()->setText(transcriptText()); }

void PlayWindow::saveTranscript() {
  std::optional<QString> chosen =
      dialogs_.chooseSaveFile(QStringLiteral("Save transcript"), QString(), QStringLiteral("Text|*.txt"));
  if (!chosen) return;
  std::string path = WithExtension(PathFromQString(*chosen), ".txt");
  QByteArray bytes = transcriptText().toUtf8();
  Status status = WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  if (!status) dialogs_.showMessage(QStringLiteral("Error"), PathToQString(status.message));
}

void PlayWindow::goToSelected() {
  QListWidgetItem* item = transcript_->currentItem();
  if (!item) return;
  const PlayEvent& event = player_->transcript()[item->data(kEventRole).toInt()];
  if (event.place.branch >= 0) goToLine_(event.place);
}

}  // namespace tellwright
