#pragma once

#include <QAbstractTableModel>
#include <QColor>

#include "document/dialogue_document.h"
#include "tools/string_keys.h"

namespace tellwright {

class UiTextTable;

// The lines of one branch as the line list shows them: row i is line i,
// with the columns "Command", "Character", "Text / Code / Remark" and
// "Soundfile", coloured by kind. In a project whose texts have string-table
// keys a narrow fifth column "Key" shows a talkline's key, and the text
// column its text without the key, as the game shows it.
class LineListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumns = 4;    // the columns every project has
  static constexpr int kKeyColumn = 4;  // only while the project uses keys

  LineListModel(const DialogueDocument& document, const UiTextTable& texts, QObject* parent = nullptr);

  // Shows branch `index` afresh (a model reset, which drops the selection).
  void RefreshLineList(int index);
  int shownBranch() const { return branch_; }
  bool showsKeys() const { return showsKeys_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const DialogueBranch* branch() const;

  const DialogueDocument& document_;
  const UiTextTable& texts_;
  int branch_ = 0;
  int rows_ = 0;
  KeyUseWatch keyUse_;  // a refresh looks again only at what changed
  bool showsKeys_ = false;
};

// The colour of a line's text by the first four letters of its kind: dark
// blue for talklines, black for codelines, dark green for remarks and dark
// red for responseblocks.
QColor LineKindColour(std::string_view kind);

}  // namespace tellwright
