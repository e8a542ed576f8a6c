#include "platform/profile.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/code_page.h"
#include "platform/text_file.h"

namespace tarno::win {
namespace {
namespace fs = std::filesystem;
using std::nullopt;

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_profile_XXXXXX";
    dir_ = mkdtemp(tmpl);
    path_ = dir_ / "test.ini";
    SetSystemCodePage(CodePage::Cp932());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  void Put(const std::string& bytes) { files::WriteAllBytes(path_, bytes); }
  std::string File() const { return files::ReadAllBytes(path_); }
  std::string Get(OptText section, OptText key, std::string_view def = "", uint32_t size = 255) {
    std::string out;
    uint32_t n = GetPrivateProfileStringA(section, key, def, out, size, path_);
    EXPECT_EQ(n, out.size());
    return out;
  }
  bool Set(OptText section, OptText key, OptText value) {
    return WritePrivateProfileStringA(section, key, value, path_);
  }

  fs::path dir_;
  fs::path path_;
};

TEST_F(ProfileTest, NamesMatchWithoutCaseAndBlanksAroundTheValueGo) {
  Put("[Sec]\r\n  Key \t=\t value with  inner blanks \t\r\n");
  EXPECT_EQ(Get("sec", "KEY"), "value with  inner blanks");
  EXPECT_EQ(Get(" SEC ", " key "), "value with  inner blanks");
  Put(" \t[ Sec ] trailing text\r\n\tKey=1\r\n");
  EXPECT_EQ(Get("sec", "key"), "1");
}

TEST_F(ProfileTest, MissingAndEmptyValuesDiffer) {
  Put("[S]\r\nEmpty=\r\nBlank=   \r\n");
  EXPECT_EQ(Get("S", "Empty", "dflt"), "");
  EXPECT_EQ(Get("S", "Blank", "dflt"), "");
  EXPECT_EQ(Get("S", "Missing", "dflt"), "dflt");
  EXPECT_EQ(Get("Nope", "Empty", "dflt"), "dflt");
  // Trailing spaces of the default are dropped, as Windows does.
  EXPECT_EQ(Get("S", "Missing", "d  "), "d");
  fs::remove(path_);
  EXPECT_EQ(Get("S", "Empty", "dflt"), "dflt");
}

TEST_F(ProfileTest, ValueIsEverythingAfterTheFirstEqualsSignIncludingSemicolons) {
  Put("[S]\r\nA=b=c\r\nB=x ; not a comment\r\n; C=commented out\r\n");
  EXPECT_EQ(Get("S", "A"), "b=c");
  EXPECT_EQ(Get("S", "B"), "x ; not a comment");
  EXPECT_EQ(Get("S", "; C", "none"), "none");
}

TEST_F(ProfileTest, OnePairOfMatchingQuotesIsRemoved) {
  Put("[S]\r\nD=\"  padded  \"\r\nQ='single'\r\nM=\"mixed'\r\nT=\"\"x\"\"\r\nO=\"\r\n");
  EXPECT_EQ(Get("S", "D"), "  padded  ");
  EXPECT_EQ(Get("S", "Q"), "single");
  EXPECT_EQ(Get("S", "M"), "\"mixed'");
  EXPECT_EQ(Get("S", "T"), "\"x\"");
  EXPECT_EQ(Get("S", "O"), "\"");
}

TEST_F(ProfileTest, FirstDuplicateKeyWinsAndOnlyFirstSectionIsSearched) {
  Put("[S]\r\nK=first\r\nk=second\r\n[s]\r\nK=third\r\nOnlyHere=x\r\n");
  EXPECT_EQ(Get("S", "K"), "first");
  EXPECT_EQ(Get("S", "OnlyHere", "none"), "none");
}

TEST_F(ProfileTest, LineEndsReadAlike) {
  for (std::string end : {"\r\n", "\n", "\r"}) {
    Put("[S]" + end + "A=1" + end + "B=2" + end + "[T]" + end + "A=3");
    EXPECT_EQ(Get("S", "B"), "2") << int(end.back());
    EXPECT_EQ(Get("T", "A"), "3") << int(end.back());
  }
}

TEST_F(ProfileTest, LongValuesAreCutWithoutSplittingACharacter) {
  std::string ascii(300, 'x');
  Put("[S]\r\nA=" + ascii + "\r\n");
  std::string out;
  EXPECT_EQ(GetPrivateProfileStringA("S", "A", "", out, 255, path_), 254u);
  EXPECT_EQ(out, ascii.substr(0, 254));
  // 253 single bytes then a double-byte character: the whole character is left out.
  std::string sjis = std::string(253, 'y') + "\x93\xFA" + "z";
  Put("[S]\r\nB=" + sjis + "\r\n");
  EXPECT_EQ(GetPrivateProfileStringA("S", "B", "", out, 255, path_), 253u);
  EXPECT_EQ(out, std::string(253, 'y'));
  // Aligned double-byte characters fill all 254 bytes.
  std::string kanji;
  for (int i = 0; i < 130; ++i) kanji += "\x93\xFA";
  Put("[S]\r\nC=" + kanji + "\r\n");
  EXPECT_EQ(GetPrivateProfileStringA("S", "C", "", out, 255, path_), 254u);
  EXPECT_EQ(out, kanji.substr(0, 254));
  EXPECT_EQ(GetPrivateProfileStringA("S", "C", "", out, 0, path_), 0u);
  EXPECT_EQ(GetPrivateProfileStringA("S", "C", "", out, 1, path_), 0u);
}

TEST_F(ProfileTest, SectionNameWithTrailByteBracket) {
  // "ゾ" is 0x83 0x5D: its trail byte is "]".
  Put("[\x83\x5D]\r\nK=v\r\n[\x83\x5D\r\nK=w\r\n");
  EXPECT_EQ(Get("\x83\x5D", "K"), "v");
  // Trail bytes that look like letters are not case-folded.
  Put("[\x83\x41]\r\nK=v\r\n");  // "ア"
  EXPECT_EQ(Get("\x83\x61", "K", "none"), "none");
}

TEST_F(ProfileTest, ListsSectionAndKeyNames) {
  Put("; top\r\n[One]\r\nA=1\r\nb=2\r\nB=3\r\n[Two]\r\n[one]\r\nC=4\r\n");
  EXPECT_EQ(Get(nullopt, nullopt), std::string("One\0Two\0", 8));
  EXPECT_EQ(Get("ONE", nullopt), std::string("A\0b\0", 4));
  EXPECT_EQ(Get("Two", nullopt), "");
  EXPECT_EQ(Get("Missing", nullopt), "");
  // A list that does not fit is cut to size - 2 bytes.
  std::string out;
  EXPECT_EQ(GetPrivateProfileStringA(nullopt, nullopt, "", out, 6, path_), 4u);
  EXPECT_EQ(out, std::string("One\0", 4));
}

TEST_F(ProfileTest, WritingCreatesTheFileButNotItsFolder) {
  EXPECT_TRUE(Set("Sec", "Key", "value"));
  EXPECT_EQ(File(), "[Sec]\r\nKey=value\r\n");
  fs::path nested = dir_ / "missing" / "x.ini";
  EXPECT_FALSE(WritePrivateProfileStringA("S", "K", "v", nested));
  EXPECT_FALSE(fs::exists(nested.parent_path()));
}

TEST_F(ProfileTest, ReplacingAKeyKeepsItsSpellingAndEveryOtherByte) {
  const std::string head = "; comment line\r\n\r\nodd line without equals\r\n";
  Put(head + "[Sec]\r\n  MyKey = old value\r\nOther=1\n\r\n[Next]\r\nX=y");
  EXPECT_TRUE(Set("SEC", "mykey", "new"));
  EXPECT_EQ(File(), head + "[Sec]\r\n  MyKey =new\r\nOther=1\n\r\n[Next]\r\nX=y");
}

TEST_F(ProfileTest, WriteThatChangesNothingLeavesTheFileAlone) {
  const std::string text = "[S]\r\nA = \"same\"   \r\nB=x\n";
  Put(text);
  // A rewrite goes through a new file renamed into place, so the inode tells.
  auto inode = [&] {
    struct stat st {};
    ::stat(path_.c_str(), &st);
    return st.st_ino;
  };
  auto before = inode();
  EXPECT_TRUE(Set("S", "A", "same"));
  EXPECT_TRUE(Set("s", "b", "x"));
  EXPECT_TRUE(Set("S", "Missing", nullopt));
  EXPECT_TRUE(Set("NoSuchSection", nullopt, nullopt));
  EXPECT_TRUE(WritePrivateProfileSectionA("NoSuchSection", nullopt, path_));
  EXPECT_EQ(inode(), before);
  EXPECT_EQ(File(), text);
  EXPECT_TRUE(Set("S", "B", "changed"));
  EXPECT_NE(inode(), before);
}

TEST_F(ProfileTest, NewKeyGoesAfterTheSectionsLastLine) {
  Put("[A]\r\nK1=1\r\n; note\r\n\r\n\r\n[B]\r\nX=1");
  EXPECT_TRUE(Set("A", "K2", "2"));
  EXPECT_EQ(File(), "[A]\r\nK1=1\r\n; note\r\nK2=2\r\n\r\n\r\n[B]\r\nX=1");
  // At the end of a file without a final line end.
  EXPECT_TRUE(Set("B", "Y", "2"));
  EXPECT_EQ(File(), "[A]\r\nK1=1\r\n; note\r\nK2=2\r\n\r\n\r\n[B]\r\nX=1\r\nY=2\r\n");
}

TEST_F(ProfileTest, NewSectionIsAppendedUsingTheFilesLineEnd) {
  Put("[A]\nK=1\n");
  EXPECT_TRUE(Set("B", "K", "2"));
  EXPECT_EQ(File(), "[A]\nK=1\n[B]\nK=2\n");
}

TEST_F(ProfileTest, AByteOrderMarkIsNoPartOfTheFirstSectionHeaderAndStaysInFront) {
  const std::string mark = "\xEF\xBB\xBF";
  struct Case {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    OptText value;
    std::string after;
  };
  const Case cases[] = {
      {"replace in the first section", mark + "[A]\r\nK=1\r\n[B]\r\nK=2\r\n", "A", "K", "9",
       mark + "[A]\r\nK=9\r\n[B]\r\nK=2\r\n"},
      {"new key in the first section", mark + "[A]\r\nK=1\r\n", "a", "N", "2", mark + "[A]\r\nK=1\r\nN=2\r\n"},
      {"new section", mark + "[A]\nK=1\n", "B", "K", "3", mark + "[A]\nK=1\n[B]\nK=3\n"},
      {"first section deleted", mark + "[A]\r\nK=1\r\n[B]\r\nK=2\r\n", "A", nullptr, nullopt,
       mark + "[B]\r\nK=2\r\n"},
      {"only the mark", mark, "A", "K", "1", mark + "[A]\r\nK=1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(c.before);
    OptText key = c.key ? OptText(c.key) : nullopt;
    EXPECT_TRUE(Set(c.section, key, c.value));
    EXPECT_EQ(File(), c.after);
  }
  // Reading: the first header is found, and it is listed under its own name.
  Put(mark + "[A]\r\nK=1\r\n[B]\r\nK=2\r\n");
  EXPECT_EQ(Get("A", "K", "none"), "1");
  EXPECT_EQ(Get(nullopt, nullopt), std::string("A\0B\0", 4));
  // A mark anywhere else is an ordinary byte.
  Put("[A]\r\n" + mark + "K=1\r\n");
  EXPECT_EQ(Get("A", "K", "none"), "none");
}

TEST_F(ProfileTest, NullValueDeletesTheKeyAndKeepsTheHeader) {
  Put("[S]\r\nA=1\r\n; c\r\nB=2\r\na=dup\r\n[T]\r\nA=3\r\n");
  EXPECT_TRUE(Set("S", "A", nullopt));
  EXPECT_EQ(File(), "[S]\r\n; c\r\nB=2\r\n[T]\r\nA=3\r\n");
  EXPECT_EQ(Get("S", "A", "gone"), "gone");
}

TEST_F(ProfileTest, NullKeyDeletesTheSectionWithAllItsLines) {
  Put("top\r\n[S]\r\nA=1\r\n; c\r\n\r\n[T]\r\nB=2\r\n[s]\r\nC=3\r\n");
  EXPECT_TRUE(Set("S", nullopt, nullopt));
  EXPECT_EQ(File(), "top\r\n[T]\r\nB=2\r\n");
}

TEST_F(ProfileTest, LineBreaksInAValueAreDropped) {
  EXPECT_TRUE(Set("S", "K", "one\r\ntwo\rthree\nfour"));
  EXPECT_TRUE(Set("S", "L", "x"));
  EXPECT_EQ(File(), "[S]\r\nK=onetwothreefour\r\nL=x\r\n");
}

TEST_F(ProfileTest, InvalidNamesAreRefused) {
  EXPECT_FALSE(Set("", "K", "v"));
  EXPECT_FALSE(Set("a]b", "K", "v"));
  EXPECT_FALSE(Set("S\r\n", "K", "v"));
  EXPECT_FALSE(Set("S", "K=1", "v"));
  EXPECT_FALSE(Set("S", ";K", "v"));
  EXPECT_FALSE(Set("S", " ", "v"));
  EXPECT_FALSE(Set("S", "K\n", "v"));
  EXPECT_FALSE(Set(nullopt, "K", "v"));
  // A CP932 lead byte at the end would swallow the "]" of the header (a fuzz finding).
  EXPECT_FALSE(Set("\xe1", "K", "v"));
  EXPECT_FALSE(Set("ab\x83", "K", "v"));
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_TRUE(Set("\x83\x5d", "K", "v"));  // a whole double-byte character is fine
  EXPECT_EQ(Get("\x83\x5d", "K"), "v");
}

TEST_F(ProfileTest, ValuesAreKeptByteForByte) {
  // Shift-JIS text, including trail bytes "\" and "]", and invalid bytes.
  std::string value = "\x95\x5C\x83\x5D\x80\xFF\xA0 end";
  EXPECT_TRUE(Set("\x93\xFA\x96\x7B", "K", value));
  EXPECT_EQ(Get("\x93\xFA\x96\x7B", "k"), value);
}

TEST_F(ProfileTest, WriteSectionReplacesOnlyTheEntries) {
  Put("[S]\r\nA=1\r\n; keep me\r\nB=2\r\n\r\n[T]\r\nX=1\r\n");
  using namespace std::string_literals;
  EXPECT_TRUE(WritePrivateProfileSectionA("s", "C=3\0D=4\0\0"s, path_));
  EXPECT_EQ(File(), "[S]\r\n; keep me\r\nC=3\r\nD=4\r\n\r\n[T]\r\nX=1\r\n");
  EXPECT_TRUE(WritePrivateProfileSectionA("T", "", path_));
  EXPECT_EQ(File(), "[S]\r\n; keep me\r\nC=3\r\nD=4\r\n\r\n[T]\r\n");
  EXPECT_EQ(Get("T", nullopt), "");
  EXPECT_TRUE(WritePrivateProfileSectionA("New", "K=v"s, path_));
  EXPECT_EQ(Get("New", "K"), "v");
  EXPECT_TRUE(WritePrivateProfileSectionA("S", nullopt, path_));
  EXPECT_EQ(File(), "[T]\r\n[New]\r\nK=v\r\n");
}

TEST_F(ProfileTest, BatchReadsSeeEarlierWritesAndTheFileChangesOnlyAtCommit) {
  Put("[A]\r\nK=1");
  ProfileBatch batch(path_);
  EXPECT_TRUE(batch.WritePrivateProfileStringA("A", "K", "2"));
  EXPECT_TRUE(batch.WritePrivateProfileStringA("B", "X", "y"));
  EXPECT_TRUE(batch.WritePrivateProfileStringA("B", "Z", "z"));
  EXPECT_TRUE(batch.WritePrivateProfileStringA("B", "X", nullopt));
  std::string out;
  EXPECT_EQ(batch.GetPrivateProfileStringA("a", "k", "", out, 255), 1u);
  EXPECT_EQ(out, "2");
  EXPECT_EQ(batch.GetPrivateProfileStringA("B", "X", "gone", out, 255), 4u);
  EXPECT_EQ(File(), "[A]\r\nK=1");  // nothing written yet
  EXPECT_TRUE(batch.Commit());
  EXPECT_EQ(File(), "[A]\r\nK=2\r\n[B]\r\nZ=z\r\n");
  // Removing and re-adding a section within one batch.
  EXPECT_TRUE(batch.WritePrivateProfileSectionA("B", nullopt));
  EXPECT_TRUE(batch.WritePrivateProfileStringA("B", "N", "1"));
  EXPECT_TRUE(batch.Commit());
  EXPECT_EQ(File(), "[A]\r\nK=2\r\n[B]\r\nN=1\r\n");
}

TEST_F(ProfileTest, UnreadableFileRefusesWritesAndGivesDefaults) {
  fs::create_directory(path_);  // a folder where the file should be
  ProfileBatch batch(path_);
  std::string out;
  EXPECT_EQ(batch.GetPrivateProfileStringA("S", "K", "dflt", out, 255), 4u);
  EXPECT_FALSE(batch.WritePrivateProfileStringA("S", "K", "v"));
  EXPECT_FALSE(batch.Commit());
  EXPECT_FALSE(Set("S", "K", "v"));
  EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(ProfileTest, NothingToDeleteCreatesNoFile) {
  EXPECT_TRUE(Set("S", "K", nullopt));
  EXPECT_TRUE(Set("S", nullopt, nullopt));
  EXPECT_TRUE(WritePrivateProfileSectionA("S", nullopt, path_));
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_TRUE(WritePrivateProfileSectionA("S", "", path_));
  EXPECT_EQ(File(), "[S]\r\n");
}

TEST_F(ProfileTest, PathWithoutFolderUsesTheWindowsDirectory) {
  ::setenv("TARNO_WINDOWS_DIR", (dir_ / "win").c_str(), 1);
  EXPECT_TRUE(WritePrivateProfileStringA("Add-Ins32", "prj.cls", "0", "VBADDIN.INI"));
  EXPECT_TRUE(WritePrivateProfileStringA("Add-Ins32", "prj.cls", "0", "VBADDIN.INI"));
  EXPECT_EQ(files::ReadAllBytes(dir_ / "win" / "VBADDIN.INI"), "[Add-Ins32]\r\nprj.cls=0\r\n");
  std::string out;
  EXPECT_EQ(GetPrivateProfileStringA("Add-Ins32", "PRJ.CLS", "", out, 255, "VBADDIN.INI"), 1u);
  ::unsetenv("TARNO_WINDOWS_DIR");
}

}  // namespace
}  // namespace tarno::win
