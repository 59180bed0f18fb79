#pragma once

#include <QString>
#include <array>

namespace tellwright {

// Indexes into UiTextTable. Entries 42 to 51 are not shown by any window.
enum UiText : int {
  kTextMenuFile = 0,
  kTextNew = 1,
  kTextLoadDialogue = 2,
  kTextSaveDialogue = 3,
  kTextSaveAs = 4,
  kTextLoadCharacterList = 5,
  kTextSaveCharacterList = 6,
  kTextExportWme = 7,
  kTextExportText = 8,
  kTextQuit = 9,
  kTextMenuEdit = 10,
  kTextCut = 11,
  kTextCopy = 12,
  kTextPaste = 13,
  kTextDelete = 14,
  kTextMenuHelp = 15,
  kTextHelp = 16,
  kTextAbout = 17,
  kTextCommandsFrame = 18,
  kTextTalkline = 19,
  kTextTalklineTip = 20,
  kTextCodeline = 21,
  kTextCodelineTip = 22,
  kTextRemark = 23,
  kTextRemarkTip = 24,
  kTextResponseblock = 25,
  kTextResponseblockTip = 26,
  kTextCharactersFrame = 27,
  kTextCharacterListTip = 28,
  kTextAddCharacter = 29,
  kTextAddCharacterTip = 30,
  kTextEditCharacter = 31,
  kTextEditCharacterTip = 32,
  kTextDeleteCharacter = 33,
  kTextDeleteCharacterTip = 34,
  kTextBranchesFrame = 35,
  kTextColumnCommand = 36,
  kTextColumnCharacter = 37,
  kTextColumnText = 38,
  kTextColumnSoundfile = 39,
  kTextAddBranch = 40,
  kTextBrowse = 41,
  kTextColumnResponse = 52,
  kTextColumnVisibility = 53,
  kTextColumnConditions = 54,
  kTextColumnLink = 55,
  kTextAddResponse = 56,
  kTextAddResponseTip = 57,
  kTextDeleteResponse = 58,
  kTextDeleteResponseTip = 59,
  kTextClose = 60,
  kTextResponseLabel = 61,
  kTextLinkLabel = 62,
  kTextConditionsLabel = 63,
  kTextAlways = 64,
  kTextOnce = 65,
  kTextOnceGame = 66,
  kTextFlagsLabel = 67,
  kTextLeaveLoop = 68,
  kTextSayResponse = 69,
  kTextResponseOk = 70,
  kTextResponseCancel = 71,
  kTextRealNameLabel = 72,
  kTextEntityNameLabel = 73,
  kTextCharacterCancel = 74,
  kTextCharacterOk = 75,
  kTextAboutText = 76,
  kTextExportVexa = 77,
  kTextAddBranchTip = 78,
  kTextAssociateFiles = 79,
  kTextProjectFrame = 80,
  kTextChooseProject = 81,
  kTextChooseProjectTip = 82,
};

// The 83 texts of the user interface, by index: every label, title, tooltip
// and column of the program takes its text from here.
class UiTextTable {
 public:
  static constexpr int kCount = 83;

  // Fills the table from the program's block of zero-terminated texts.
  UiTextTable();

  const QString& operator[](int index) const { return texts_.at(static_cast<size_t>(index)); }

 private:
  std::array<QString, kCount> texts_;
};

inline constexpr const char* kProductName = "Tellwright";
inline constexpr const char* kProductVersion = "V1.2";

}  // namespace tellwright
