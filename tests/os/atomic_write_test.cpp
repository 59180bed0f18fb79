#include "os/atomic_write.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "document/project_file.h"
#include "os/file_names.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

int FilesIn(const std::filesystem::path& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

#ifndef _WIN32
// Makes a folder unwritable, also for root (who ignores permission bits):
// then the folder is made immutable instead. Returns false when neither works.
bool MakeReadOnly(const std::filesystem::path& folder) {
  if (geteuid() != 0) return ::chmod(folder.c_str(), 0555) == 0;
  std::string command = "chattr +i '" + folder.string() + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

void MakeWritable(const std::filesystem::path& folder) {
  if (geteuid() != 0) {
    ::chmod(folder.c_str(), 0755);
    return;
  }
  std::string command = "chattr -i '" + folder.string() + "' 2>/dev/null";
  [[maybe_unused]] int ignored = std::system(command.c_str());
}
#endif

TEST(AtomicWrite, ReplacesTheTargetAndLeavesNoTemporaryFile) {
  TempDir dir;
  std::string path = dir.file("out.txt");
  WriteBytes(path, "old");
  ASSERT_TRUE(WriteFileAtomically(path, "new bytes").ok);
  EXPECT_EQ(ReadBytes(path), "new bytes");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST(AtomicWrite, AFileWrittenInPiecesReplacesTheTargetOnlyWhenCommitted) {
  TempDir dir;
  std::string path = dir.file("out.txt");
  WriteBytes(path, "old");
  {
    AtomicFile file;
    ASSERT_TRUE(file.open(path).ok);
    file.write("never ");
    file.write("committed");
    EXPECT_EQ(ReadBytes(path), "old");
  }
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(FilesIn(dir.path()), 1);

  AtomicFile file;
  ASSERT_TRUE(file.open(path).ok);
  for (int i = 0; i < 1000; ++i) file.write("piece ");
  ASSERT_TRUE(file.commit().ok);
  std::string expected;
  for (int i = 0; i < 1000; ++i) expected += "piece ";
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(FilesIn(dir.path()), 1);
  EXPECT_FALSE(file.commit().ok);  // once only
}

TEST(AtomicWrite, KeepsThePermissionsOfTheReplacedFile) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permission bits; Windows has no such bits to keep";
#else
  TempDir dir;
  std::string path = dir.file("out.txt");
  WriteBytes(path, "old");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, "new").ok);
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
#endif
}

TEST(AtomicWrite, ReportsFailuresAndLeavesTheOldFileWhole) {
  TempDir dir;
  std::string directoryTarget = dir.file("folder.tlwdlg");
  std::filesystem::create_directory(directoryTarget);
  Status missing = WriteFileAtomically(dir.file("no/such/folder/p.tlwdlg"), "x");
  EXPECT_FALSE(missing.ok);
#ifdef _WIN32
  const std::string reason = WindowsErrorText(ERROR_PATH_NOT_FOUND);
#else
  const std::string reason = "No such file or directory";
#endif
  EXPECT_NE(missing.message.find(reason), std::string::npos) << missing.message;
  Status isDirectory = WriteFileAtomically(directoryTarget, "x");
  EXPECT_FALSE(isDirectory.ok);
  EXPECT_TRUE(std::filesystem::is_directory(directoryTarget));
}

TEST(AtomicWrite, ReadOnlyFolderIsReportedAndTheOldFileKept) {
#ifdef _WIN32
  GTEST_SKIP() << "a read-only folder does not stop new files in it on Windows; see ReadOnlyTargetIsNotReplaced";
#else
  TempDir dir;
  std::filesystem::path folder = dir.path() / "locked";
  std::filesystem::create_directory(folder);
  std::string path = (folder / "p.tlwdlg").string();
  WriteBytes(path, "precious");
  if (!MakeReadOnly(folder)) GTEST_SKIP() << "cannot make a folder read-only here";
  Status status = SaveProject(DialogueDocument{}, path);
  MakeWritable(folder);
  EXPECT_FALSE(status.ok);
  EXPECT_FALSE(status.message.empty());
  EXPECT_EQ(ReadBytes(path), "precious");
  EXPECT_EQ(FilesIn(folder), 1);
#endif
}

// A full disk, simulated with a file size limit in a child process: the
// write fails part way and the old file must survive it.
TEST(AtomicWrite, FailedWriteOnAFullDiskLeavesTheOldFileWhole) {
#ifdef _WIN32
  GTEST_SKIP() << "needs fork and a file size limit (setrlimit), which Windows does not have";
#else
  TempDir dir;
  std::string path = dir.file("p.tlwdlg");
  WriteBytes(path, "precious");
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    Status status = WriteFileAtomically(path, std::string(100000, 'x'));
    _exit(status.ok ? 0 : (status.message.find("File too large") != std::string::npos ? 3 : 4));
  }
  int result = 0;
  ASSERT_EQ(waitpid(child, &result, 0), child);
  ASSERT_TRUE(WIFEXITED(result));
  EXPECT_EQ(WEXITSTATUS(result), 3) << "the failed write was not reported with its reason";
  EXPECT_EQ(ReadBytes(path), "precious");
  EXPECT_EQ(FilesIn(dir.path()), 1);
#endif
}

// Names outside ASCII, given as UTF-8 on Windows (the system's bytes on
// Linux), are written, replaced and read under exactly that name.
TEST(AtomicWrite, NamesOutsideAsciiAreWrittenAndReadUnderThatName) {
  const std::vector<std::string> names = {
      "\xC3\x84rger.tlwdlg",              // Ärger
      "Stra\303\237e und Hof.tlwdlg",     // Straße und Hof
      "\xE6\x97\xA5\xE6\x9C\xAC.tlwdlg",  // two CJK letters, in no Western code page
      "\xF0\x9F\x8E\xAD play.tlwdlg",     // outside the Basic Multilingual Plane
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    TempDir dir;
    std::string path = FileNameString(dir.path()) + "/" + name;
    ASSERT_TRUE(WriteFileAtomically(path, "first").ok);
    ASSERT_TRUE(WriteFileAtomically(path, "second").ok);
    std::string read;
    ASSERT_TRUE(ReadWholeFile(path, read).ok);
    EXPECT_EQ(read, "second");
    std::vector<std::string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      listed.push_back(FileNameString(entry.path().filename()));
    EXPECT_EQ(listed, std::vector<std::string>{name});
  }
}

// A read-only file is a promise the user made: it is not replaced, though
// its folder would allow it. The save fails with the system's reason, the
// old file stays and the temporary file goes.
TEST(AtomicWrite, ReadOnlyTargetIsNotReplaced) {
  TempDir dir;
  std::string path = dir.file("p.tlwdlg");
  WriteBytes(path, "precious");
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  Status status = WriteFileAtomically(path, "new");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::string reason = WindowsErrorText(ERROR_ACCESS_DENIED);
#else
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  Status status = WriteFileAtomically(path, "new");
  const std::string reason = std::strerror(EACCES);
#endif
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.message.find(reason), std::string::npos) << status.message;
  EXPECT_EQ(ReadBytes(path), "precious");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

#ifndef _WIN32
// A link stays a link: the file it leads to (through any chain of links, to
// any folder, also one that does not exist yet) gets the new bytes, replaced
// in its own folder, as every other file is.
TEST(AtomicWrite, SymbolicLinkIsWrittenThroughToItsTarget) {
  TempDir dir;
  std::filesystem::path real = dir.path() / "real";
  std::filesystem::create_directory(real);
  WriteBytes((real / "p.tlwdlg").string(), "old");
  ::chmod((real / "p.tlwdlg").c_str(), 0640);
  std::filesystem::create_symlink("real/p.tlwdlg", dir.path() / "link.tlwdlg");
  std::filesystem::create_symlink(dir.path() / "link.tlwdlg", dir.path() / "chain.tlwdlg");
  std::filesystem::create_symlink("real/new.tlwdlg", dir.path() / "dangling.tlwdlg");

  for (const char* name : {"link.tlwdlg", "chain.tlwdlg"}) {
    ASSERT_TRUE(WriteFileAtomically(dir.file(name), name).ok) << name;
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / name)) << name;
    EXPECT_EQ(ReadBytes((real / "p.tlwdlg").string()), name);
  }
  struct stat info;
  ASSERT_EQ(::stat((real / "p.tlwdlg").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  ASSERT_TRUE(WriteFileAtomically(dir.file("dangling.tlwdlg"), "made").ok);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "dangling.tlwdlg"));
  EXPECT_EQ(ReadBytes((real / "new.tlwdlg").string()), "made");
  EXPECT_EQ(FilesIn(dir.path()), 4);
  EXPECT_EQ(FilesIn(real), 2);

  std::filesystem::create_symlink("loop.tlwdlg", dir.path() / "loop.tlwdlg");
  Status loop = WriteFileAtomically(dir.file("loop.tlwdlg"), "x");
  EXPECT_FALSE(loop.ok);
  EXPECT_NE(loop.message.find(std::strerror(ELOOP)), std::string::npos) << loop.message;
}
#endif

#ifdef _WIN32
// A file another program holds open is not replaced on Windows: the save
// fails, the old file stays and the temporary file goes.

TEST(AtomicWrite, TargetHeldOpenIsNotReplaced) {
  TempDir dir;
  std::string path = dir.file("p.tlwdlg");
  WriteBytes(path, "precious");
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Status status = WriteFileAtomically(path, "new");
  CloseHandle(held);
  EXPECT_FALSE(status.ok);
  EXPECT_EQ(ReadBytes(path), "precious");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

#endif

}  // namespace
}  // namespace tellwright
