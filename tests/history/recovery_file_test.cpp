#include "history/recovery_file.h"

#include <gtest/gtest.h>

#include "document/project_file.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tellwright {
namespace {

DialogueDocument Work(std::string currentFile) {
  DialogueDocument document;
  document.engineProjectPath = "C:\\Games\\Demo\\demo.wpr";
  document.currentFile = std::move(currentFile);
  DialogueLine& line = document.editBranch(0).lines.slot(0);
  line.kind = kTalkline;
  line.character = "Ada";
  line.text = "Caf\xe9 at the lighthouse";
  document.editBranch(0).lineCount = 1;
  document.characters = {{"Ada", "actor_ada"}};
  document.changed = 1;
  return document;
}

TEST(RecoveryFileTest, ReadsBackTheWorkItsPathAndTime) {
  for (std::string path : {std::string("/stories/lighthouse.tlwdlg"), std::string(), std::string("/odd\nname")}) {
    DialogueDocument document = Work(path);
    RecoveredWork work;
    ASSERT_TRUE(ReadRecovery(WriteRecovery(document, 1796745600), work)) << path;
    EXPECT_EQ(WriteProject(work.document), WriteProject(document));
    EXPECT_EQ(work.projectPath, path);
    EXPECT_EQ(work.document.currentFile, path);
    EXPECT_EQ(work.document.changed, 1);
    EXPECT_EQ(work.savedAt, 1796745600);
  }
}

// A damaged file is refused whole: cut short anywhere, one byte changed
// anywhere, or something added.
TEST(RecoveryFileTest, RefusesEveryCutChangedOrLengthenedFile) {
  const std::string whole = WriteRecovery(Work("/stories/lighthouse.tlwdlg"), 1796745600);
  RecoveredWork work;
  for (size_t length = 0; length < whole.size(); ++length)
    EXPECT_FALSE(ReadRecovery(whole.substr(0, length), work)) << "cut to " << length;
  for (size_t at = 0; at < whole.size(); ++at) {
    std::string changed = whole;
    changed[at] = static_cast<char>(changed[at] ^ 0x20);
    EXPECT_FALSE(ReadRecovery(changed, work)) << "byte " << at;
  }
  Status added = ReadRecovery(whole + "x", work);
  EXPECT_EQ(added.message, "The recovery file is damaged: it is not as long as it says.");
  EXPECT_EQ(ReadRecovery("V1.2\n", work).message,
            "The recovery file is damaged: it does not start as a recovery file does.");
  EXPECT_TRUE(work.projectPath.empty());  // nothing was taken from any of them
}

// The work in a recovery file is the writer's alone, also where an older
// folder or file was open to others.
TEST(RecoveryFileTest, FolderAndFilesAreTheUsersAlone) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permission bits; the user's profile folders are private on Windows";
#else
  testing::TempDir dir;
  std::string older = dir.folder("older");
  ::chmod(older.c_str(), 0755);
  for (const std::string& folder : {dir.file("state/tellwright"), older}) {
    ASSERT_TRUE(MakeRecoveryFolder(folder)) << folder;
    std::string file = folder + "/session.tlwrec";
    testing::WriteBytes(file, "older work");
    ::chmod(file.c_str(), 0644);
    ASSERT_TRUE(SaveRecoveryFile(file, WriteRecovery(Work(""), 1796745600)));
    struct stat info;
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << file;
  }
#endif
}

}  // namespace
}  // namespace tellwright
