// The profile read and ReadIni: how setup.ini values are found, cut and defaulted.
#include <string>

#include "installer/form1.h"
#include "installer/installer.h"
#include "installer_test_util.h"

namespace {

std::string Read(const TempDir& dir, const std::string& section, const std::string& key,
                 size_t buffer = 256) {
  return ReadProfileString(dir.File("setup.ini"), section, key, "dflt", buffer);
}

TEST(Profile, SectionAndKeyCompareWithoutCaseAndTrimBlanks) {
  TempDir dir;
  dir.Write("setup.ini",
            "; comment\r\n"
            "[Other]\r\nDescription=wrong\r\n"
            "  [ aPP ]  \r\n"
            "  DESCRIPTION  =   3d Morvek  \r\n"
            "Quoted=\"  kept blanks  \"\r\n"
            "Half=\"open\r\n"
            "noequals\r\n"
            "Empty=\r\n");
  EXPECT_EQ(Read(dir, "App", "description"), "3d Morvek");
  EXPECT_EQ(Read(dir, "app", "Quoted"), "  kept blanks  ");
  EXPECT_EQ(Read(dir, "App", "Half"), "\"open");
  EXPECT_EQ(Read(dir, "App", "Empty"), "");
  EXPECT_EQ(Read(dir, "other", "DESCRIPTION"), "wrong");
}

TEST(Profile, FirstSectionAndFirstKeyWin) {
  TempDir dir;
  dir.Write("setup.ini", "[App]\nDescription=one\nDescription=two\n[App]\nVersion=2\n");
  EXPECT_EQ(Read(dir, "App", "Description"), "one");
  // Like the desktop, a repeated section is not searched.
  EXPECT_EQ(Read(dir, "App", "Version"), "dflt");
}

TEST(Profile, MissingFileSectionOrKeyGivesTheDefault) {
  TempDir dir;
  EXPECT_EQ(Read(dir, "App", "Description"), "dflt");
  dir.Write("setup.ini", "[App]\nName=x\n[;App]\nDescription=y\n");
  EXPECT_EQ(Read(dir, "App", "Description"), "dflt");
  EXPECT_EQ(Read(dir, "Missing", "Name"), "dflt");
  // A key outside any section is never found.
  dir.Write("setup.ini", "Description=z\n[App]\n");
  EXPECT_EQ(Read(dir, "App", "Description"), "dflt");
}

TEST(Profile, CutToTheBufferAndAtTheFirstNul) {
  TempDir dir;
  std::string longValue(300, 'x');
  for (size_t i = 0; i < longValue.size(); ++i) longValue[i] = char('a' + i % 26);
  dir.Write("setup.ini", "[App]\nLong=" + longValue + "\nNul=abc" + std::string(1, '\0') +
                             "def\nShort=abcdef\n");
  EXPECT_EQ(Read(dir, "App", "Long"), longValue.substr(0, 255));
  EXPECT_EQ(Read(dir, "App", "Nul"), "abc");
  EXPECT_EQ(Read(dir, "App", "Short", 4), "abc");
  EXPECT_EQ(Read(dir, "App", "Short", 1), "");
  EXPECT_EQ(Read(dir, "App", "Short", 0), "");
  // The default is cut the same way.
  EXPECT_EQ(ReadProfileString(dir.File("none.ini"), "a", "b", "defaults", 4), "def");
}

TEST(Profile, CharactersNotBytesCountAndOtherEncodingsRead) {
  TempDir dir;
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "\xC3\xA4";  // a-umlaut, two bytes in UTF-8
  dir.Write("setup.ini", "\xEF\xBB\xBF[App]\nDescription=" + umlauts + "\n");
  std::string got = Read(dir, "App", "Description");
  EXPECT_EQ(got.size(), 510u);
  EXPECT_EQ(Utf8Length(got), 255u);

  // An ANSI file in the Windows code page, and a UTF-16 one with its mark.
  dir.Write("setup.ini", "[App]\nDescription=Caf\xE9 \x80\n");
  EXPECT_EQ(Read(dir, "App", "Description"), "Caf\xC3\xA9 \xE2\x82\xAC");
  std::string wide = "\xFF\xFE";
  for (char c : std::string("[App]\r\nDescription=Wide\r\n")) wide += std::string{c, '\0'};
  dir.Write("setup.ini", wide);
  EXPECT_EQ(Read(dir, "App", "Description"), "Wide");
}

TEST(ReadIni, ComposesTheWindowsPathBesideTheProgram) {
  TempDir dir;
  InstallerScene scene(dir.path(), dir.File("none.reg"));
  EXPECT_EQ(SetupIniPath(), dir.path() + "\\.\\setup.ini");
  EXPECT_EQ(NativePath(SetupIniPath()), dir.path() + "/./setup.ini");
  EXPECT_EQ(ReadIni("App", "Description"), "");
  dir.Write("setup.ini", "[App]\nDescription=3d Morvek\n");
  EXPECT_EQ(ReadIni("App", "Description"), "3d Morvek");
  EXPECT_EQ(ReadIni("App", "Missing"), "");
}

TEST(LabelInfo, CaptionFromTheDescription) {
  TempDir dir;
  InstallerScene scene(dir.path(), dir.File("none.reg"));
  EXPECT_EQ(LabelInfoCaption(), "Installation of ");
  dir.Write("setup.ini", "[App]\nDescription=\n");
  EXPECT_EQ(LabelInfoCaption(), "Installation of ");
  dir.Write("setup.ini", "[App]\nDescription=" + std::string(300, 'M') + "\n");
  EXPECT_EQ(LabelInfoCaption(), "Installation of " + std::string(255, 'M'));
}

TEST(LabelInfo, BakedPackageDescribesTheGame) {
  InstallerScene scene(KVR_GAME_DIR, "");
  EXPECT_EQ(LabelInfoCaption(), "Installation of 3d Morvek");
}

TEST(LabelInfo, ToolkitSymbolsAreShownAsText) {
  EXPECT_EQ(PlainLabelText("Installation of A@B @@"), "Installation of A@@B @@@@");
  EXPECT_EQ(PlainLabelText("plain"), "plain");
}

}  // namespace
