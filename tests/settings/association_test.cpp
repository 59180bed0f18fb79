#include "settings/association.h"

#include <gtest/gtest.h>

#include "platform/registry_store.h"
#include "test_support.h"

namespace tellwright {
namespace {

using testing::ReadBytes;

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;

class AssociationTest : public testing::RegistryFixture {
 protected:
  std::string Default(std::string_view key) { return registry.RegReadValue(kClasses, key, ""); }

};

TEST_F(AssociationTest, TheProjectExtensionOpensWithTheProgram) {
  const std::string program = "C:\\Tools\\ed.exe";
  EXPECT_EQ(AssociationIconPath(program), "C:\\Tools\\TLWIcon.ico");
  EXPECT_TRUE(Associate(registry, ".tlwdlg", program, "Tellwright", AssociationIconPath(program)));
  EXPECT_EQ(Default(".tlwdlg"), "FileType_tlwdlg");
  EXPECT_EQ(Default("FileType_tlwdlg"), "Tellwright");
  EXPECT_EQ(Default("FileType_tlwdlg\\DefaultIcon"), "C:\\Tools\\TLWIcon.ico");
  EXPECT_EQ(Default("FileType_tlwdlg\\shell\\open\\command"), "\"C:\\Tools\\ed.exe\" \"%1\"");
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(AssociationTest, KeysAreCreatedAndValuesWrittenInOrder) {
  Associate(registry, ".tlwdlg", "C:\\Tools\\ed.exe", "Tellwright", "C:\\Tools\\TLWIcon.ico");
  const std::string type = "HKEY_CLASSES_ROOT\\FileType_tlwdlg";
  EXPECT_EQ(recording.log, (std::vector<std::string>{
                               "create HKEY_CLASSES_ROOT\\.tlwdlg",
                               "set HKEY_CLASSES_ROOT\\.tlwdlg [] FileType_tlwdlg",
                               "create " + type,
                               "set " + type + " [] Tellwright",
                               "create " + type + "\\DefaultIcon",
                               "set " + type + "\\DefaultIcon [] C:\\Tools\\TLWIcon.ico",
                               "create " + type + "\\shell",
                               "create " + type + "\\shell\\open",
                               "create " + type + "\\shell\\open\\command",
                               "set " + type + "\\shell\\open\\command [] \"C:\\Tools\\ed.exe\" \"%1\"",
                           }));
}

TEST_F(AssociationTest, AnExtensionWithoutItsFullStopGivesTheSameKeys) {
  Associate(registry, ".tlwdlg", "C:\\Tools\\ed.exe", "Tellwright", "C:\\Tools\\TLWIcon.ico");
  std::vector<std::string> withStop = recording.log;
  recording.log.clear();
  Associate(registry, "tlwdlg", "C:\\Tools\\ed.exe", "Tellwright", "C:\\Tools\\TLWIcon.ico");
  EXPECT_EQ(recording.log, withStop);
  EXPECT_EQ(Default(".tlwdlg"), "FileType_tlwdlg");
#ifndef _WIN32
  std::string once = ReadBytes(temp.file("registry"));
  RegistryStore other(temp.file("other"));
  Registry otherRegistry(other, reporter);
  Associate(otherRegistry, "tlwdlg", "C:\\Tools\\ed.exe", "Tellwright", "C:\\Tools\\TLWIcon.ico");
  EXPECT_EQ(ReadBytes(temp.file("other")), once);
#endif
}

#ifdef _WIN32
// What the shell reads: the keys under HKEY_CLASSES_ROOT, read straight
// through the Win32 API, with the program in a folder whose name the ANSI
// code page cannot spell (program paths are UTF-8 here).
TEST_F(AssociationTest, TheShellFindsTheProgramInTheSystemsRegistry) {
  const std::string program = "C:\\Users\\J\xC3\xB6rg\\Tellwright \xE7\x81\xAF\\tellwright.exe";
  ASSERT_TRUE(Associate(registry, ".tlwdlg", program, "Tellwright", AssociationIconPath(program)));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {".tlwdlg", "FileType_tlwdlg"},
      {"FileType_tlwdlg", "Tellwright"},
      {"FileType_tlwdlg\\DefaultIcon", "C:\\Users\\J\xC3\xB6rg\\Tellwright \xE7\x81\xAF\\TLWIcon.ico"},
      {"FileType_tlwdlg\\shell\\open\\command", "\"" + program + "\" \"%1\""},
  };
  for (const auto& [key, value] : expected) {
    EXPECT_EQ(testing::SystemRegistryString(HKEY_CLASSES_ROOT, key, ""), value) << key;
  }
}
#endif

TEST_F(AssociationTest, WithoutRightsEveryValueIsReportedAndTheRemainingStepsStillRun) {
  recording.refuseOpen = [](RegistryRoot root, std::string_view) { return root == kClasses; };
  EXPECT_FALSE(Associate(registry, ".tlwdlg", "C:\\Tools\\ed.exe", "Tellwright", "C:\\Tools\\TLWIcon.ico"));
  EXPECT_EQ(reporter.errors.size(), 4u);
  EXPECT_EQ(recording.log.size(), 6u);  // every create was still tried
  EXPECT_EQ(recording.log.back(), "create HKEY_CLASSES_ROOT\\FileType_tlwdlg\\shell\\open\\command");
}

TEST(AssociationIconTest, TheIconSitsInTheProgramsFolder) {
  EXPECT_EQ(AssociationIconPath("/opt/tellwright/tellwright"), "/opt/tellwright/TLWIcon.ico");
  EXPECT_EQ(AssociationIconPath("tellwright"), "TLWIcon.ico");
}

}  // namespace
}  // namespace tellwright
