// Helpers of the installer's tests: a scratch directory and a captured message box.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "installer/desktop.h"

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// Everything ShowMessageBox shows while it lives, instead of printing it.
class CapturedMessages {
 public:
  CapturedMessages();
  ~CapturedMessages();
  const std::vector<std::string>& texts() const;

 private:
  MessageBoxHandler old_;
};

// Points ProgramDir and the registry file at test files for the test's lifetime.
class InstallerScene {
 public:
  InstallerScene(const std::string& programDir, const std::string& registryFile);
  ~InstallerScene();
};

// A .reg file registering `program` as the device manager.
std::string RegistryWithManager(const std::string& program);
