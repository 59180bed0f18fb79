#include "editors/response_editor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <iterator>
#include <utility>

#include "editing/response_form.h"
#include "tools/string_keys.h"
#include "ui/document_text.h"
#include "ui/editor_context.h"
#include "ui/fixed_layout.h"
#include "ui/spelling.h"
#include "ui/ui_text_table.h"
#include "ui/window_placement.h"

namespace tellwright {

namespace {

constexpr QSize kClientSize(426, 170);
constexpr QPoint kOpeningPosition(342, 334);

}  // namespace

ResponseEditor::ResponseEditor(EditorContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  const UiTextTable& texts = context.texts();
  setObjectName(QStringLiteral("responseEditor"));
  setWindowTitle(QStringLiteral("Responseline Editor"));
  setWindowModality(Qt::WindowModal);

  text_ = Named(new QLineEdit(this), "responseText");
  link_ = Named(new QComboBox(this), "linkBranch");
  conditions_ = Named(new QLineEdit(this), "conditions");
  QLabel* textLabel = FieldLabel(texts[kTextResponseLabel], text_, this, "responseLabel");
  QLabel* linkLabel = FieldLabel(texts[kTextLinkLabel], link_, this, "linkLabel");
  QLabel* conditionsLabel = FieldLabel(texts[kTextConditionsLabel], conditions_, this, "conditionsLabel");
  always_ = Named(new QRadioButton(texts[kTextAlways], this), "always", texts[kTextAlways]);
  once_ = Named(new QRadioButton(texts[kTextOnce], this), "once", texts[kTextOnce]);
  onceGame_ = Named(new QRadioButton(texts[kTextOnceGame], this), "onceGame", texts[kTextOnceGame]);
  visibility_ = new QButtonGroup(this);
  for (QRadioButton* option : {always_, once_, onceGame_}) visibility_->addButton(option);
  auto* flagsLabel = Named(new QLabel(texts[kTextFlagsLabel], this), "flagsLabel", texts[kTextFlagsLabel]);
  flagsLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  leaveLoop_ = Named(new QCheckBox(texts[kTextLeaveLoop], this), "leaveLoop", texts[kTextLeaveLoop]);
  sayResponse_ = Named(new QCheckBox(texts[kTextSayResponse], this), "sayResponse", texts[kTextSayResponse]);
  auto* ok = Named(new QPushButton(texts[kTextResponseOk], this), "ok", texts[kTextResponseOk]);
  auto* cancel = Named(new QPushButton(texts[kTextResponseCancel], this), "cancel", texts[kTextResponseCancel]);
  ok->setDefault(true);
  if (Spelling* spelling = context.spelling()) {
    // The response's text, as the player reads it, marked while it is typed.
    QPointer<Spelling> checked(spelling);
    auto mark = [this, checked] {
      ShowSpellingMarks(text_, checked ? checked->misspelled(text_->text()) : std::vector<Spelling::Mark>{});
    };
    connect(text_, &QLineEdit::textChanged, this, mark);
    connect(spelling, &Spelling::wordsChanged, this, mark);
    text_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(text_, &QWidget::customContextMenuRequested, this, [this, checked](const QPoint& at) {
      QMenu* menu = checked ? SpellingMenu(*checked, text_, text_->cursorPositionAt(at), true, text_)
                            : text_->createStandardContextMenu();
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->popup(text_->mapToGlobal(at));
    });
  }
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  PlaceControls(this, kClientSize,
                {{textLabel, {10, 15, 60, 20}},
                 {text_, {80, 10, 330, 20}},
                 {link_, {100, 40, 310, 20}},
                 {linkLabel, {10, 45, 80, 20}},
                 {conditions_, {80, 70, 330, 20}},
                 {conditionsLabel, {10, 75, 70, 20}},
                 {always_, {80, 100, 60, 20}},
                 {once_, {140, 100, 50, 20}},
                 {onceGame_, {200, 100, 80, 20}},
                 {flagsLabel, {10, 100, 70, 20}},
                 {leaveLoop_, {80, 120, 150, 20}},
                 {sayResponse_, {80, 140, 210, 20}},
                 {ok, {300, 140, 50, 20}},
                 {cancel, {360, 140, 50, 20}}});
  // Tab goes down the form, then OK before Cancel.
  QWidget* order[] = {text_, link_, conditions_, always_, once_, onceGame_, leaveLoop_, sayResponse_, ok, cancel};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  text_->setFocus();
  MoveToOpeningPosition(this, kOpeningPosition);
}

void ResponseEditor::load(const Response& response) {
  loaded_ = response;
  ResponseForm form = LoadResponseForm(context_.document(), response);
  // The text shows without its string-table key, which stays as it is.
  KeyedText keyed = SplitKeyedText(form.text);
  text_->setText(TextToQString(keyed.text));
  QString key = keyed.keyed ? QStringLiteral("String-table key: %1").arg(TextToQString(keyed.key)) : QString();
  text_->setToolTip(key);
  text_->setAccessibleDescription(key);
  linkEntries_ = form.linkEntries;
  link_->clear();
  for (const std::string& entry : linkEntries_) link_->addItem(TextToQString(entry));
  link_->setCurrentIndex(form.chosenLink);
  conditions_->setText(TextToQString(form.conditions));
  // An exclusive group cannot show "none set", which a visibility code
  // outside 0..2 from a file needs.
  visibility_->setExclusive(false);
  always_->setChecked(form.always);
  once_->setChecked(form.once);
  onceGame_->setChecked(form.onceGame);
  visibility_->setExclusive(true);
  leaveLoop_->setChecked(form.leaveLoop);
  sayResponse_->setChecked(form.sayResponse);
}

void ResponseEditor::accept() {
  EncodedText text = EncodeText(text_->text());
  EncodedText conditions = EncodeText(conditions_->text());
  for (auto [typed, field] : {std::pair{&text, text_}, std::pair{&conditions, conditions_}}) {
    if (typed->ok()) continue;
    context_.showError(typed->fault);
    field->setFocus();
    return;
  }
  ResponseForm form;
  form.text = WithKeptKey(loaded_.text, text.bytes);
  form.linkEntries = linkEntries_;
  form.chosenLink = link_->currentIndex();
  form.conditions = conditions.bytes;
  form.always = always_->isChecked();
  form.once = once_->isChecked();
  form.onceGame = onceGame_->isChecked();
  form.leaveLoop = leaveLoop_->isChecked();
  form.sayResponse = sayResponse_->isChecked();
  response_ = ReadResponseForm(form, loaded_);
  if (onOk_) onOk_(response_);
  QDialog::accept();
}

}  // namespace tellwright
