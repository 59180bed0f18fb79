#include "settings/registry.h"

#include <gtest/gtest.h>

#include "platform/registry_store.h"
#include "test_support.h"

namespace tellwright {
namespace {


constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// Every root is a key of its own here, so that the tests see empty roots also
// in a registry that other programs use.
class RegistryTest : public testing::RegistryFixture {
 protected:
  RegistryTest() : RegistryFixture("Software\\Tellwright tests") {}

  std::optional<RegistryValue> Stored(std::string_view key, std::string_view name) {
    std::unique_ptr<RegistryKey> opened = backend.OpenKey(kUser, key, "", false);
    return opened ? opened->QueryValue(name) : std::nullopt;
  }
  void StoreRaw(std::string_view key, std::string_view name, RegistryValue value) {
    std::unique_ptr<RegistryKey> opened = backend.OpenKey(kUser, key, "", true);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(opened->SetValue(name, value));
  }

};

TEST_F(RegistryTest, OneLeadingBackslashIsDropped) {
  ASSERT_TRUE(registry.RegCreateKey(kUser, "\\Software\\Korvane"));
  EXPECT_TRUE(registry.RegWriteValue(kUser, "\\Software\\Korvane", "v", "x", kRegSz));
  EXPECT_EQ(registry.RegReadValue(kUser, "Software\\Korvane", "v"), "x");
  EXPECT_EQ(registry.RegListSubKey(kUser, "\\Software", 0), "Korvane");
  EXPECT_FALSE(registry.RegCreateKey(kUser, "\\\\Software"));
  EXPECT_TRUE(registry.RegDeleteKey(kUser, "\\Software\\Korvane"));
}

TEST_F(RegistryTest, WritingIntoAMissingKeyShowsTheErrorBoxAndWritesNothing) {
  EXPECT_FALSE(registry.RegWriteValue(kUser, "Software\\Missing", "v", "x", kRegSz));
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(reporter.errors[0].title, "Fehler");
  EXPECT_EQ(reporter.errors[0].message, "Ein Fehler ist aufgetreten");
  EXPECT_EQ(registry.RegReadValue(kUser, "Software\\Missing", "v"), "");
}

TEST_F(RegistryTest, SetValueCreatesTheKeyFirst) {
  EXPECT_TRUE(registry.RegSetValue(kUser, "Software\\New\\Key", "", "default", kRegSz));
  EXPECT_EQ(registry.RegReadValue(kUser, "Software\\New\\Key", ""), "default");
  EXPECT_EQ(recording.log, (std::vector<std::string>{"create HKEY_CURRENT_USER\\Software\\New\\Key",
                                                     "set HKEY_CURRENT_USER\\Software\\New\\Key [] default"}));
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(RegistryTest, StringsAreStoredWithTheirTerminatingZero) {
  registry.RegSetValue(kUser, "K", "s", "abc", kRegSz);
  registry.RegSetValue(kUser, "K", "empty", "", kRegSz);
  EXPECT_EQ(Stored("K", "s"), (RegistryValue{kRegSz, std::string("abc\0", 4)}));
  EXPECT_EQ(Stored("K", "empty"), (RegistryValue{kRegSz, std::string("\0", 1)}));
}

TEST_F(RegistryTest, NumbersAreStoredInFourBytesAndReadBackInDecimal) {
  struct Case {
    std::string written;
    std::string stored;
    std::string read;
  };
  const std::vector<Case> cases = {
      {"258", std::string("\x02\x01\x00\x00", 4), "258"},
      {"  42 apples", std::string("\x2A\x00\x00\x00", 4), "42"},
      {"-1", std::string("\xFF\xFF\xFF\xFF", 4), "4294967295"},
      {"4294967295", std::string("\xFF\xFF\xFF\xFF", 4), "4294967295"},
      {"99999999999", std::string("\xFF\xFF\xFF\xFF", 4), "4294967295"},
      {"-99999999999", std::string("\x00\x00\x00\x80", 4), "2147483648"},
      {"abc", std::string(4, '\0'), "0"},
      {"", std::string(4, '\0'), "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    ASSERT_TRUE(registry.RegSetValue(kUser, "K", "n", c.written, kRegDword));
    EXPECT_EQ(Stored("K", "n"), (RegistryValue{kRegDword, c.stored}));
    EXPECT_EQ(registry.RegReadValue(kUser, "K", "n"), c.read);
  }
}

TEST_F(RegistryTest, OtherTypesAreNotWrittenAndSaySo) {
  registry.RegCreateKey(kUser, "K");
  EXPECT_FALSE(registry.RegWriteValue(kUser, "K", "b", "bytes", 3));
  EXPECT_FALSE(Stored("K", "b"));
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(RegistryTest, AFailedWriteIsReportedAsFailed) {
  registry.RegCreateKey(kUser, "K");
  recording.refuseWrites = true;
  EXPECT_FALSE(registry.RegWriteValue(kUser, "K", "s", "x", kRegSz));
  EXPECT_FALSE(registry.RegSetValue(kUser, "K", "n", "1", kRegDword));
}

TEST_F(RegistryTest, ReadingGivesTextForStringsAndNumbersOnly) {
  struct Case {
    const char* name;
    RegistryValue stored;
    std::string read;
  };
  const std::vector<Case> cases = {
      {"sz", {kRegSz, std::string("C:\\a.wpr\0", 9)}, "C:\\a.wpr"},
      {"unterminated", {kRegSz, "no zero"}, "no zero"},
      {"inner zero", {kRegSz, std::string("cut\0here\0", 9)}, "cut"},
      {"short dword", {kRegDword, "\x01\x02"}, "0"},
      {"long dword", {kRegDword, "\x01\x02\x03\x04\x05"}, "0"},
      {"expand sz", {2, std::string("%TEMP%\0", 7)}, ""},
      {"binary", {3, "\x01\x02\x03\x04"}, ""},
      {"multi sz", {7, std::string("a\0b\0\0", 5)}, ""},
  };
  for (const Case& c : cases) {
    StoreRaw("K", c.name, c.stored);
    EXPECT_EQ(registry.RegReadValue(kUser, "K", c.name), c.read) << c.name;
  }
  EXPECT_EQ(registry.RegReadValue(kUser, "K", "missing"), "");
  EXPECT_EQ(registry.RegReadValue(kUser, "Missing", "sz"), "");
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(RegistryTest, SubkeysAreListedInNameOrderRegardlessOfCase) {
  const std::string arger(testing::kNonAsciiName);
  for (const std::string& name : {std::string("beta"), std::string("Alpha"), std::string("gamma"), arger})
    registry.RegCreateKey(kUser, "K\\" + name);
  std::vector<std::string> listed;
  for (int i = 0; i < 6; ++i) listed.push_back(registry.RegListSubKey(kUser, "K", i));
  EXPECT_EQ(listed, (std::vector<std::string>{"Alpha", "beta", "gamma", arger, "", ""}));
  EXPECT_EQ(registry.RegListSubKey(kUser, "K", -1), "");
  EXPECT_EQ(registry.RegListSubKey(kUser, "Missing", 0), "");
}

TEST_F(RegistryTest, DeletingATreeRemovesEveryKeyBelowIt) {
  for (const char* key : {"Keep\\Sibling", "Tree\\A\\A1", "Tree\\A\\A2\\Deep", "Tree\\B"}) registry.RegCreateKey(kUser, key);
  registry.RegSetValue(kUser, "Tree\\B", "v", "x", kRegSz);
  EXPECT_TRUE(registry.RegDeleteKeyTree(kUser, "\\Tree"));
  EXPECT_EQ(registry.RegListSubKey(kUser, "", 0), "Keep");
  EXPECT_EQ(registry.RegListSubKey(kUser, "", 1), "");
  EXPECT_EQ(registry.RegListSubKey(kUser, "Keep", 0), "Sibling");
}

TEST_F(RegistryTest, ATreeWithAKeyThatCannotBeDeletedStopsInsteadOfLooping) {
  for (const char* key : {"Tree\\A\\Stuck", "Tree\\B"}) registry.RegCreateKey(kUser, key);
  recording.refuseDelete = [](std::string_view path) { return path == "Tree\\A\\Stuck"; };
  EXPECT_FALSE(registry.RegDeleteKeyTree(kUser, "Tree"));
  EXPECT_EQ(registry.RegListSubKey(kUser, "Tree\\A", 0), "Stuck");
  EXPECT_LT(recording.log.size(), 10u);
}

TEST_F(RegistryTest, DeletingATreeNeverDeletesARoot) {
  registry.RegCreateKey(kUser, "Software\\Korvane");
  EXPECT_FALSE(registry.RegDeleteKeyTree(kUser, ""));
  EXPECT_FALSE(registry.RegDeleteKeyTree(kUser, "\\"));
  EXPECT_EQ(registry.RegListSubKey(kUser, "Software", 0), "Korvane");
}

TEST_F(RegistryTest, DeletingATreeOnAnotherComputerLeavesTheLocalKeysAlone) {
  registry.RegCreateKey(kUser, "Tree\\Child");
  EXPECT_FALSE(registry.RegDeleteKeyTree(kUser, "Tree", "OTHERPC"));
  EXPECT_EQ(registry.RegListSubKey(kUser, "Tree", 0), "Child");
}

}  // namespace
}  // namespace tellwright
