// Starting the device manager: the command line it gets, its directory, and no zombies.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "installer/installer.h"
#include "installer_test_util.h"

namespace {

// A stand-in device manager: each run writes its argument count, its arguments and its
// current directory into a file of its own beside the script.
const char kFakeManager[] =
    "#!/bin/sh\n"
    "out=\"$(dirname \"$0\")/run.$$\"\n"
    "{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; pwd -P; } > \"$out.tmp\"\n"
    "mv \"$out.tmp\" \"$out\"\n";

std::vector<std::string> Runs(const std::string& dir) {
  std::vector<std::string> runs;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    std::string name = e.path().filename().string();
    if (name.rfind("run.", 0) == 0 && name.find(".tmp") == std::string::npos)
      runs.push_back(e.path().string());
  }
  return runs;
}

// Waits (at most five seconds) until `count` runs have been recorded.
std::vector<std::string> WaitForRuns(const std::string& dir, size_t count) {
  for (int i = 0; i < 500 && Runs(dir).size() < count; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return Runs(dir);
}

std::string ReadAll(const std::string& path) {
  std::string text;
  ReadWholeFile(path, &text);
  return text;
}

// True when this process has no child left to reap, zombie or running.
bool NoChildren() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

// The medium: setup's directory with the package file; the test runs from inside it.
class Install : public ::testing::Test {
 protected:
  Install() {
    oldCwd_ = std::filesystem::current_path();
    std::filesystem::create_directory(medium_.File("disc"));
    std::filesystem::current_path(medium_.File("disc"));
    // The manager lives under a directory with blanks in its name.
    std::filesystem::create_directory(tools_.File("Device Manager"));
    manager_ = tools_.File("Device Manager/CEAppMgr");
    tools_.Write("Device Manager/CEAppMgr", kFakeManager);
    chmod(manager_.c_str(), 0755);
  }
  ~Install() override { std::filesystem::current_path(oldCwd_); }
  void Register(const std::string& text) { medium_.Write("registry.reg", text); }

  TempDir medium_;
  TempDir tools_;
  std::string manager_;
  std::filesystem::path oldCwd_;
  InstallerScene scene_{medium_.File("disc"), medium_.File("registry.reg")};
  CapturedMessages messages_;
};

// The second press finds the manager registered with backslashes, which are separators.
TEST_F(Install, TwoPressesStartTwoManagersWithThePackageFile) {
  Register(RegistryWithManager(manager_));
  EXPECT_TRUE(Command1Click());
  std::string windowsStyle = manager_;
  std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');
  Register(RegistryWithManager(windowsStyle));
  EXPECT_TRUE(Command1Click());
  std::vector<std::string> runs = WaitForRuns(tools_.File("Device Manager"), 2);
  ASSERT_EQ(runs.size(), 2u);
  std::string cwd = std::filesystem::canonical(medium_.File("disc")).string();
  for (const std::string& run : runs)
    EXPECT_EQ(ReadAll(run), "1\n.\\setup.ini\n" + cwd + "\n");
  EXPECT_TRUE(messages_.texts().empty());
  EXPECT_TRUE(NoChildren());
}

TEST_F(Install, NothingRegisteredShowsTheMessageAndStartsNothing) {
  EXPECT_FALSE(Command1Click());  // no registry file
  Register(RegistryWithManager(""));
  EXPECT_FALSE(Command1Click());  // registered but empty
  Register("REGEDIT4\n");
  EXPECT_FALSE(Command1Click());  // key missing
  ASSERT_EQ(messages_.texts().size(), 3u);
  for (const std::string& text : messages_.texts())
    EXPECT_EQ(text, "error getting path to CEApMgr.exe");
  EXPECT_TRUE(Runs(tools_.File("Device Manager")).empty());
  EXPECT_TRUE(NoChildren());
}

TEST_F(Install, AManagerThatCannotStartIsReported) {
  Register(RegistryWithManager(tools_.File("Device Manager/missing")));
  EXPECT_FALSE(Command1Click());
  ASSERT_EQ(messages_.texts().size(), 1u);
  EXPECT_EQ(messages_.texts()[0].rfind("error starting " + tools_.File("Device Manager/missing") +
                                           " .\\setup.ini: ",
                                       0),
            0u);
  EXPECT_TRUE(NoChildren());
}

// Installed as <prefix>/games/kvr-setup, setup reads its files from <prefix>/share/kvr (where
// the installed window's end-to-end run sees it start the manager). A games folder without the
// share folder's setup.ini is an ordinary directory, and so is any other folder.
TEST_F(Install, AnInstalledSetupUsesItsShareFolder) {
  const std::string prefix = medium_.File("prefix");
  std::filesystem::create_directories(prefix + "/games");
  std::filesystem::create_directories(prefix + "/share/kvr");
  EXPECT_EQ(InstalledMediumDir(prefix + "/games"), "");  // no setup.ini yet
  medium_.Write("prefix/share/kvr/setup.ini", "[App]\nDescription=Installed game\n");
  EXPECT_EQ(InstalledMediumDir(prefix + "/games"), prefix + "/share/kvr");
  EXPECT_EQ(InstalledMediumDir(prefix + "/bin"), "");
  EXPECT_EQ(InstalledMediumDir(prefix + "/minigames"), "");
  EXPECT_EQ(InstalledMediumDir(prefix), "");
  EXPECT_EQ(InstalledMediumDir("/games"), "");

  InstallerScene installed(prefix + "/games", medium_.File("registry.reg"));
  EXPECT_EQ(LabelInfoCaption(), "Installation of Installed game");
}

TEST(StartProcess, ArgumentsFollowTheProgramInTheCommandLine) {
  EXPECT_EQ(SplitArguments(" .\\setup.ini"), std::vector<std::string>{".\\setup.ini"});
  EXPECT_EQ(SplitArguments("a  \"b c\"\t\"\""), (std::vector<std::string>{"a", "b c", ""}));
  EXPECT_TRUE(SplitArguments("   ").empty());
  std::string error;
  EXPECT_FALSE(StartProcess("/bin/true", "/bin/false x", "", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(StartProcess("", "", "", &error));
  // A working folder that is not there is reported, not run somewhere else.
  error.clear();
  EXPECT_FALSE(StartProcess("/bin/true", "/bin/true", "/nonexistent/folder", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(NoChildren());
}

}  // namespace
