// The pattern store on a real folder tree: listing, reading and writing
// rules, and the operations that must never reach outside the root or leave
// a half-written pattern.
#include "patterns/pattern_store.h"

#include <gmock/gmock.h>
#include <signal.h>
#include <sys/resource.h>

#include "pattern_fixture.h"

namespace tarno::patterns {
namespace {

namespace fs = std::filesystem;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using test::Sjis;
using vb::U;

class StoreTest : public test::PatternFolderTest {};

TEST_F(StoreTest, RootIsCodePatrnInTheAddInFolderAndIsCreatedWithIt) {
  EXPECT_EQ(PatternRootPath(), root_);
  EXPECT_FALSE(PatternRootExists());
  CreatePatternRoot();  // the add-in folder itself does not exist yet
  EXPECT_TRUE(PatternRootExists());
  EXPECT_THAT(ListPatternFolders(), IsEmpty());
  SetPatternRootOverride(dir_ / "other");
  EXPECT_EQ(PatternRootPath(), dir_ / "other");
  EXPECT_FALSE(PatternRootExists());
  SetPatternRootOverride({});
  EXPECT_EQ(PatternRootPath(), root_);
}

TEST_F(StoreTest, EveryVisibleEntryOfTheRootIsAFolderAndOnlyDatFilesArePatterns) {
  MakeFolder("Errors");
  PutPattern("Errors", "Header.Dat", "x\r\n");
  PutPattern("Errors", "x.dat", "lower-case ending\r\n");
  PutPattern("Errors", "y.DAT", "upper-case ending\r\n");
  PutPattern("Errors", ".Hidden.Dat", "hidden\r\n");
  PutPattern("Errors", "zDat", "no dot, still a pattern\r\n");
  PutPattern("Errors", "Dat", "just the ending\r\n");
  fs::create_directories(At("Errors", "Sub.Dat"));  // sub-folders are never patterns
  Put(root_ / "notes.txt", "a plain file in the root\r\n");
  MakeFolder(".git");
  MakeFolder("ループ");

  EXPECT_THAT(ListPatternFolders(), UnorderedElementsAre(u"Errors", u"notes.txt", U("ループ")));
  EXPECT_THAT(ListPatternFiles(u"Errors"), UnorderedElementsAre(u"Header.Dat", u"zDat", u"Dat"));
  EXPECT_THAT(ListPatternFiles(u"notes.txt"), IsEmpty());
  EXPECT_THAT(ListPatternFiles(u"missing"), IsEmpty());
  EXPECT_TRUE(PatternFolderExists(u"notes.txt"));
  EXPECT_TRUE(PatternFolderExists(U("ループ")));
  EXPECT_FALSE(PatternFolderExists(u".git"));
  EXPECT_FALSE(PatternFolderExists(u"errors"));  // the file system's own matching
  EXPECT_TRUE(PatternFileExists(u"Errors", u"x.dat"));
  EXPECT_FALSE(PatternFileExists(u"Errors", u".Hidden.Dat"));
  EXPECT_FALSE(PatternFileExists(u"Errors", u"Sub.Dat"));
  EXPECT_FALSE(PatternFileExists(u"Errors", u"Missing.Dat"));
}

TEST_F(StoreTest, ReadingEndsLinesAtCrLfAndLoneCrButNeverAtALoneLf) {
  struct Case {
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"a\r\nb\r\n", u"a\r\nb\r\n"},
      {"a\r\nb", u"a\r\nb\r\n"},
      {"a\rb\r", u"a\r\nb\r\n"},
      {"a\nb\r\n", u"a\nb\r\n"},
      {"\r\n\r\n", u"\r\n\r\n"},
      {"", u""},
      {Sjis("' エラー処理\r\n"), U("' エラー処理\r\n")},
  };
  MakeFolder("F");
  for (const Case& c : cases) {
    PutPattern("F", "p.Dat", c.bytes);
    EXPECT_EQ(ReadPatternFile(u"F", u"p.Dat"), c.text) << c.bytes;
  }
}

TEST_F(StoreTest, WritingTrimsSpacesEndsInOneCrLfAndStoresInTheSystemCodePage) {
  struct Case {
    std::u16string code;
    std::string bytes;
  } cases[] = {
      {u"  Dim a\r\n    a = 1  \r\nEnd  ", "Dim a\r\n    a = 1  \r\nEnd\r\n"},
      {u"\tTab stays\t", "\tTab stays\t\r\n"},
      {u"x\r\n", "x\r\n"},
      {u"\r\n\r\n", "\r\n\r\n"},
      {U("MsgBox \"完了\""), Sjis("MsgBox \"完了\"\r\n")},
  };
  MakeFolder("F");
  for (const Case& c : cases) {
    WritePatternFile(u"F", u"p", c.code);
    EXPECT_EQ(Bytes(At("F", "p.Dat")), c.bytes) << vb::ToUtf8(c.code);
  }
  EXPECT_EQ(Tree(At("F")), std::set<std::string>{"p.Dat"});  // no temporary file left behind
}

TEST_F(StoreTest, ReadingAndStoringAgainDoesNotGrowThePattern) {
  MakeFolder("F");
  PutPattern("F", "p.Dat", "Line1\r\nLine2\r\n");
  for (int cycle = 0; cycle < 3; ++cycle) WritePatternFile(u"F", u"p", ReadPatternFile(u"F", u"p.Dat"));
  EXPECT_EQ(Bytes(At("F", "p.Dat")), "Line1\r\nLine2\r\n");
}

TEST_F(StoreTest, TextEndingInALineEndKeepsItAsItIsAndStoringAgainAddsNoLine) {
  struct Case {
    std::u16string code;
    std::string bytes;
  } cases[] = {
      {u"x\r", "x\r"},
      {u"a\r\nb\r", "a\r\nb\r"},
      {u"a\rb\r  ", "a\rb\r"},
      {u"x\r\n", "x\r\n"},
      {u"x\n", "x\n\r\n"},  // a lone LF stays inside its line
  };
  MakeFolder("F");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    WritePatternFile(u"F", u"p", c.code);
    EXPECT_EQ(Bytes(At("F", "p.Dat")), c.bytes);
    std::u16string read = ReadPatternFile(u"F", u"p.Dat");
    WritePatternFile(u"F", u"p", read);
    EXPECT_EQ(ReadPatternFile(u"F", u"p.Dat"), read);
  }
}

TEST_F(StoreTest, FolderOperationsCreateRenameAndRemoveOnlyEmptyFolders) {
  CreatePatternRoot();
  CreatePatternFolder(u"A");
  PutPattern("A", "p.Dat", "x\r\n");
  RenamePatternFolder(u"A", u"B");
  EXPECT_EQ(Bytes(At("B", "p.Dat")), "x\r\n");
  CreatePatternFolder(u"C");
  EXPECT_THROW(RenamePatternFolder(u"C", u"B"), PatternStoreError);  // never onto another folder
  EXPECT_THROW(CreatePatternFolder(u"B"), PatternStoreError);
  try {
    RemovePatternFolder(u"B");
    ADD_FAILURE() << "a folder holding a pattern was removed";
  } catch (const PatternStoreError& e) {
    EXPECT_EQ(e.action(), StoreAction::RemoveFolder);
    EXPECT_EQ(e.path(), At("B"));
  }
  EXPECT_EQ(Bytes(At("B", "p.Dat")), "x\r\n");
  RemovePatternFolder(u"C");
  EXPECT_THAT(ListPatternFolders(), UnorderedElementsAre(u"B"));
}

TEST_F(StoreTest, NamesThatWouldLeaveTheRootAreRefusedBeforeTheDiskIsTouched) {
  MakeFolder("F");
  std::set<std::string> before = Tree(dir_);
  for (const std::u16string name : {u"../out", u"a/b", u"..", u".", u""}) {
    SCOPED_TRACE(vb::ToUtf8(name));
    EXPECT_THROW(CreatePatternFolder(name), PatternStoreError);
    EXPECT_THROW(RenamePatternFolder(u"F", name), PatternStoreError);
    EXPECT_THROW(RemovePatternFolder(name), PatternStoreError);
    EXPECT_THROW(WritePatternFile(name, u"p", u"x"), PatternStoreError);
    EXPECT_THROW(DeletePatternFile(u"F", name), PatternStoreError);
    EXPECT_THROW(ReadPatternFile(name, u"p.Dat"), PatternStoreError);
  }
  // A pattern name becomes name + ".Dat": only a separator leaves the folder.
  for (const std::u16string& name : {std::u16string(u"../out"), std::u16string(u"a/b"), std::u16string(u"a\0b", 3)})
    EXPECT_THROW(WritePatternFile(u"F", name, u"x"), PatternStoreError) << vb::ToUtf8(name);
  EXPECT_FALSE(PatternFolderExists(u".."));
  EXPECT_FALSE(PatternFileExists(u"..", u"addin"));
  EXPECT_EQ(Tree(dir_), before);
}

TEST_F(StoreTest, ALinkInTheRootIsNeverFollowedForAWriteOrADelete) {
  fs::path outside = dir_ / "outside";
  Put(outside / "Keep.Dat", "outside\r\n");
  CreatePatternRoot();
  fs::create_directory_symlink(outside, At("Link"));
  MakeFolder("F");
  fs::create_symlink(outside / "Keep.Dat", At("F", "Alias.Dat"));

  EXPECT_THROW(WritePatternFile(u"Link", u"New", u"x"), PatternStoreError);
  EXPECT_THROW(WritePatternFile(u"Link", u"Keep", u"x"), PatternStoreError);
  EXPECT_THROW(DeletePatternFile(u"Link", u"Keep.Dat"), PatternStoreError);
  EXPECT_THROW(RemovePatternFolder(u"Link"), PatternStoreError);
  // A linked pattern file is replaced or removed itself, its target stays.
  WritePatternFile(u"F", u"Alias", u"inside");
  EXPECT_FALSE(fs::is_symlink(At("F", "Alias.Dat")));
  EXPECT_EQ(Bytes(At("F", "Alias.Dat")), "inside\r\n");
  fs::remove(At("F", "Alias.Dat"));
  fs::create_symlink(outside / "Keep.Dat", At("F", "Alias.Dat"));
  DeletePatternFile(u"F", u"Alias.Dat");

  EXPECT_EQ(Tree(outside), std::set<std::string>{"Keep.Dat"});
  EXPECT_EQ(Bytes(outside / "Keep.Dat"), "outside\r\n");
  EXPECT_TRUE(fs::is_symlink(At("Link")));
}

// Writes with the process's file size limit at `limit` bytes, so that the
// write fails part-way as on a full disk.
void WriteWithFileSizeLimit(rlim_t limit, const std::u16string& folder, const std::u16string& name,
                            const std::u16string& code) {
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = limit;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool threw = false;
  try {
    WritePatternFile(folder, name, code);
  } catch (const PatternStoreError& e) {
    threw = e.action() == StoreAction::WritePattern;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(threw) << "the write did not report its failure";
}

TEST_F(StoreTest, AFailedWriteLeavesTheOldPatternWholeAndNoTemporaryFile) {
  MakeFolder("F");
  PutPattern("F", "p.Dat", "Old line\r\n");
  WriteWithFileSizeLimit(16, u"F", u"p", std::u16string(200, u'x'));
  EXPECT_EQ(Bytes(At("F", "p.Dat")), "Old line\r\n");
  EXPECT_EQ(Tree(At("F")), std::set<std::string>{"p.Dat"});
}

}  // namespace
}  // namespace tarno::patterns
