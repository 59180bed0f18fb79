#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <thread>

#include "platform/registry_store_format.h"
#include "platform/system_registry.h"
#include "settings/registry.h"
#include "settings/test_support.h"

namespace tellwright {
namespace {

using testing::ReadBytes;
using testing::TableEnvironment;
using testing::TempDir;
using testing::WriteBytes;

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

class RegistryStoreTest : public ::testing::Test {
 protected:
  std::string StoreFile() const { return temp.file("registry"); }

  TempDir temp;
  RegistryStore store{temp.file("registry")};
  RecordingReporter reporter;
  Registry registry{store, reporter};
};

TEST_F(RegistryStoreTest, KeyNamesAreFoundInAnyCaseAndKeepTheCaseTheyWereCreatedWith) {
  ASSERT_TRUE(registry.RegCreateKey(kUser, "Software\\Korvane\\Tellwright"));
  ASSERT_TRUE(registry.RegCreateKey(kUser, "SOFTWARE\\KORVANE\\TELLWRIGHT\\Sub"));
  ASSERT_TRUE(registry.RegWriteValue(kUser, "software\\korvane\\tellwright", "CurrentProject", "C:\\g.wpr", kRegSz));
  ASSERT_TRUE(registry.RegWriteValue(kUser, "Software\\Korvane\\Tellwright", "CURRENTPROJECT", "C:\\h.wpr", kRegSz));

  EXPECT_EQ(registry.RegListSubKey(kUser, "SOFTWARE", 0), "Korvane");
  EXPECT_EQ(registry.RegListSubKey(kUser, "software\\korvane", 0), "Tellwright");
  EXPECT_EQ(registry.RegListSubKey(kUser, "software\\korvane\\tellwright", 0), "Sub");
  EXPECT_EQ(registry.RegReadValue(kUser, "Software\\Korvane\\Tellwright", "currentproject"), "C:\\h.wpr");
  EXPECT_NE(ReadBytes(StoreFile()).find("\nCurrentProject=1:"), std::string::npos);
}

TEST_F(RegistryStoreTest, TheFileHoldsEveryKeyAndValueAsDocumented) {
  registry.RegCreateKey(kUser, "Software\\Empty");
  registry.RegSetValue(kUser, "Software\\Korvane", "", "default", kRegSz);
  registry.RegSetValue(kUser, "Software\\Korvane", "Path", "C:\\Program Files\\a=b%c", kRegSz);
  registry.RegSetValue(RegistryRoot::ClassesRoot, ".tlwdlg", "Count", "258", kRegDword);

  EXPECT_EQ(ReadBytes(StoreFile()),
            "tellwright-registry 1\n"
            "# Tellwright settings. Keys in [ ], values as name=type:data, other bytes as %XX.\n"
            "[HKEY_CLASSES_ROOT\\.tlwdlg]\n"
            "Count=4:%02%01%00%00\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "[HKEY_CURRENT_USER\\Software\\Empty]\n"
            "[HKEY_CURRENT_USER\\Software\\Korvane]\n"
            "=1:default%00\n"
            "Path=1:C:\\Program%20Files\\a%3Db%25c%00\n");
}

TEST_F(RegistryStoreTest, AnyBytesSurviveInNamesAndDataAcrossInstances) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  std::string awkwardName = "[#name= with %41 and\r\nbreaks]";
  {
    std::unique_ptr<RegistryKey> key = store.OpenKey(kUser, "Software\\K\xE4y #1 [x]", "", true);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetValue(awkwardName, {3, everyByte}));
    ASSERT_TRUE(key->SetValue("", {kRegSz, ""}));
  }
  RegistryStore other(StoreFile());
  std::unique_ptr<RegistryKey> key = other.OpenKey(kUser, "software\\K\xC4Y #1 [X]", "", false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->QueryValue(awkwardName), (RegistryValue{3, everyByte}));
  EXPECT_EQ(key->QueryValue(""), (RegistryValue{kRegSz, ""}));
  std::string text = ReadBytes(StoreFile());
  EXPECT_EQ(text.find_first_of(std::string("\r\t\x01\xFF", 4)), std::string::npos);
}

TEST_F(RegistryStoreTest, LongValuesAreReadWhole) {
  std::string longPath = "C:\\" + std::string(100000, 'x') + "\\game.wpr";
  ASSERT_TRUE(registry.RegSetValue(kUser, "Software\\Korvane\\Tellwright", "CurrentProject", longPath, kRegSz));
  EXPECT_EQ(registry.RegReadValue(kUser, "Software\\Korvane\\Tellwright", "CurrentProject"), longPath);
}

TEST_F(RegistryStoreTest, AnotherComputerCannotBeReached) {
  ASSERT_TRUE(registry.RegSetValue(kUser, "Software\\A", "v", "local", kRegSz));
  EXPECT_FALSE(registry.RegCreateKey(kUser, "Software\\B", "OTHERPC"));
  EXPECT_EQ(registry.RegReadValue(kUser, "Software\\A", "v", "OTHERPC"), "");
  EXPECT_EQ(registry.RegListSubKey(kUser, "Software", 0, "OTHERPC"), "");
  EXPECT_FALSE(registry.RegDeleteKey(kUser, "Software\\A", "OTHERPC"));
  EXPECT_FALSE(registry.RegDeleteKeyTree(kUser, "Software", "OTHERPC"));
  EXPECT_TRUE(reporter.errors.empty());
  EXPECT_FALSE(registry.RegWriteValue(kUser, "Software\\A", "v", "remote", kRegSz, "OTHERPC"));
  EXPECT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(registry.RegReadValue(kUser, "Software\\A", "v"), "local");
  EXPECT_EQ(registry.RegListSubKey(kUser, "Software", 0), "A");
}

TEST_F(RegistryStoreTest, TwoEditorsKeepEachOthersKeys) {
  RegistryStore second(StoreFile());
  RecordingReporter secondReporter;
  Registry secondRegistry(second, secondReporter);
  ASSERT_TRUE(registry.RegSetValue(kUser, "Software\\Korvane\\Tellwright", "LastFile1", "a.tlwdlg", kRegSz));
  ASSERT_TRUE(secondRegistry.RegSetValue(kUser, "Software\\Korvane\\Tellwright", "LastFile2", "b.tlwdlg", kRegSz));
  ASSERT_TRUE(registry.RegSetValue(RegistryRoot::ClassesRoot, ".tlwdlg", "", "FileType_tlwdlg", kRegSz));

  RegistryStore reader(StoreFile());
  RecordingReporter readerReporter;
  Registry readerRegistry(reader, readerReporter);
  EXPECT_EQ(readerRegistry.RegReadValue(kUser, "Software\\Korvane\\Tellwright", "LastFile1"), "a.tlwdlg");
  EXPECT_EQ(readerRegistry.RegReadValue(kUser, "Software\\Korvane\\Tellwright", "LastFile2"), "b.tlwdlg");
  EXPECT_EQ(readerRegistry.RegReadValue(RegistryRoot::ClassesRoot, ".tlwdlg", ""), "FileType_tlwdlg");
}

TEST_F(RegistryStoreTest, WritersRunningAtOnceLoseNoValue) {
  constexpr int kWriters = 4;
  constexpr int kValuesEach = 25;
  registry.RegCreateKey(kUser, "Software\\Race");
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      RegistryStore own(StoreFile());
      std::unique_ptr<RegistryKey> key = own.OpenKey(kUser, "Software\\Race", "", false);
      for (int i = 0; key && i < kValuesEach; ++i) {
        key->SetValue("w" + std::to_string(w) + "_" + std::to_string(i), {kRegSz, std::string("x\0", 2)});
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  RegistryTree tree = store.Load();
  RegistryNode* race = tree.Find(kUser, "Software\\Race");
  ASSERT_TRUE(race);
  EXPECT_EQ(race->values.size(), static_cast<size_t>(kWriters * kValuesEach));
}

TEST_F(RegistryStoreTest, KeysWithSubkeysAreNotDeletedAndRootsNever) {
  registry.RegCreateKey(kUser, "Software\\A\\B");
  EXPECT_FALSE(registry.RegDeleteKey(kUser, "Software\\A"));
  EXPECT_FALSE(registry.RegDeleteKey(kUser, ""));
  EXPECT_FALSE(registry.RegDeleteKey(kUser, "Software\\Missing"));
  EXPECT_TRUE(registry.RegDeleteKey(kUser, "software\\a\\b"));
  EXPECT_TRUE(registry.RegDeleteKey(kUser, "Software\\A"));
  EXPECT_EQ(registry.RegListSubKey(kUser, "Software", 0), "");
}

TEST_F(RegistryStoreTest, MalformedKeyPathsAreRefused) {
  for (const std::string& path :
       {std::string("a\\\\b"), std::string("a\\"), std::string("\\\\a"), std::string("a\0b", 3)}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(registry.RegCreateKey(kUser, path));
  }
  std::string deep;
  for (size_t i = 0; i <= kMaxRegistryKeyDepth; ++i) deep += (i ? "\\k" : "k");
  EXPECT_FALSE(registry.RegCreateKey(kUser, deep));
  EXPECT_EQ(ReadBytes(StoreFile()), "");
}

TEST(RegistryStoreLocationTest, UnusableLocationsReadEmptyAndRefuseChanges) {
  TempDir temp;
  WriteBytes(temp.file("plain-file"), "not a folder");
  for (const std::string& path : {std::string(), temp.file("plain-file") + "/registry"}) {
    SCOPED_TRACE(path);
    RegistryStore store(path);
    RecordingReporter reporter;
    Registry registry(store, reporter);
    EXPECT_FALSE(registry.RegCreateKey(kUser, "Software"));
    EXPECT_FALSE(registry.RegSetValue(kUser, "Software", "v", "x", kRegSz));
    EXPECT_EQ(registry.RegReadValue(kUser, "Software", "v"), "");
  }
}

TEST(RegistryStoreLocationTest, MissingFoldersAreCreated) {
  TempDir temp;
  RegistryStore store(temp.file("config/tellwright/registry"));
  RecordingReporter reporter;
  Registry registry(store, reporter);
  ASSERT_TRUE(registry.RegSetValue(kUser, "Software", "v", "x", kRegSz));
  EXPECT_EQ(RegistryStore(temp.file("config/tellwright/registry")).Load().Find(kUser, "Software")->values.size(), 1u);
}

// Files a user, a crash or another program could leave behind.
const std::vector<std::string> kDamagedStores = {
    "garbage",
    "tellwright-registry 2\n",
    "tellwright-registry 1\nname=1:value\n",
    "tellwright-registry 1\n[HKEY_NOWHERE\\a]\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a\\\\b]\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a]\nv=1:%G0\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a]\nv=1:%4\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a]\nv=99999999999:x\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a]\nv=:x\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a]\nv=1x\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a]\nno equals sign\n",
    "tellwright-registry 1\n[HKEY_CURRENT_USER\\a%00b]\n",
    std::string("\0\0\0\xFF\xFE", 5),
};

TEST(RegistryStoreDamageTest, ADamagedStoreReadsAsEmptyAndIsMovedAsideOnTheFirstChange) {
  for (const std::string& damaged : kDamagedStores) {
    SCOPED_TRACE(damaged);
    TempDir temp;
    WriteBytes(temp.file("registry"), damaged);
    RegistryStore store(temp.file("registry"));
    RecordingReporter reporter;
    Registry registry(store, reporter);
    EXPECT_EQ(registry.RegReadValue(kUser, "a", "v"), "");
    EXPECT_EQ(registry.RegListSubKey(kUser, "", 0), "");
    ASSERT_TRUE(registry.RegSetValue(kUser, "Software", "v", "new", kRegSz));
    EXPECT_EQ(registry.RegReadValue(kUser, "Software", "v"), "new");
    EXPECT_EQ(ReadBytes(temp.file("registry.damaged")), damaged);
  }
}

TEST(RegistryStoreDamageTest, KeysNestedDeeperThanTheRegistryAllowsMakeTheStoreDamaged) {
  std::string deep = "tellwright-registry 1\n[HKEY_CURRENT_USER";
  for (size_t i = 0; i <= kMaxRegistryKeyDepth; ++i) deep += "\\k";
  EXPECT_FALSE(ReadRegistryStore(deep + "]\n"));
}

TEST(RegistryStoreDamageTest, AnOversizedStoreIsNotRead) {
  TempDir temp;
  WriteBytes(temp.file("registry"), "tellwright-registry 1\n");
  std::filesystem::resize_file(temp.file("registry"), kMaxRegistryStoreBytes + 1);
  RegistryStore store(temp.file("registry"));
  EXPECT_EQ(store.Load().Root(kUser).children.size(), 0u);
}

TEST(RegistryStoreDamageTest, HandEditedStoresWithCarriageReturnsAndCommentsAreRead) {
  std::optional<RegistryTree> tree = ReadRegistryStore(
      "tellwright-registry 1\r\n# note\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\nv=1:a%62c%00\r\n[HKEY_USERS]\r\n");
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree->Find(kUser, "software")->values.at("V"), (RegistryValue{kRegSz, std::string("abc\0", 4)}));
}

// Mutated stores must never crash the reader, and whatever it accepts must
// write back to a file that reads as the same keys.
TEST(RegistryStoreDamageTest, MutatedStoresNeverCrashAndWhatIsReadWritesBackTheSame) {
  RegistryTree tree;
  bool created = false;
  tree.Create(kUser, "Software\\Korvane\\Tellwright", created)->values["CurrentProject"] = {kRegSz, "C:\\a b\\g.wpr"};
  tree.Create(RegistryRoot::ClassesRoot, "FileType_tlwdlg\\shell\\open\\command", created)->values[""] = {kRegSz,
                                                                                                          "\"x\""};
  tree.Create(RegistryRoot::LocalMachine, "K", created)->values["n"] = {kRegDword, std::string("\x01\x02\x03\x04", 4)};
  const std::string valid = WriteRegistryStore(tree);
  std::mt19937 random(20240611);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = valid;
    int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      size_t at = random() % bytes.size();
      switch (random() % 3) {
        case 0:
          bytes[at] = static_cast<char>(random() % 256);
          break;
        case 1:
          bytes.erase(at, 1 + random() % 8);
          break;
        default:
          bytes.insert(at, 1, "\\[]%=:#\n\r"[random() % 9]);
          break;
      }
    }
    std::optional<RegistryTree> read = ReadRegistryStore(bytes);
    if (!read) continue;
    ++accepted;
    std::string written = WriteRegistryStore(*read);
    std::optional<RegistryTree> again = ReadRegistryStore(written);
    ASSERT_TRUE(again) << bytes;
    ASSERT_EQ(WriteRegistryStore(*again), written) << bytes;
  }
  EXPECT_GT(accepted, 0);
}

TEST(RegistryStoreFileTest, TheStoreLivesInTheConfigurationFolderUnlessTheVariableNamesAnother) {
  struct Case {
    std::map<std::string, std::string> environment;
    std::optional<std::string> file;
  };
#ifdef _WIN32
  const std::vector<Case> cases = {
      {{{"APPDATA", "C:\\Users\\ann\\AppData\\Roaming"}}, "C:\\Users\\ann\\AppData\\Roaming\\Tellwright\\registry"},
      {{{"APPDATA", "\\\\srv\\ann\\"}}, "\\\\srv\\ann\\Tellwright\\registry"},
      {{{"APPDATA", "relative\\roaming"}}, std::nullopt},
      {{{"APPDATA", ""}, {"HOME", "/home/ann"}}, std::nullopt},
      {{{"APPDATA", "C:\\R"}, {"TELLWRIGHT_REGISTRY_DIR", "D:\\t\\"}}, "D:\\t\\registry"},
      {{{"TELLWRIGHT_REGISTRY_DIR", "rel"}}, "rel\\registry"},
      {{}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RegistryStoreFile(TableEnvironment(c.environment)), c.file) << c.file.value_or("(none)");
  }
  EXPECT_EQ(DataHome(TableEnvironment({{"APPDATA", "C:\\R"}, {"HOME", "/h"}})), "C:\\R");
  EXPECT_EQ(DataHome(TableEnvironment({{"HOME", "/h"}, {"XDG_DATA_HOME", "/d"}})), std::nullopt);
  EXPECT_EQ(RecoveryFolder(TableEnvironment({{"LOCALAPPDATA", "C:\\L"}})), "C:\\L\\Tellwright\\Recovery");
  EXPECT_EQ(RecoveryFolder(TableEnvironment({{"LOCALAPPDATA", "L"}})), std::nullopt);
  EXPECT_EQ(RecoveryFolder(TableEnvironment({{"HOME", "/h"}})), std::nullopt);
#else
  const std::vector<Case> cases = {
      {{{"HOME", "/home/ann"}}, "/home/ann/.config/tellwright/registry"},
      {{{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg"}}, "/cfg/tellwright/registry"},
      {{{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "relative/cfg"}}, "/home/ann/.config/tellwright/registry"},
      {{{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", ""}}, "/home/ann/.config/tellwright/registry"},
      {{{"HOME", "/home/ann"}, {"TELLWRIGHT_REGISTRY_DIR", "/tmp/t/"}}, "/tmp/t/registry"},
      {{{"TELLWRIGHT_REGISTRY_DIR", "rel"}}, "rel/registry"},
      {{{"TELLWRIGHT_REGISTRY_DIR", ""}, {"XDG_CONFIG_HOME", "/cfg"}}, "/cfg/tellwright/registry"},
      {{}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RegistryStoreFile(TableEnvironment(c.environment)), c.file) << c.file.value_or("(none)");
  }
  EXPECT_EQ(DataHome(TableEnvironment({{"HOME", "/h"}})), "/h/.local/share");
  EXPECT_EQ(DataHome(TableEnvironment({{"HOME", "/h"}, {"XDG_DATA_HOME", "/d"}})), "/d");
  EXPECT_EQ(RecoveryFolder(TableEnvironment({{"HOME", "/h"}})), "/h/.local/state/tellwright");
  EXPECT_EQ(RecoveryFolder(TableEnvironment({{"HOME", "/h"}, {"XDG_STATE_HOME", "/s"}})), "/s/tellwright");
  EXPECT_EQ(RecoveryFolder(TableEnvironment({{"HOME", "/h"}, {"XDG_STATE_HOME", "s"}})), "/h/.local/state/tellwright");
#endif
  EXPECT_EQ(RecoveryFolder(TableEnvironment({})), std::nullopt);
}

#ifdef _WIN32
// On Windows the system back end is the registry itself: what it writes,
// the Win32 API reads back, and the store file stays untouched.
TEST(RegistryStoreFileTest, TheSystemBackEndHereIsTheWindowsRegistry) {
  const char* allowed = std::getenv(testing::kRealRegistryVariable);
  if (!allowed || std::string(allowed) != "1")
    GTEST_SKIP() << "changes the system's registry; set " << testing::kRealRegistryVariable << "=1 to allow it";
  TempDir temp;
  testing::ScopedEnvironment environment;
  environment.Set(kRegistryDirVariable, temp.path().string());
  testing::RemoveTestRegistryKeys();
  std::unique_ptr<RegistryBackend> backend = MakeSystemRegistryBackend();
  RecordingReporter reporter;
  Registry registry(*backend, reporter);
  ASSERT_TRUE(registry.RegSetValue(kUser, "Software\\Tellwright tests", "v", "x", kRegSz));
  EXPECT_EQ(testing::SystemRegistryString(HKEY_CURRENT_USER, "Software\\Tellwright tests", "v"), "x");
  EXPECT_FALSE(std::filesystem::exists(temp.file("registry")));
  testing::RemoveTestRegistryKeys();
}
#else
TEST(RegistryStoreFileTest, TheSystemBackEndHereIsTheStoreTheVariableNames) {
  TempDir temp;
  testing::ScopedEnvironment environment;
  environment.Set(kRegistryDirVariable, temp.path().string());
  std::unique_ptr<RegistryBackend> backend = MakeSystemRegistryBackend();
  RecordingReporter reporter;
  Registry registry(*backend, reporter);
  ASSERT_TRUE(registry.RegSetValue(kUser, "Software\\Korvane", "v", "x", kRegSz));
  EXPECT_NE(ReadBytes(temp.file("registry")).find("[HKEY_CURRENT_USER\\Software\\Korvane]"), std::string::npos);
}
#endif

}  // namespace
}  // namespace tellwright
