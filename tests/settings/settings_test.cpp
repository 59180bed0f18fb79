#include "settings/settings.h"

#include <gtest/gtest.h>

#include "platform/registry_store.h"
#include "test_support.h"

namespace tellwright {
namespace {


using SettingsTest = testing::RegistryFixture;

TEST_F(SettingsTest, FirstRunReadsEverythingEmpty) {
  Settings settings = ReadSettings(registry);
  EXPECT_EQ(settings.currentProject, "");
  EXPECT_EQ(settings.recentFiles, RecentFiles{});
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(SettingsTest, WrittenSettingsReadBackWholeInANewSession) {
  Settings written;
  written.currentProject = "C:\\Games\\" + std::string(400, 'd') + "\\game.wpr";
  written.recentFiles = {"C:\\a.tlwdlg", "", "C:\\c.tlwchr", "D:\\" + std::string(testing::kNonAsciiName) + ".tlwdlg", ""};
  ASSERT_TRUE(WriteSettings(registry, written));

  std::unique_ptr<RegistryBackend> nextSession = NextSession();
  Registry nextRegistry(*nextSession, reporter);
  Settings read = ReadSettings(nextRegistry);
  EXPECT_EQ(read.currentProject, written.currentProject);
  EXPECT_EQ(read.recentFiles, written.recentFiles);
}

TEST_F(SettingsTest, WritingCreatesBothKeysThenWritesTheSixValuesInOrder) {
  Settings settings;
  settings.currentProject = "C:\\g.wpr";
  settings.recentFiles = {"1", "2", "", "4", "5"};
  WriteSettings(registry, settings);
  const std::string key = "HKEY_CURRENT_USER\\Software\\Korvane\\Tellwright";
  EXPECT_EQ(recording.log, (std::vector<std::string>{
                               "create HKEY_CURRENT_USER\\Software\\Korvane",
                               "create " + key,
                               "set " + key + " [CurrentProject] C:\\g.wpr",
                               "set " + key + " [LastFile1] 1",
                               "set " + key + " [LastFile2] 2",
                               "set " + key + " [LastFile3] ",
                               "set " + key + " [LastFile4] 4",
                               "set " + key + " [LastFile5] 5",
                           }));
}

TEST_F(SettingsTest, AKeyThatCannotBeOpenedIsReportedOncePerValue) {
  recording.refuseOpen = [](RegistryRoot, std::string_view path) { return path == "Software\\Korvane\\Tellwright"; };
  EXPECT_FALSE(WriteSettings(registry, Settings{}));
  ASSERT_EQ(reporter.errors.size(), 6u);
  for (const ReportedError& error : reporter.errors) {
    EXPECT_EQ(error.title, "Fehler");
    EXPECT_EQ(error.message, "Ein Fehler ist aufgetreten");
  }
}

TEST_F(SettingsTest, NumberValuesReadAsDecimalAndOtherTypesAsEmpty) {
  std::unique_ptr<RegistryKey> key =
      backend.OpenKey(RegistryRoot::CurrentUser, "Software\\Korvane\\Tellwright", "", true);
  ASSERT_TRUE(key);
  key->SetValue("CurrentProject", {kRegDword, std::string("\x07\x00\x00\x00", 4)});
  key->SetValue("LastFile1", {3, "C:\\binary.tlwdlg"});
  Settings settings = ReadSettings(registry);
  EXPECT_EQ(settings.currentProject, "7");
  EXPECT_EQ(settings.recentFiles[0], "");
}

#ifdef _WIN32
// What another program (or regedit) reads from the registry after a save:
// the characters of the paths, whatever the system's ANSI code page. The
// recent files are file names (UTF-8 here), the engine project path a
// document text (Windows-1252).
TEST_F(SettingsTest, TheValuesStandInTheSystemsRegistryUnderTheEditorsKey) {
  Settings settings;
  settings.currentProject = "C:\\Spiele\\L\xF6we\\game.wpr";
  settings.recentFiles = {"C:\\a.tlwdlg", "", "D:\\\xC3\x84rger \xE7\x81\xAF.tlwdlg", "x", "y"};
  ASSERT_TRUE(WriteSettings(registry, settings));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"CurrentProject", "C:\\Spiele\\L\xC3\xB6we\\game.wpr"},
      {"LastFile1", "C:\\a.tlwdlg"},
      {"LastFile2", ""},
      {"LastFile3", "D:\\\xC3\x84rger \xE7\x81\xAF.tlwdlg"},
      {"LastFile4", "x"},
      {"LastFile5", "y"},
  };
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(testing::SystemRegistryString(HKEY_CURRENT_USER, "Software\\Korvane\\Tellwright", name), value) << name;
  }
  Settings read = ReadSettings(registry);
  EXPECT_EQ(read.currentProject, settings.currentProject);
  EXPECT_EQ(read.recentFiles, settings.recentFiles);
  // An engine project whose path the document's Windows-1252 cannot hold.
  ASSERT_TRUE(registry.RegWriteValue(RegistryRoot::CurrentUser, "Software\\Korvane\\Tellwright", "CurrentProject",
                                     "C:\\\xE7\x81\xAF\\game.wpr", kRegSz));
  EXPECT_EQ(ReadSettings(registry).currentProject, "");
}
#endif

}  // namespace
}  // namespace tellwright
