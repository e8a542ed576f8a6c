// `tarno patterns` as a user runs it, over a temporary add-in folder.
#include <gmock/gmock.h>
#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>

#include "pattern_fixture.h"

namespace tarno {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using test::Sjis;

struct Result {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class PatternsCliTest : public test::PatternFolderTest {
 protected:
  // Runs `tarno patterns ARGS` with standard input from `input`.
  Result Run(const std::string& args, const std::string& input = "") {
    fs::path in = dir_ / "stdin.txt", out = dir_ / "stdout.txt", err = dir_ / "stderr.txt";
    Put(in, input);
    std::string cmd = "TARNO_ADDIN_DIR=" + Quote(addin_.string()) + " " + Quote(TARNO_EXE) + " patterns " + args +
                      " <" + Quote(in.string()) + " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, Bytes(out), Bytes(err)};
  }
};

TEST_F(PatternsCliTest, EachActionWorksOnTheStoreAsTheWindowsDo) {
  Result r = Run("list");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(fs::exists(root_));  // listing writes nothing

  r = Run("mkdir '  エラー処理 '");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "エラー処理\n");
  EXPECT_TRUE(fs::is_directory(At("エラー処理")));

  Put(dir_ / "code.txt", Sjis("  On Error GoTo ErrHandler\n' 処理\n"));
  r = Run("add エラー処理 Header --file " + Quote((dir_ / "code.txt").string()));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Header.Dat\n");
  EXPECT_EQ(Bytes(At("エラー処理", "Header.Dat")), Sjis("On Error GoTo ErrHandler\r\n' 処理\r\n"));

  r = Run("add エラー処理 ' Footer '", "Exit Sub\nErrHandler:\n  MsgBox \"エラー\"  \n");
  EXPECT_EQ(r.status, 0) << r.err;
  // Only the text's own ends are trimmed; spaces before its final line end stay.
  EXPECT_EQ(Bytes(At("エラー処理", " Footer .Dat")), Sjis("Exit Sub\r\nErrHandler:\r\n  MsgBox \"エラー\"  \r\n"));

  r = Run("list --format json");
  EXPECT_EQ(r.status, 0) << r.err;
  nlohmann::json tree = nlohmann::json::parse(r.out);
  ASSERT_EQ(tree.size(), 1u);
  EXPECT_EQ(tree[0]["folder"], "エラー処理");
  std::vector<std::string> files = tree[0]["patterns"];
  EXPECT_THAT(files, ::testing::UnorderedElementsAre("Header.Dat", " Footer .Dat"));
  r = Run("list");
  EXPECT_THAT(r.out, HasSubstr("エラー処理\n"));
  EXPECT_THAT(r.out, HasSubstr("\n  Header.Dat\n"));

  r = Run("show エラー処理 Header.Dat");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "On Error GoTo ErrHandler\r\n' 処理\r\n");

  // Stored again under a new name: the old file goes, the text does not grow.
  r = Run("edit エラー処理 Header.Dat --name Header2");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Header2.Dat\n");
  EXPECT_FALSE(fs::exists(At("エラー処理", "Header.Dat")));
  EXPECT_EQ(Bytes(At("エラー処理", "Header2.Dat")), Sjis("On Error GoTo ErrHandler\r\n' 処理\r\n"));

  r = Run("rename エラー処理 Errors");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(At("Errors", "Header2.Dat")));

  for (const char* file : {"Header2.Dat", "' Footer .Dat'"}) {
    r = Run(std::string("rm Errors ") + file);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "削除しました\n");
  }
  r = Run("rmdir Errors");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Tree(root_), std::set<std::string>{});
}

TEST_F(PatternsCliTest, RefusalsExitOneWithTheWindowsMessagesAndChangeNothing) {
  EXPECT_THAT(Run("add F p", "x").err, HasSubstr("フォルダを作成してください"));
  MakeFolder("F");
  PutPattern("F", "Sample.Dat", "x\r\n");
  PutPattern("F", "a.b.Dat", "x\r\n");
  PutPattern("F", "x.dat", "x\r\n");
  struct Case {
    std::string args, message;
  } cases[] = {
      {"mkdir ../Escape", "フォルダ名に使用できない文字が含まれています"},
      {"mkdir ' '", "フォルダ名を入力してください"},
      {"mkdir ' F '", "指定されたフォルダ名は存在しています"},
      {"rename F F", "指定されたフォルダ名は存在しています"},
      {"rename Missing G", "指定されたフォルダは、存在しません"},
      {"rmdir Missing", "指定されたフォルダは、存在しません"},
      {"add Missing p", "指定されたフォルダは、存在しません"},
      {"add F a.b", "プロシージャ名に使用できない文字が含まれています"},
      {"add F ../p", "プロシージャ名に使用できない文字が含まれています"},
      {"add F Sample", "指定されたプロシージャ名は、既に使用されています"},
      {"add F Blank", "コード内容を入力してください"},
      {"edit F Sample.Dat", "指定されたプロシージャ名は、既に使用されています"},
      {"edit F Sample.Dat --name ''", "プロシージャ名を入力してください"},
      {"edit F Missing.Dat --name New", "指定されたコードパターンは、削除されたか移動されました"},
      {"show F x.dat", "コードパターンを選択してください"},
      {"show F Missing.Dat", "指定されたフォルダは、存在しません"},
      {"rm F Missing.Dat", "指定されたフォルダは、存在しません"},
  };
  std::set<std::string> before = Tree(dir_);
  for (const Case& c : cases) {
    Result r = Run(c.args, "   ");
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_EQ(r.err, "tarno: " + c.message + "\n") << c.args;
  }
  EXPECT_EQ(Tree(dir_), before);
}

TEST_F(PatternsCliTest, FailuresExitTwoAndRootMovesTheStoreForOneCall) {
  MakeFolder("Full");
  PutPattern("Full", "p.Dat", "x\r\n");
  Result r = Run("rmdir Full");
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("フォルダを削除できませんでした"));
  EXPECT_EQ(Bytes(At("Full", "p.Dat")), "x\r\n");
  r = Run("add Full q --file " + Quote((dir_ / "missing.txt").string()));
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(fs::exists(At("Full", "q.Dat")));

  fs::path other = dir_ / "other";
  r = Run("mkdir Elsewhere --root " + Quote(other.string()));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_directory(other / "Elsewhere"));
  EXPECT_FALSE(fs::exists(At("Elsewhere")));
  r = Run("--root " + Quote(other.string()) + " list");
  EXPECT_EQ(r.out, "Elsewhere\n");
}

}  // namespace
}  // namespace tarno

namespace tarno {
namespace {

class PatternsCliInputTest : public PatternsCliTest {};

// A library copied from Windows keeps its CP932 names as bytes that are not
// UTF-8: they are listed with those bytes escaped, in text and in JSON, and
// a folder that cannot be listed is named while the others are listed.
TEST_F(PatternsCliInputTest, ListShowsEveryNameItCanAndNamesWhatItCannot) {
  const std::string sjisFolder = Sjis("定型"), sjisFile = Sjis("見本") + ".Dat";
  PutPattern(sjisFolder, sjisFile, "x\r\n");
  PutPattern("Plain", "p.Dat", "x\r\n");
  fs::create_directory_symlink("Loop", At("Loop"));  // cannot be listed
  const std::string folderShown = "\\x92\\xE8\\x8C^", fileShown = "\\x8C\\xA9\\x96{.Dat";

  Result text = Run("list");
  EXPECT_EQ(text.status, 2);
  EXPECT_THAT(text.out, HasSubstr(folderShown + "\n  " + fileShown + "\n"));
  EXPECT_THAT(text.out, HasSubstr("Plain\n  p.Dat\n"));
  EXPECT_THAT(text.out, HasSubstr("Loop\n"));
  EXPECT_THAT(text.err, HasSubstr("フォルダの内容を読み込めませんでした"));
  EXPECT_THAT(text.err, HasSubstr(At("Loop").string()));

  Result json = Run("list --format json");
  EXPECT_EQ(json.status, 2);
  nlohmann::json tree = nlohmann::json::parse(json.out);  // throws on bytes that are not UTF-8
  std::map<std::string, nlohmann::json> byName;
  for (const auto& f : tree) byName[f["folder"].get<std::string>()] = f;
  ASSERT_EQ(byName.size(), 3u) << json.out;
  EXPECT_EQ(byName[folderShown]["patterns"], nlohmann::json::array({fileShown}));
  EXPECT_EQ(byName["Plain"]["patterns"], nlohmann::json::array({"p.Dat"}));
  EXPECT_THAT(byName["Loop"]["error"].get<std::string>(), HasSubstr(At("Loop").string()));
  EXPECT_FALSE(byName["Plain"].contains("error"));

  // The raw bytes still name the pattern.
  Result copy = Run("copy " + Quote(sjisFolder) + " " + Quote(sjisFile));
  EXPECT_EQ(copy.status, 0) << copy.err;
  EXPECT_EQ(copy.out, "x\r\n");
}

TEST_F(PatternsCliInputTest, CopyPrintsTheClipboardTextAfterTheBrowsersChecks) {
  MakeFolder("F");
  PutPattern("F", "Two.Dat", "a\r\nb");
  PutPattern("F", "Cr.Dat", "a\rb\r");
  PutPattern("F", "x.dat", "x\r\n");
  struct Case {
    std::string args;
    int status;
    std::string out, err;
  } cases[] = {
      {"copy F Two.Dat", 0, "a\r\nb\r\n", ""},
      {"copy F Cr.Dat", 0, "a\r\nb\r\n", ""},
      {"copy F x.dat", 1, "", "tarno: コードパターンを選択してください\n"},
      {"copy F Missing.Dat", 1, "", "tarno: 指定されたフォルダは、存在しません\n"},
      {"copy Missing Two.Dat", 1, "", "tarno: 指定されたフォルダは、存在しません\n"},
  };
  for (const Case& c : cases) {
    Result r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(r.out, c.out) << c.args;
    EXPECT_EQ(r.err, c.err) << c.args;
  }
}

TEST_F(PatternsCliInputTest, CodeTheCodePageCannotHoldIsRefusedNamingTheCharacters) {
  MakeFolder("F");
  PutPattern("F", "Old.Dat", "x\r\n");
  struct Case {
    std::string args, input, named;
  } cases[] = {
      {"add F New", "MsgBox \"\U0001F600\"\n", "\U0001F600 (U+1F600)"},
      {"add F New", "' 価格 \u20AC\n", "\u20AC (U+20AC)"},
      {"add F New", "' caf\u00E9 \u00E9\n", "\u00E9 (U+00E9)"},
  };
  std::set<std::string> before = Tree(root_);
  for (const Case& c : cases) {
    Result r = Run(c.args, c.input);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_EQ(r.err, "tarno: コード内容にシステムのコードページで保存できない文字が含まれています: " + c.named + "\n")
        << c.args;
  }
  EXPECT_EQ(Tree(root_), before);
}

}  // namespace
}  // namespace tarno
