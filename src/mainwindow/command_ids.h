#pragma once

namespace tellwright {

// Menu commands and shortcuts of the main window, by their ids.
enum CommandId : int {
  kCommandNew = 0,
  kCommandLoadDialogue = 1,
  kCommandSave = 2,
  kCommandSaveAs = 3,
  kCommandLoadCharacterList = 4,
  kCommandSaveCharacterList = 5,
  kCommandExportWme = 6,
  kCommandExportVexa = 7,
  kCommandExportText = 8,
  kCommandQuit = 9,
  kCommandCut = 10,
  kCommandCopy = 11,
  kCommandPaste = 12,
  kCommandDelete = 13,
  kCommandHelp = 14,
  kCommandAbout = 15,
  kCommandAssociate = 16,
  kCommandRecentFile1 = 17,  // recent files 1 to 5: 17 to 21
  kCommandRecentFile5 = 21,
  kCommandMoveUp = 101,
  kCommandMoveDown = 102,
  kCommandUndo = 103,
  kCommandRedo = 104,
  kCommandPlay = 105,
  kCommandProblems = 106,
  kCommandFind = 107,
  kCommandReplace = 108,
  kCommandFindNext = 109,
  kCommandFindPrevious = 110,
  kCommandExportRecordingScript = 111,
  kCommandStatistics = 112,
  kCommandBranchMap = 113,
  kCommandAssignKeys = 114,
  kCommandExportStringTable = 115,
  kCommandAddTranslation = 116,
  kCommandStopCheckingTranslations = 117,
};

// The gadgets of the main window, by their ids.
enum GadgetId : int {
  kGadgetCommandsFrame = 0,
  kGadgetTalkline = 1,
  kGadgetCodeline = 2,
  kGadgetRemark = 3,
  kGadgetResponseblock = 4,
  kGadgetCharactersFrame = 5,
  kGadgetCharacterList = 6,
  kGadgetAddCharacter = 7,
  kGadgetEditCharacter = 8,
  kGadgetDeleteCharacter = 9,
  kGadgetProjectFrame = 10,
  kGadgetBranchesFrame = 11,
  kGadgetLineList = 48,
  kGadgetBranchSelector = 49,
  kGadgetAddBranch = 50,
  kGadgetProjectField = 59,
  kGadgetChooseProject = 60,
};

}  // namespace tellwright
