#pragma once

#include <string>

namespace tellwright::testing {

// Two branches that pass the check; Start holds the worked example (Guy says
// Hello, then Bye / Who are you?), Intro a remark and a line with a sound.
inline const std::string kGoodProject =
    "V1.2\n"
    "C:\\Games\\demo\\demo.wpr\n"
    "Guy\nguy\n"
    "##ENDCHARLIST##\n"
    "1\n"
    "##DIALOGBRANCH##\nStart\n2\n"
    "Talkline\nGuy\nHello\n\n0\n"
    "Responseblock\nGuy\n\n\n1\n"
    "##ENDBRANCH##\n"
    "##DIALOGBRANCH##\nIntro\n2\n"
    "Remark\n\nHe turns round.\n\n0\n"
    "Talkline\nGuy\nI am Guy.\nvoice\\guy1.ogg\n0\n"
    "##ENDBRANCH##\n"
    "##RESPONSEBLOCK##\n1\n"
    "Bye\n\n\n0\n1\n1\n"
    "Who are you?\n\nIntro\n1\n0\n0\n"
    "##ENDRESPONSE##\n";

// Loads, but its second branch's name has a hyphen.
inline const std::string kFaultyProject =
    "V1.2\n\n##ENDCHARLIST##\n1\n"
    "##DIALOGBRANCH##\nFine\n0\n##ENDBRANCH##\n"
    "##DIALOGBRANCH##\nBad-name\n0\n##ENDBRANCH##\n";
inline const std::string kFaultyMessage =
    "The dialogue branch name 'Bad-name' contains restricted characters. Please correct the dialogue branch name "
    "and only use letters, numbers and the '_' character.";

// A line count past the table end on line 7.
inline const std::string kDamagedProject = "V1.2\n\n##ENDCHARLIST##\n0\n##DIALOGBRANCH##\nX\n5000\n";

}  // namespace tellwright::testing
