#include "ui/fixed_layout.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>
#include <optional>

#include "ui/gadget_font.h"

namespace tellwright {

namespace {

constexpr int kFieldPadding = 6;  // frame and inner margin of a one-line field, top and bottom
constexpr int kUnlimited = 1 << 20;

// The box a control's caption must fit in, if it has one.
std::optional<TextBox> CaptionBox(const QWidget* widget, const QRect& rect) {
  const QStyle* style = widget->style();
  if (auto* button = qobject_cast<const QPushButton*>(widget)) {
    int padding = style->pixelMetric(QStyle::PM_ButtonMargin) + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return TextBox{button->text(), rect.width(), rect.height(), padding};
  }
  if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget)) {
    bool check = qobject_cast<const QCheckBox*>(widget) != nullptr;
    int indicator = style->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth);
    int spacing = style->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing);
    return TextBox{static_cast<const QAbstractButton*>(widget)->text(), rect.width(), rect.height(),
                   indicator + spacing + 2};
  }
  if (auto* label = qobject_cast<const QLabel*>(widget)) {
    if (label->wordWrap()) return std::nullopt;
    return TextBox{label->text(), rect.width(), rect.height(), 0};
  }
  if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget))
    return TextBox{QStringLiteral("\u00c9g"), kUnlimited, rect.height() - kFieldPadding, 0};
  return std::nullopt;
}

}  // namespace

QLabel* FieldLabel(const QString& caption, QWidget* field, QWidget* parent, const char* name) {
  auto* label = Named(new QLabel(caption, parent), name);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setBuddy(field);
  QString spoken = caption;
  if (spoken.endsWith(QLatin1Char(':'))) spoken.chop(1);
  field->setAccessibleName(spoken);
  return label;
}

void PlaceControls(QWidget* window, QSize client, const std::vector<PlacedControl>& controls) {
  std::vector<TextBox> boxes;
  for (const PlacedControl& control : controls)
    if (std::optional<TextBox> box = CaptionBox(control.widget, control.rect)) boxes.push_back(*box);
  window->setFont(FitGadgetFont(window->font(), boxes));
  for (const PlacedControl& control : controls) control.widget->setGeometry(control.rect);
  window->setFixedSize(client);
}

}  // namespace tellwright
