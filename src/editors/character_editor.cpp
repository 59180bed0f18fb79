#include "editors/character_editor.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "ui/document_text.h"
#include "ui/editor_context.h"
#include "ui/fixed_layout.h"
#include "ui/ui_text_table.h"
#include "ui/window_placement.h"

namespace tellwright {

namespace {

constexpr QSize kClientSize(424, 97);
constexpr QPoint kOpeningPosition(744, 90);

}  // namespace

CharacterEditor::CharacterEditor(EditorContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  const UiTextTable& texts = context.texts();
  setObjectName(QStringLiteral("characterEditor"));
  setWindowTitle(QStringLiteral("Character Editor"));
  setWindowModality(Qt::WindowModal);

  realName_ = Named(new QLineEdit(this), "realName");
  QLabel* realLabel = FieldLabel(texts[kTextRealNameLabel], realName_, this, "realNameLabel");
  entityName_ = Named(new QLineEdit(this), "entityName");
  QLabel* entityLabel = FieldLabel(texts[kTextEntityNameLabel], entityName_, this, "entityNameLabel");
  auto* cancel = Named(new QPushButton(texts[kTextCharacterCancel], this), "cancel", texts[kTextCharacterCancel]);
  auto* ok = Named(new QPushButton(texts[kTextCharacterOk], this), "ok", texts[kTextCharacterOk]);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  PlaceControls(this, kClientSize,
                {{realName_, {120, 10, 290, 20}},
                 {realLabel, {10, 15, 110, 20}},
                 {entityName_, {120, 40, 290, 20}},
                 {entityLabel, {10, 45, 100, 20}},
                 {cancel, {360, 70, 50, 20}},
                 {ok, {300, 70, 50, 20}}});
  // Tab: the two names, then OK before Cancel, as they stand left to right.
  setTabOrder(realName_, entityName_);
  setTabOrder(entityName_, ok);
  setTabOrder(ok, cancel);
  realName_->setFocus();
  MoveToOpeningPosition(this, kOpeningPosition);
}

void CharacterEditor::load(std::string_view realName, std::string_view entityName) {
  realName_->setText(TextToQString(realName));
  entityName_->setText(TextToQString(entityName));
}

void CharacterEditor::accept() {
  EncodedText realName = EncodeText(realName_->text());
  EncodedText entityName = EncodeText(entityName_->text());
  for (auto [typed, field] : {std::pair{&realName, realName_}, std::pair{&entityName, entityName_}}) {
    if (typed->ok()) continue;
    context_.showError(typed->fault);
    field->setFocus();
    return;
  }
  if (onOk_) onOk_(realName.bytes, entityName.bytes);
  QDialog::accept();
}

}  // namespace tellwright
