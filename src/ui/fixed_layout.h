#pragma once

#include <QBoxLayout>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class QLabel;
class QWidget;

namespace tellwright {

// A control of a window laid out by hand, at its place in the client area
// (logical pixels).
struct PlacedControl {
  QWidget* widget;
  QRect rect;
};

// Gives `window` a fixed client area of `client`, puts every control at its
// place and picks the window's font so that every caption (buttons, labels,
// check boxes, option buttons) and every field's text fits its control.
void PlaceControls(QWidget* window, QSize client, const std::vector<PlacedControl>& controls);

// A button added to a row of buttons in `owner`: named, never the default
// button, running `slot` when clicked.
template <typename Slot>
QPushButton* RowButton(QWidget* owner, QBoxLayout* row, const QString& text, const char* name, Slot slot) {
  auto* button = new QPushButton(text, owner);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, owner, slot);
  row->addWidget(button);
  return button;
}

// Gives a control its object name and, when given, its accessible name.
template <class W>
W* Named(W* widget, const char* name, const QString& accessibleName = {}) {
  widget->setObjectName(QString::fromLatin1(name));
  if (!accessibleName.isEmpty()) widget->setAccessibleName(accessibleName);
  return widget;
}

// The caption beside a field: set like the field's own text, a few pixels
// below the field's top edge. The field is read out by the caption, without
// its colon.
QLabel* FieldLabel(const QString& caption, QWidget* field, QWidget* parent, const char* name);

}  // namespace tellwright
