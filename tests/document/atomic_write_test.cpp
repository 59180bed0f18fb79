#include "document/atomic_write.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "document/project_file.h"
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

TEST(AtomicWrite, ReplacesTheTargetAndLeavesNoTemporaryFile) {
  TempDir dir;
  std::string path = dir.file("out.txt");
  WriteBytes(path, "old");
  ASSERT_TRUE(WriteFileAtomically(path, "new bytes").ok);
  EXPECT_EQ(ReadBytes(path), "new bytes");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST(AtomicWrite, KeepsThePermissionsOfTheReplacedFile) {
  TempDir dir;
  std::string path = dir.file("out.txt");
  WriteBytes(path, "old");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path, "new").ok);
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicWrite, ReportsFailuresAndLeavesTheOldFileWhole) {
  TempDir dir;
  std::string directoryTarget = dir.file("folder.tlwdlg");
  std::filesystem::create_directory(directoryTarget);
  Status missing = WriteFileAtomically(dir.file("no/such/folder/p.tlwdlg"), "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.message.find("No such file or directory"), std::string::npos) << missing.message;
  Status isDirectory = WriteFileAtomically(directoryTarget, "x");
  EXPECT_FALSE(isDirectory.ok);
  EXPECT_TRUE(std::filesystem::is_directory(directoryTarget));
}

TEST(AtomicWrite, ReadOnlyFolderIsReportedAndTheOldFileKept) {
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
}

// A full disk, simulated with a file size limit in a child process: the
// write fails part way and the old file must survive it.
TEST(AtomicWrite, FailedWriteOnAFullDiskLeavesTheOldFileWhole) {
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
}

}  // namespace
}  // namespace tellwright
