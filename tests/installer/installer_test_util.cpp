// Helpers of the installer's tests: a scratch directory and a captured message box.
#include "installer_test_util.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace {
std::vector<std::string> captured;
void Capture(const std::string& text) { captured.push_back(text); }
}  // namespace

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "setup_test_XXXXXX").string();
  char* made = mkdtemp(tmpl.data());
  EXPECT_NE(made, nullptr);
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(File(name), std::ios::binary);
  out << bytes;
}

CapturedMessages::CapturedMessages() {
  captured.clear();
  old_ = SetMessageBoxHandler(Capture);
}
CapturedMessages::~CapturedMessages() { SetMessageBoxHandler(old_); }
const std::vector<std::string>& CapturedMessages::texts() const { return captured; }

InstallerScene::InstallerScene(const std::string& programDir, const std::string& registryFile) {
  SetProgramDir(programDir);
  SetRegistryFile(registryFile);
}
InstallerScene::~InstallerScene() {
  SetProgramDir("");
  SetRegistryFile("");
}

std::string RegistryWithManager(const std::string& program) {
  std::string escaped;
  for (char c : program) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  return "Windows Registry Editor Version 5.00\r\n\r\n"
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\"
         "CEAppMgr.exe]\r\n@=\"" + escaped + "\"\r\n";
}
