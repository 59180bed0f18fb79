#include "editing/cell_rules.h"

#include <gtest/gtest.h>

namespace tellwright {
namespace {

TEST(CellEditModeTest, TextAndSoundCellsEditButNotOnResponseblocks) {
  struct Case {
    const char* kind;
    CellEdit columns[4];
  };
  using E = CellEdit;
  const Case cases[] = {
      {"Talkline", {E::None, E::None, E::Field, E::FieldWithBrowse}},
      {"Codeline", {E::None, E::None, E::Field, E::Field}},
      {"Remark", {E::None, E::None, E::Field, E::Field}},
      {"Responseblock", {E::None, E::None, E::None, E::None}},
      {"Talk show", {E::None, E::None, E::Field, E::FieldWithBrowse}},  // the first four letters count
      {"talkline", {E::None, E::None, E::Field, E::Field}},             // and their case
      {"", {E::None, E::None, E::Field, E::Field}},
  };
  for (const Case& c : cases)
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(CellEditMode(c.kind, column), c.columns[column]) << c.kind << " column " << column;
  EXPECT_EQ(CellEditMode("Talkline", 4), CellEdit::None);
  EXPECT_EQ(CellEditMode("Talkline", -1), CellEdit::None);
}

}  // namespace
}  // namespace tellwright
