#include "mainwindow/gadget_table.h"

#include "mainwindow/command_ids.h"
#include "ui/ui_text_table.h"

namespace tellwright {

const std::vector<GadgetSpec>& MainWindowGadgets() {
  using K = GadgetKind;
  static const std::vector<GadgetSpec> kGadgets = {
      {kGadgetCommandsFrame, K::Frame, {10, 10, 120, 110}, kTextCommandsFrame, -1, kAnchorTopLeft, -1},
      {kGadgetTalkline,
       K::Button,
       {20, 30, 100, 20},
       kTextTalkline,
       kTextTalklineTip,
       kAnchorTopLeft,
       kGadgetCommandsFrame},
      {kGadgetCodeline,
       K::Button,
       {20, 50, 100, 20},
       kTextCodeline,
       kTextCodelineTip,
       kAnchorTopLeft,
       kGadgetCommandsFrame},
      {kGadgetRemark, K::Button, {20, 70, 100, 20}, kTextRemark, kTextRemarkTip, kAnchorTopLeft, kGadgetCommandsFrame},
      {kGadgetResponseblock,
       K::Button,
       {20, 90, 100, 20},
       kTextResponseblock,
       kTextResponseblockTip,
       kAnchorTopLeft,
       kGadgetCommandsFrame},
      {kGadgetCharactersFrame,
       K::Frame,
       {10, 120, 120, 310},
       kTextCharactersFrame,
       -1,
       kAnchorTopLeft | kAnchorBottom,
       -1},
      {kGadgetCharacterList,
       K::CharacterList,
       {20, 140, 100, 260},
       -1,
       kTextCharacterListTip,
       kAnchorTopLeft | kAnchorBottom,
       kGadgetCharactersFrame},
      {kGadgetAddCharacter,
       K::Button,
       {20, 400, 30, 20},
       kTextAddCharacter,
       kTextAddCharacterTip,
       kAnchorLeft | kAnchorBottom,
       kGadgetCharactersFrame},
      {kGadgetEditCharacter,
       K::Button,
       {50, 400, 40, 20},
       kTextEditCharacter,
       kTextEditCharacterTip,
       kAnchorLeft | kAnchorBottom,
       kGadgetCharactersFrame},
      {kGadgetDeleteCharacter,
       K::Button,
       {90, 400, 30, 20},
       kTextDeleteCharacter,
       kTextDeleteCharacterTip,
       kAnchorLeft | kAnchorBottom,
       kGadgetCharactersFrame},
      {kGadgetProjectFrame, K::Frame, {140, 10, 490, 50}, kTextProjectFrame, -1, kAnchorTopLeft, -1},
      {kGadgetProjectField, K::TextField, {150, 30, 350, 20}, -1, -1, kAnchorTopLeft, kGadgetProjectFrame},
      {kGadgetChooseProject,
       K::Button,
       {510, 30, 110, 20},
       kTextChooseProject,
       kTextChooseProjectTip,
       kAnchorTopLeft,
       kGadgetProjectFrame},
      {kGadgetBranchesFrame, K::Frame, {140, 60, 490, 370}, kTextBranchesFrame, -1, kAnchorAll, -1},
      // The height is the closed selector's; its drop-down list is 340 high.
      {kGadgetBranchSelector, K::BranchSelector, {150, 80, 350, 20}, -1, -1, kAnchorTopLeft, kGadgetBranchesFrame},
      {kGadgetAddBranch,
       K::Button,
       {510, 80, 110, 20},
       kTextAddBranch,
       kTextAddBranchTip,
       kAnchorTopLeft,
       kGadgetBranchesFrame},
      {kGadgetLineList, K::LineList, {150, 110, 470, 310}, -1, -1, kAnchorAll, kGadgetBranchesFrame},
  };
  return kGadgets;
}

QRect AnchoredRect(const QRect& initial, unsigned anchors, int dw, int dh) {
  int left = (anchors & kAnchorLeft) ? initial.left() : initial.left() + dw;
  int top = (anchors & kAnchorTop) ? initial.top() : initial.top() + dh;
  int width = (anchors & kAnchorRight) ? initial.right() + dw - left + 1 : initial.width();
  int height = (anchors & kAnchorBottom) ? initial.bottom() + dh - top + 1 : initial.height();
  return {left, top, width, height};
}

}  // namespace tellwright
