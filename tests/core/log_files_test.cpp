// The log and data-file service: literal messages, refused names, copies, atomic writes,
// whole-file reads and the in-memory reader.
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "core/core.h"
#include "test_support.h"

TEST(Log, LiteralLinesAFreshLogAndNoStopWhenItCannotBeWritten) {
  ScratchDir dir;
  dir.Write("log.txt", "old run\n");
  DeleteLog();
  EXPECT_FALSE(dir.Exists("log.txt"));
  DeleteLog();  // nothing to delete is fine
  LogMessage("Error loading 155");
  LogMessage("100% done %s %d");
  EXPECT_EQ(dir.Log(), "Error loading 155\n100% done %s %d\n");
  DeleteLog();
  mkdir(dir.File("log.txt").c_str(), 0755);  // a directory where the log should be
  EXPECT_EQ(LogMessage("lost"), 0);
}

TEST(DataFiles, RefusesNamesThatLeaveTheDirectory) {
  ScratchDir dir;
  dir.Write("ok.dat", "1");
  for (const char* name : {"/etc/passwd", "../ok.dat", "sub/../../x", "..\\x", ""})
    EXPECT_EQ(OpenDataFile(name, "rb"), nullptr) << name;
  EXPECT_FALSE(FileDelete("../ok.dat"));
  // "..x" is an ordinary name, not a climb.
  dir.Write("..x", "2");
  FILE* f = OpenDataFile("..x", "rb");
  EXPECT_NE(f, nullptr);
  FileClose(f);
}

TEST(DataFiles, RefusesAComposedPathLongerThanTheBuffer) {
  ScratchDir dir;
  std::string name(kMaxPath, 'a');
  EXPECT_EQ(OpenDataFile(name.c_str(), "wb"), nullptr);
  size_t room = kMaxPath - 1 - strlen(ExeDir);
  std::string fits(room, 'b');
  FILE* f = OpenDataFile(fits.c_str(), "wb");
  if (room <= 255) {  // file systems cap one name at 255 bytes
    EXPECT_NE(f, nullptr);
  }
  FileClose(f);
}

TEST(DataFiles, ADirectoryThatDoesNotFitWholeIsRefusedNotCut) {
  const std::string saved = ExeDir;
  const struct {
    size_t length;
    bool slash, accepted;
  } cases[] = {{262, false, true}, {263, false, false}, {263, true, true}, {264, true, false}};
  for (const auto& c : cases) {
    std::string dir(c.length - (c.slash ? 1 : 0), 'd');
    if (c.slash) dir += '/';
    SetExeDir("/before/");
    EXPECT_EQ(SetExeDir(dir.c_str()), c.accepted) << c.length;
    EXPECT_STREQ(ExeDir, c.accepted ? (c.slash ? dir : dir + "/").c_str() : "/before/") << c.length;
  }
  SetExeDir(saved.c_str());
}

TEST(DataFiles, AtomicWriteReplacesWholeOrNotAtAll) {
  ScratchDir dir;
  dir.Write("kvr.ini", "old");
  EXPECT_TRUE(WriteDataFileAtomic("kvr.ini", "new bytes", 9));
  EXPECT_EQ(dir.Read("kvr.ini"), "new bytes");
  EXPECT_FALSE(dir.Exists("kvr.ini.tmp"));
  // When the temporary file cannot be written, the old file stays as it was.
  mkdir(dir.File("kvr.ini.tmp").c_str(), 0755);
  EXPECT_FALSE(WriteDataFileAtomic("kvr.ini", "torn", 4));
  EXPECT_EQ(dir.Read("kvr.ini"), "new bytes");
  // Nothing to keep is an empty file, whatever buffer an empty image hands over.
  dir.Write("map1_1.sav", "old state");
  EXPECT_TRUE(WriteDataFileAtomic("map1_1.sav", nullptr, 0));
  EXPECT_EQ(dir.Read("map1_1.sav"), "");
}

TEST(DataFiles, TheRestOfAFileFromItsPositionAndFromAPipe) {
  ScratchDir dir;
  std::string bytes(70000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7);
  dir.Write("big.dat", bytes);
  FILE* f = OpenDataFile("big.dat", "rb");
  ASSERT_NE(f, nullptr);
  char head[3];
  ASSERT_EQ(fread(head, 1, 3, f), 3u);
  FileBytes rest;
  auto text = [&rest] { return std::string(rest.data.get(), rest.data.get() + rest.size); };
  EXPECT_TRUE(ReadRestOfFile(f, &rest));
  EXPECT_EQ(text(), bytes.substr(3));
  EXPECT_TRUE(ReadRestOfFile(f, &rest));  // at the end: nothing
  EXPECT_EQ(rest.size, 0u);
  fclose(f);
  // A stream that cannot tell its size is read to its end all the same.
  FILE* pipe = popen("head -c 10000 /dev/zero", "r");
  ASSERT_NE(pipe, nullptr);
  EXPECT_TRUE(ReadRestOfFile(pipe, &rest));
  EXPECT_EQ(text(), std::string(10000, '\0'));
  pclose(pipe);
}

// Reads past the end behave as fread's: what is left arrives, the reader stops at the end.
TEST(DataFiles, TheMemoryReaderFailsShortReadsAtTheEnd) {
  const uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7};
  ByteReader in{bytes, sizeof bytes};
  int32_t word = -1;
  ASSERT_TRUE(in.ReadI32LE(&word));
  EXPECT_EQ(word, 0x04030201);
  EXPECT_FALSE(in.ReadI32LE(&word));  // three left: none taken, and the reader is spent
  EXPECT_EQ(std::make_pair(word, in.Left()), std::make_pair(0x04030201, size_t(0)));
  ByteReader again{bytes, sizeof bytes};
  ASSERT_NE(again.Take(5), nullptr);
  char out[4] = {'x', 'x', 'x', 'x'};
  EXPECT_FALSE(again.Read(out, 4));
  EXPECT_EQ(std::string(out, 4), std::string("\x06\x07xx", 4));
  EXPECT_EQ(again.Take(1), nullptr);
  ByteReader empty{nullptr, 0};
  EXPECT_FALSE(empty.Read(out, 1));
  EXPECT_FALSE(empty.ReadI32LE(&word));
}

TEST(Text, NarrowWidenAndDirectory) {
  char16_t wide[8];
  EXPECT_EQ(Widen("a\x80\xff", wide), 3);
  EXPECT_EQ(std::u16string(wide, 3), (std::u16string{u'a', 0xFF80, 0xFFFF}));  // sign-extended
  char narrow[8];
  const char16_t in[] = {0x1241, 0x42, 0};
  EXPECT_EQ(Narrow(in, narrow), 2);
  EXPECT_STREQ(narrow, "AB");
  const char* const paths[][2] = {
      {"\\Program Files\\kvr\\game.exe", "\\Program Files\\kvr\\"}, {"/a/b/c", "/a/b/"}, {"plain", ""}};
  for (const auto& p : paths) {
    char out[64];
    DirectoryOfPath(p[0], out);
    EXPECT_STREQ(out, p[1]) << p[0];
  }
}
