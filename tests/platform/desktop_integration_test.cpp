#include "platform/desktop_integration.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "os/child_process.h"
#include "platform/associate_project_files.h"
#include "platform/desktop_entry.h"
#include "platform/registry_store.h"
#include "settings/test_support.h"

namespace tellwright {
namespace {

using testing::ReadBytes;
using testing::ScopedEnvironment;
using testing::TableEnvironment;
using testing::TempDir;
using testing::WriteBytes;

std::string Trimmed(const std::string& text) {
  size_t end = text.find_last_not_of(" \t\r\n");
  return end == std::string::npos ? "" : text.substr(0, end + 1);
}

void WriteScript(const std::string& path, const std::string& body) {
  WriteBytes(path, "#!/bin/sh\n" + body);
#ifndef _WIN32
  ::chmod(path.c_str(), 0755);
#endif
}

// Every test runs with the desktop's folders in a temporary folder, so that
// neither the tools nor the code under test can touch the real user's files,
// and with no desktop session, so that xdg-mime uses its generic way.
class DesktopIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "the freedesktop registration of Linux desktops; Windows uses the registry alone";
#endif
    ASSERT_FALSE(temp.path().empty());
    environment.Set("HOME", temp.folder("home"));
    environment.Set("XDG_DATA_HOME", dataHome);
    environment.Set("XDG_CONFIG_HOME", temp.folder("config"));
    environment.Set("XDG_CACHE_HOME", temp.folder("cache"));
    environment.Set(kRegistryDirVariable, temp.folder("registry"));
    for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "DISPLAY", "WAYLAND_DISPLAY"}) {
      environment.Unset(name);
    }
  }

  std::optional<std::string> Tool(const char* name) { return FindOnPath(name, ProcessEnvironment()); }

  std::string EntryPath() const { return dataHome + "/applications/tellwright.desktop"; }

  TempDir temp;
  ScopedEnvironment environment;
  std::string dataHome = temp.folder("data");
  RegistryStore store{temp.file("registry/registry")};
  RecordingReporter reporter;
  Registry registry{store, reporter};
};

TEST_F(DesktopIntegrationTest, TheFreedesktopToolsKnowTheTypeAndOpenItWithTheEditor) {
  for (const char* tool : {"update-mime-database", "update-desktop-database", "xdg-mime", "desktop-file-validate",
                           "mimetype"}) {
    if (!Tool(tool)) GTEST_SKIP() << tool << " is not installed (shared-mime-info, desktop-file-utils, xdg-utils, "
                                  << "libfile-mimeinfo-perl)";
  }
  AssociationRequest request;
  request.program = temp.file("bin/tellwright");
  Status status = AssociateProjectFiles(request, registry, reporter);
  ASSERT_TRUE(status) << status.message << (reporter.errors.empty() ? "" : ": " + reporter.errors[0].message);

  WriteBytes(temp.file("story.tlwdlg"), "V1.2\nC:\\Game\\game.wpr\nDialog_Default\n");
  WriteBytes(temp.file("LOUD.TLWDLG"), "");
  for (const std::string& project : {temp.file("story.tlwdlg"), temp.file("LOUD.TLWDLG")}) {
    ProgramRun type = RunProgram(*Tool("xdg-mime"), {"query", "filetype", project});
    EXPECT_TRUE(type.succeeded()) << type.output;
    EXPECT_EQ(Trimmed(type.output), kProjectMimeType) << project;
  }
  ProgramRun opener = RunProgram(*Tool("xdg-mime"), {"query", "default", std::string(kProjectMimeType)});
  EXPECT_EQ(Trimmed(opener.output), kDesktopEntryFileName);
  ProgramRun validation = RunProgram(*Tool("desktop-file-validate"), {EntryPath()});
  EXPECT_TRUE(validation.succeeded() && validation.output.empty()) << validation.output;

  EXPECT_NE(ReadBytes(EntryPath()).find("\nExec=\"" + request.program + "\" %f\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(dataHome + "/icons/hicolor/scalable/apps/tellwright.svg"), IconSvg());
  EXPECT_NE(ReadBytes(temp.file("config/mimeapps.list")).find("application/x-tellwright-project=tellwright.desktop"),
            std::string::npos);
  EXPECT_EQ(registry.RegReadValue(RegistryRoot::ClassesRoot, "FileType_tlwdlg\\shell\\open\\command", ""),
            "\"" + request.program + "\" \"%1\"");
}

TEST_F(DesktopIntegrationTest, AwkwardProgramPathsGiveValidEntries) {
  std::optional<std::string> validator = Tool("desktop-file-validate");
  if (!validator) GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
  for (const std::string program :
       {"/opt/Tell Wright/tellwright", "/opt/a\"b/tw", "/opt/$HOME/tw", "/opt/back\\slash/tw", "/opt/100%/tw",
        "/opt/it's/tw", "/opt/a`b/tw", "/opt/\xC3\x84rger/tw", "/opt/a;b#(c)|&<>~*?/tw", "/opt/%f %U/tw"}) {
    std::optional<std::string> entry = DesktopEntryText(program);
    ASSERT_TRUE(entry) << program;
    WriteBytes(temp.file("check.desktop"), *entry);
    ProgramRun validation = RunProgram(*validator, {temp.file("check.desktop")});
    EXPECT_TRUE(validation.succeeded() && validation.output.empty()) << program << ": " << validation.output;
  }
}

TEST(DesktopEntryTest, TheProgramIsQuotedAndEscapedForTheExecLine) {
  EXPECT_EQ(DesktopExecProgram("/opt/tellwright/tellwright"), "\"/opt/tellwright/tellwright\"");
  EXPECT_EQ(DesktopExecProgram("/x/a\"b$c`d\\e%f g"), R"("/x/a\\"b\\$c\\`d\\\\e%%f g")");
  std::optional<std::string> entry = DesktopEntryText("/opt/tw");
  ASSERT_TRUE(entry);
  EXPECT_NE(entry->find("\nExec=\"/opt/tw\" %f\n"), std::string::npos);
  EXPECT_NE(entry->find("\nMimeType=application/x-tellwright-project;\n"), std::string::npos);
}

TEST(DesktopEntryTest, PathsADesktopEntryCannotHoldAreRefused) {
  for (const std::string& program : {std::string("/opt/a\nb"), std::string("/opt/\x7F"), std::string("/opt/\xE4rger"),
                                    std::string("/opt/\xC0\xAF"), std::string("/opt/\xED\xA0\x80"),
                                    std::string("/opt/\xF4\x90\x80\x80"), std::string("/opt/\xE2\x82"),
                                    std::string("/opt/a\0b", 8)}) {
    EXPECT_FALSE(DesktopExecProgram(program)) << program;
  }
  EXPECT_TRUE(DesktopExecProgram("/opt/\xF0\x9F\x8E\xAD/\xE2\x82\xAC"));
}

TEST(DesktopEntryTest, TheShippedResourcesAreTheTextsTheProgramInstalls) {
  const std::string resources = std::string(TELLWRIGHT_SOURCE_DIR) + "/resources/";
  EXPECT_EQ(ReadBytes(resources + "tellwright.xml"), MimePackageXml());
  EXPECT_EQ(ReadBytes(resources + "tellwright.svg"), IconSvg());
  std::string entryTemplate = ReadBytes(resources + "tellwright.desktop.in");
  EXPECT_EQ(entryTemplate, DesktopEntryTemplate());
  size_t placeholder = entryTemplate.find(kExecPlaceholder);
  ASSERT_NE(placeholder, std::string::npos);
  EXPECT_EQ(entryTemplate.find(kExecPlaceholder, placeholder + 1), std::string::npos);
  EXPECT_NE(MimePackageXml().find("<glob pattern=\"*.tlwdlg\"/>"), std::string_view::npos);
}

TEST_F(DesktopIntegrationTest, MissingToolsAreSkippedWithANote) {
  EnvironmentLookup noTools = TableEnvironment({{"PATH", temp.folder("empty-bin")}});
  EXPECT_EQ(InstallDesktopIntegration("/opt/tw/tellwright", dataHome, noTools, reporter), 0);
  EXPECT_TRUE(reporter.errors.empty());
  for (const char* tool : {"update-mime-database", "update-desktop-database", "xdg-mime"}) {
    EXPECT_NE(std::find(reporter.notes.begin(), reporter.notes.end(), std::string(tool) + " is not installed; skipped"),
              reporter.notes.end())
        << tool;
  }
  EXPECT_EQ(ReadBytes(dataHome + "/mime/packages/tellwright.xml"), MimePackageXml());
  EXPECT_EQ(ReadBytes(EntryPath()), DesktopEntryText("/opt/tw/tellwright"));
}

TEST_F(DesktopIntegrationTest, AFailingToolIsReportedWithItsMessageAndTheRestStillRun) {
  std::string bin = temp.folder("fake-bin");
  WriteScript(bin + "/update-mime-database", "echo \"cannot parse $1\" >&2\nexit 3\n");
  WriteScript(bin + "/xdg-mime", "printf '%s|' \"$@\" > \"$0.args\"\n");
  EnvironmentLookup fakeTools = TableEnvironment({{"PATH", bin}});
  EXPECT_EQ(InstallDesktopIntegration("/opt/tw/tellwright", dataHome, fakeTools, reporter), 1);
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(reporter.errors[0].title, "Associate files");
  EXPECT_EQ(reporter.errors[0].message, "update-mime-database failed with exit status 3: cannot parse " + dataHome + "/mime");
  EXPECT_EQ(ReadBytes(bin + "/xdg-mime.args"), "default|tellwright.desktop|application/x-tellwright-project|");
}

TEST_F(DesktopIntegrationTest, AProgramPathTheEntryCannotNameFailsOnlyTheEntry) {
  EnvironmentLookup noTools = TableEnvironment({{"PATH", temp.folder("empty-bin")}});
  for (const std::string program : {"/opt/\xE4rger/tellwright", "relative/tellwright", ""}) {
    RecordingReporter own;
    EXPECT_EQ(InstallDesktopIntegration(program, dataHome, noTools, own), 1) << program;
    ASSERT_EQ(own.errors.size(), 1u);
    EXPECT_NE(own.errors[0].message.find(program), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(EntryPath()));
  EXPECT_EQ(ReadBytes(dataHome + "/mime/packages/tellwright.xml"), MimePackageXml());
}

TEST_F(DesktopIntegrationTest, AnUnwritableDataFolderFailsEachFileAndRunsNoTool) {
  WriteBytes(temp.file("not-a-folder"), "x");
  EXPECT_EQ(InstallDesktopIntegration("/opt/tw/tellwright", temp.file("not-a-folder"), ProcessEnvironment(), reporter), 3);
  EXPECT_EQ(reporter.errors.size(), 3u);
  for (const std::string& note : reporter.notes) EXPECT_NE(note.rfind("ran ", 0), 0u) << note;
  RecordingReporter none;
  EXPECT_EQ(InstallDesktopIntegration("/opt/tw/tellwright", "", ProcessEnvironment(), none), 1);
  EXPECT_EQ(none.errors.size(), 1u);
}

TEST_F(DesktopIntegrationTest, TheCommandSaysHowManyStepsFailed) {
  AssociationRequest request;
  request.program = "/opt/tw/tellwright";
  request.dataHome = temp.file("data/../not-a-folder");
  WriteBytes(temp.file("not-a-folder"), "x");
  Status status = AssociateProjectFiles(request, registry, reporter);
  EXPECT_EQ(status.message, "the file association is incomplete: 3 steps failed");

  RegistryStore unusable("");
  Registry refusing(unusable, reporter);
  request.desktop = false;
  status = AssociateProjectFiles(request, refusing, reporter);
  EXPECT_EQ(status.message, "the file association is incomplete: 1 step failed");
  EXPECT_EQ(registry.RegReadValue(RegistryRoot::ClassesRoot, "FileType_tlwdlg\\DefaultIcon", ""), "/opt/tw/TLWIcon.ico");
}

TEST(ChildProcessTest, ArgumentsReachTheProgramUnchangedWithoutAShell) {
#ifdef _WIN32
  GTEST_SKIP() << "runs /bin/sh and programs found on a POSIX $PATH; the desktop's tools exist on Linux only";
#endif
  ProgramRun run = RunProgram("/bin/sh", {"-c", "printf '%s|' \"$@\"; echo err >&2; exit 4", "sh", "a b", "$HOME",
                                          "*", "'q'"});
  EXPECT_TRUE(run.started);
  EXPECT_EQ(run.exitStatus, 4);
  EXPECT_EQ(run.output, "a b|$HOME|*|'q'|err\n");
  EXPECT_EQ(DescribeRunFailure(run), "failed with exit status 4: a b|$HOME|*|'q'|err");
}

TEST(ChildProcessTest, AProgramThatHangsIsStopped) {
#ifdef _WIN32
  GTEST_SKIP() << "runs /bin/sh and programs found on a POSIX $PATH; the desktop's tools exist on Linux only";
#endif
  ProgramRun run = RunProgram("/bin/sh", {"-c", "exec sleep 30"}, std::chrono::milliseconds(200));
  EXPECT_TRUE(run.timedOut);
  EXPECT_FALSE(run.succeeded());
  EXPECT_EQ(DescribeRunFailure(run), "did not finish in time and was stopped");
}

TEST(ChildProcessTest, AProgramThatCannotStartIsNoSuccess) {
  TempDir temp;
  WriteBytes(temp.file("plain"), "not a program");
  ProgramRun run = RunProgram(temp.file("plain"), {});
  EXPECT_FALSE(run.succeeded());
  EXPECT_EQ(DescribeRunFailure(run).rfind("could not be started", 0), 0u) << DescribeRunFailure(run);
}

TEST(ChildProcessTest, ProgramsAreFoundInTheFirstPathFolderThatHasThem) {
#ifdef _WIN32
  GTEST_SKIP() << "runs /bin/sh and programs found on a POSIX $PATH; the desktop's tools exist on Linux only";
#endif
  TempDir temp;
  std::string first = temp.folder("first");
  std::string second = temp.folder("second");
  WriteBytes(first + "/tool", "not executable");
  WriteScript(second + "/tool", "exit 0\n");
  WriteScript(first + "/other", "exit 0\n");
  EnvironmentLookup environment = TableEnvironment({{"PATH", "::" + first + ":" + second + "/"}});
  EXPECT_EQ(FindOnPath("tool", environment), second + "/tool");
  EXPECT_EQ(FindOnPath("other", environment), first + "/other");
  EXPECT_EQ(FindOnPath("missing", environment), std::nullopt);
  EXPECT_EQ(FindOnPath("first/other", TableEnvironment({{"PATH", temp.path().string()}})), std::nullopt);
}

}  // namespace
}  // namespace tellwright
