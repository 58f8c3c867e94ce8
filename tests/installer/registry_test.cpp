// The registry file and ReadRegKey: export formats, value types, and "Not Found".
#include <stdlib.h>

#include <string>

#include "installer/installer.h"
#include "installer_test_util.h"

namespace {

const char kKey[] = "Software\\Vomtal\\Morvek";

// UTF-16LE with its mark, as the Unicode export writes it.
std::string Utf16File(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (char c : text) out += std::string{c, '\0'};
  return out;
}

class Registry : public ::testing::Test {
 protected:
  void Use(const std::string& text) { dir_.Write("registry.reg", text); }
  std::string Get(const std::string& key, const std::string& value,
                  RegRoot root = HKEY_LOCAL_MACHINE) {
    return ReadRegKey(root, key, value);
  }
  // Each pair: a value of kKey and what reading it gives.
  void ExpectValues(std::initializer_list<std::pair<const char*, std::string>> values) {
    for (const auto& [value, expected] : values) EXPECT_EQ(Get(kKey, value), expected) << value;
  }
  TempDir dir_;
  InstallerScene scene_{dir_.path(), dir_.File("registry.reg")};
};

TEST_F(Registry, UnicodeExportWithDefaultValueAndEscapes) {
  Use(Utf16File(
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek]\r\n"
      "@=\"C:\\\\Program Files\\\\Vomtal\\\\morvek.exe\"\r\n"
      "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
      "\"Trail\"=\"C:\\\\\"\r\n"
      "\"Na\\\"me\"=\"odd name\"\r\n"
      "\"Empty\"=\"\"\r\n"));
  ExpectValues({{"", "C:\\Program Files\\Vomtal\\morvek.exe"}, {"Quote", "say \"hi\""}, {"Trail", "C:\\"},
                {"Na\"me", "odd name"}, {"Empty", ""}});
}

TEST_F(Registry, Regedit4ExportAndNamesWithoutCase) {
  Use("REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Vomtal\\Morvek]\n"
      "\"Player\"=\"Ann\"\n");
  EXPECT_EQ(Get("software\\VOMTAL\\morvek", "PLAYER", HKEY_CURRENT_USER), "Ann");
  EXPECT_EQ(Get(kKey, "Player"), kNotFound);  // another root
}

TEST_F(Registry, MissingFileKeyOrValueIsNotFound) {
  EXPECT_EQ(Get(kKey, ""), kNotFound);
  Use("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek]\n\"Name\"=\"x\"\n");
  ExpectValues({{"", kNotFound}, {"Other", kNotFound}});  // no default value, no such value
  EXPECT_EQ(Get("Software\\Vomtal", ""), kNotFound);  // a key above, without values
  EXPECT_EQ(Get("Software\\Vomtal\\Other", "Name"), kNotFound);
  // Without a header the file is not a registry file at all.
  Use("[HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek]\n\"Name\"=\"x\"\n");
  EXPECT_EQ(Get(kKey, "Name"), kNotFound);
  Use("");
  EXPECT_EQ(Get(kKey, "Name"), kNotFound);
}

TEST_F(Registry, BinaryAsUpperCaseHexAndOtherTypes) {
  Use("Windows Registry Editor Version 5.00\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek]\n"
      "\"Bin\"=hex:00,0f,a0,ff,7\n"
      "\"Long\"=hex:01,02,03,\\\n"
      "  04,05\n"
      "\"None\"=hex:\n"
      "\"Count\"=dword:0000012c\n"
      "\"Path\"=hex(2):25,00,41,00,25,00,5c,00,78,00,00,00\n"
      "\"Raw\"=hex(1):61,00,62,00\n"
      "\"Bad\"=hex:0g\n"
      "\"Bad2\"=dword:123456789\n");
  // A string stored without its terminating NUL keeps every character.
  ExpectValues({{"Bin", "000FA0FF07"}, {"Long", "0102030405"}, {"None", ""}, {"Count", "2C010000"},
                {"Path", "%A%\\x"}, {"Raw", "ab"}, {"Bad", kNotFound}, {"Bad2", kNotFound}});
}

TEST_F(Registry, LaterLinesMergeOverwriteAndDelete) {
  Use("REGEDIT4\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek]\n"
      "\"A\"=\"1\"\n\"B\"=\"2\"\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek\\Sub]\n\"C\"=\"3\"\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek]\n"
      "\"A\"=\"one\"\n\"B\"=-\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek\\Sub]\n"
      "[HKEY_NOWHERE\\Software]\n\"A\"=\"x\"\n"
      "; \"Z\"=\"comment\"\n");
  ExpectValues({{"A", "one"}, {"B", kNotFound}});
  EXPECT_EQ(Get("Software\\Vomtal\\Morvek\\Sub", "C"), kNotFound);
}

TEST_F(Registry, ValuesLargerThanTheBufferAreNotFound) {
  Use("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Vomtal\\Morvek]\n"
      "\"Fits\"=\"" + std::string(2047, 'f') + "\"\n"
      "\"TooLong\"=\"" + std::string(2048, 't') + "\"\n");
  EXPECT_EQ(Get(kKey, "Fits"), std::string(2047, 'f'));
  EXPECT_EQ(Get(kKey, "TooLong"), kNotFound);
}

TEST_F(Registry, DeviceManagerPath) {
  Use(RegistryWithManager("C:\\Program Files\\Sync\\CEAppMgr.exe"));
  EXPECT_EQ(GetCEAppMgrPath(), "C:\\Program Files\\Sync\\CEAppMgr.exe");
  Use("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
      "App Paths\\CEAppMgr.exe]\n\"Path\"=\"C:\\\\Sync\"\n");
  EXPECT_EQ(GetCEAppMgrPath(), kNotFound);
}

TEST(RegistryFile, FollowsTheConfigDirectory) {
  const char* oldXdg = getenv("XDG_CONFIG_HOME");
  const char* oldHome = getenv("HOME");
  std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(RegistryFilePath(), "/cfg/vomtal/registry.reg");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", "/home/pilot", 1);
  EXPECT_EQ(RegistryFilePath(), "/home/pilot/.config/vomtal/registry.reg");
  SetRegistryFile("/given.reg");
  EXPECT_EQ(RegistryFilePath(), "/given.reg");
  SetRegistryFile("");
  if (oldXdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  if (oldHome) setenv("HOME", savedHome.c_str(), 1); else unsetenv("HOME");
}

}  // namespace
