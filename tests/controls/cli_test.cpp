// The control-tool commands run as a user runs them on copies of corpus
// forms: every line they do not set stays as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/code_page.h"
#include "support/tarno_run.h"
#include "platform/vb_text.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out, err;
};

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  std::stringstream ss(bytes);
  for (std::string line; std::getline(ss, line);) out.push_back(line);
  return out;
}

std::string Quote(const std::string& s) { return tarno::test::ShellQuote(s); }

// The corpus beside the checkout; TARNO_CORPUS in the environment moves it.
fs::path CorpusDir() {
  if (const char* env = std::getenv("TARNO_CORPUS")) return env;
  return TARNO_CORPUS_DIR;
}

class ControlsCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(CorpusDir() / "dtinth__UCN-BMSE")) GTEST_SKIP() << "corpus not found at " << CorpusDir();
    dir_ = fs::temp_directory_path() / ("tarno_controls_cli_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sys");
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  // Copies a corpus form with its binary file into the temporary folder.
  fs::path Copy(const std::string& corpusForm) {
    fs::path from = CorpusDir() / corpusForm;
    fs::copy_file(from, dir_ / from.filename());
    fs::path frx = fs::path(from).replace_extension(".frx");
    // A working copy the user may write (the corpus itself is read-only, and
    // Windows removes no read-only file).
    if (fs::exists(frx)) {
      fs::copy_file(frx, dir_ / frx.filename());
      fs::permissions(dir_ / frx.filename(), fs::perms::owner_write, fs::perm_options::add);
    }
    fs::permissions(dir_ / from.filename(), fs::perms::owner_write, fs::perm_options::add);
    return dir_ / from.filename();
  }

  Result Run(const std::string& args) {
    auto r = tarno::test::RunTarno(args, dir_, "TARNO_SYSTEM_DIR=" + Quote((dir_ / "sys").string()), dir_);
    return {r.status, r.out, r.err};
  }

  fs::path dir_;
};

// The changed lines of b against a (same line count), as (line number, text).
std::map<size_t, std::string> Changed(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::map<size_t, std::string> out;
  EXPECT_EQ(a.size(), b.size());
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (a[i] != b[i]) out[i] = b[i];
  return out;
}

std::string Trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(" \r");
  size_t b = s.find_last_not_of(" \r");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

TEST_F(ControlsCliTest, TabIndexShowListsEveryControlWithATabIndexOnce) {
  fs::path form = Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frm");
  const std::string before = ReadFile(form);
  Result r = Run("tabindex frmWindowFind.frm --show");
  ASSERT_EQ(r.status, 0) << r.err;
  // Every "TabIndex = n" line of the file is one listed control.
  std::multiset<std::string> inFile, listed;
  for (const auto& line : Lines(before)) {
    std::string t = Trimmed(line);
    if (t.rfind("TabIndex", 0) == 0) inFile.insert(Trimmed(t.substr(t.find('=') + 1)));
  }
  auto rows = Lines(r.out);
  ASSERT_FALSE(rows.empty());
  std::set<std::string> numbers;
  for (size_t i = 1; i < rows.size(); ++i) {
    std::vector<std::string> cols;
    std::stringstream ss(rows[i]);
    for (std::string c; std::getline(ss, c, '\t');) cols.push_back(c);
    ASSERT_EQ(cols.size(), 6u) << rows[i];
    EXPECT_TRUE(numbers.insert(cols[0]).second) << "listed twice: " << rows[i];
    listed.insert(cols[3]);
  }
  // One row per "TabIndex = n" line of the file, and the other way round.
  EXPECT_EQ(listed, inFile);
  EXPECT_EQ(rows.size() - 1, inFile.size());
  EXPECT_EQ(ReadFile(form), before);              // --show writes nothing
}

TEST_F(ControlsCliTest, SettingChangesExactlyThePropertyLinesItSets) {
  fs::path form = Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frm");
  const std::string frx = ReadFile(dir_ / "frmWindowFind.frx");
  struct Step {
    std::string args;
    std::vector<std::string> changed;  // the trimmed new lines, in file order
  };
  const Step steps[] = {
      {"layout frmWindowFind.frm --controls cmdClose,cmdDecide --top 100 --width 1700",
       {"Top             =   100", "Width           =   1700", "Top             =   100",
        "Width           =   1700"}},
      {"index frmWindowFind.frm --order 'lstGrid(3),lstGrid(2),lstGrid(1),lstGrid(0)'",
       {"Index           =   1", "Index           =   2", "Index           =   3", "Index           =   0"}},
      {"layout frmWindowFind.frm --controls txtReplace --left 1500", {"Left            =   1500"}},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.args);
    const std::string before = ReadFile(form);
    Result diff = Run(s.args + " --diff");
    ASSERT_EQ(diff.status, 0) << diff.err;
    EXPECT_NE(diff.out.find("+++ b/"), std::string::npos);
    EXPECT_EQ(ReadFile(form), before);  // --diff writes nothing
    Result r = Run(s.args);
    ASSERT_EQ(r.status, 0) << r.err;
    auto changed = Changed(Lines(before), Lines(ReadFile(form)));
    std::vector<std::string> got;
    for (const auto& [line, text] : changed) got.push_back(Trimmed(text));
    EXPECT_EQ(got, s.changed);
  }
  EXPECT_EQ(ReadFile(dir_ / "frmWindowFind.frx"), frx);
}

TEST_F(ControlsCliTest, TabIndexInPositionOrderKeepsTheTabOrderAPermutation) {
  fs::path form = Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frm");
  const auto before = Lines(ReadFile(form));
  Result r = Run("tabindex frmWindowFind.frm");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto after = Lines(ReadFile(form));
  std::multiset<int> values;
  size_t tabLines = 0;
  for (const auto& [line, text] : Changed(before, after)) {
    std::string t = Trimmed(text);
    EXPECT_EQ(t.rfind("TabIndex", 0), 0u) << "line " << line + 1 << " is not a TabIndex line: " << t;
  }
  for (const auto& line : after) {
    std::string t = Trimmed(line);
    if (t.rfind("TabIndex", 0) != 0) continue;
    ++tabLines;
    values.insert(std::stoi(t.substr(t.find('=') + 1)));
  }
  // 31 controls with TabIndex 0 .. 30, one line each (VB writes 0 too).
  EXPECT_EQ(tabLines, 31u);
  for (int v = 0; v <= 30; ++v) EXPECT_EQ(values.count(v), 1u) << v;
  // The list order now is the TabIndex order.
  Result shown = Run("tabindex frmWindowFind.frm --show");
  auto rows = Lines(shown.out);
  for (size_t i = 1; i < rows.size(); ++i) {
    std::vector<std::string> cols;
    std::stringstream ss(rows[i]);
    for (std::string c; std::getline(ss, c, '\t');) cols.push_back(c);
    EXPECT_EQ(cols.at(3), std::to_string(i - 1)) << rows[i];
  }
}

TEST_F(ControlsCliTest, OnCorpusFormsOnlyTabIndexAndIndexLinesChange) {
  // Forms with frames, control arrays, menus, ActiveX controls without a tab
  // order (a data control, an up-down) and several code pages.
  struct Case {
    std::string form, encoding;
  };
  const Case cases[] = {
      {"dtinth__UCN-BMSE/BMSE/frmMain.frm", "CP932"},
      {"akinomyoga__vb6programs/src/shortcuts.frm", "CP932"},
      {"RizkyKhapidsyah__Sales-Transaction-Inventory-Control_v1.0__VB6/fsales.frm", "CP1252"},
      {"02bx__pdfstreamdumper/Form2.frm", "CP1252"},
      {"javiercrowsoft__cairo-vb6/CSReport/CSReportEditor/Codigo/fProperties.frm", "CP1252"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form);
    fs::path form = Copy(c.form);
    for (const std::string command : {"tabindex", "index"}) {
      const auto before = Lines(ReadFile(form));
      Result r = Run(command + " " + Quote(form.filename().string()) + " --encoding " + c.encoding);
      ASSERT_EQ(r.status, 0) << r.err;
      const std::string key = command == "tabindex" ? "TabIndex " : "Index ";
      for (const auto& [line, text] : Changed(before, Lines(ReadFile(form))))
        EXPECT_EQ(Trimmed(text).rfind(key, 0), 0u) << command << " changed line " << line + 1 << ": " << text;
    }
    fs::remove(form);
    fs::remove(fs::path(form).replace_extension(".frx"));
  }
}

TEST_F(ControlsCliTest, AProjectsFormIsNamedWithComponent) {
  fs::copy(CorpusDir() / "dtinth__UCN-BMSE/BMSE", dir_ / "BMSE", fs::copy_options::recursive);
  for (const auto& e : fs::recursive_directory_iterator(dir_ / "BMSE"))
    fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
  Result byFile = Run("tabindex BMSE/frmWindowFind.frm --show");
  Result byProject = Run("tabindex BMSE/BMSE.vbp --component frmWindowFind --show");
  ASSERT_EQ(byProject.status, 0) << byProject.err;
  EXPECT_EQ(byProject.out, byFile.out);
  Result missing = Run("tabindex BMSE/BMSE.vbp --show");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("--component is required"), std::string::npos) << missing.err;
  Result module = Run("tabindex BMSE/BMSE.vbp --component modMain --show");
  EXPECT_EQ(module.status, 1);
  EXPECT_NE(module.err.find("has no form designer"), std::string::npos) << module.err;
}

TEST_F(ControlsCliTest, ANewLineGoesInNameOrderWithTheFilesOwnLanguage) {
  fs::path form = Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frm");
  auto before = Lines(ReadFile(form));
  Result r = Run("layout frmWindowFind.frm --controls lblNum --backstyle 0");
  ASSERT_EQ(r.status, 0) << r.err;
  auto after = Lines(ReadFile(form));
  ASSERT_EQ(after.size(), before.size() + 1);
  size_t at = 0;
  while (at < before.size() && before[at] == after[at]) ++at;
  // After AutoSize, before Caption; the rest of the file follows unchanged.
  EXPECT_EQ(Trimmed(after[at]), tarno::CodePage::Cp932().Encode(tarno::vb::U("BackStyle       =   0  '透明")));
  EXPECT_EQ(Trimmed(after[at - 1]), "AutoSize        =   -1  'True");
  EXPECT_TRUE(std::equal(before.begin() + long(at), before.end(), after.begin() + long(at) + 1));
}

TEST_F(ControlsCliTest, StylesApplyChecksTheTypeAndWritesThePattern) {
  Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frm");
  {
    std::ofstream ini(dir_ / "sys" / "TarnoAddIn.ini", std::ios::binary);
    ini << "[CONTROL_NO]\r\nNO=1\r\n[CONTROL_NO1]\r\nPatrnName=wide\r\nFlg=1\r\nType=2\r\nAlignment=0\r\n"
           "BackStyle=1\r\nCaption=\r\nEnabled=0\r\nFont=Arial\r\nFontSize=9\r\nFontBold=False\r\n"
           "FontItalic=False\r\nFontStrikethru=False\r\nFontUnderline=False\r\nHeight=0\r\nIMEMode=0\r\n"
           "Left=0\r\nLocked=1\r\nMaxLength=0\r\nTag=\r\nTop=0\r\nWidth=2000\r\n";
  }
  Result list = Run("styles list --format json");
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.out.find("\"type\": \"CommandButton\""), std::string::npos) << list.out;
  const std::string before = ReadFile(dir_ / "frmWindowFind.frm");
  Result mismatch = Run("styles apply 1 frmWindowFind.frm --controls cmdClose,txtReplace");
  EXPECT_EQ(mismatch.status, 1);
  EXPECT_EQ(ReadFile(dir_ / "frmWindowFind.frm"), before);
  Result missing = Run("styles apply 2 frmWindowFind.frm --controls cmdClose");
  EXPECT_EQ(missing.status, 1);
  Result r = Run("styles apply 1 frmWindowFind.frm --controls cmdClose");
  ASSERT_EQ(r.status, 0) << r.err;
  auto after = Lines(ReadFile(dir_ / "frmWindowFind.frm"));
  auto old = Lines(before);
  // Width changed in place; a font group is added; Height 0 and the blank caption are left alone.
  ASSERT_EQ(after.size(), old.size() + 9);
  size_t width = 0;
  for (size_t i = 0; i < after.size(); ++i)
    if (Trimmed(after[i]) == "Width           =   2000") width = i;
  EXPECT_GT(width, 0u);
  EXPECT_NE(ReadFile(dir_ / "frmWindowFind.frm").find("Name            =   \"Arial\""), std::string::npos);
}

TEST_F(ControlsCliTest, BadInputIsRefusedNamingTheFileAndNothingIsWritten) {
  fs::path form = Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frm");
  const std::string before = ReadFile(form);
  struct Case {
    std::string args;
    std::string message;
  };
  const Case cases[] = {
      {"layout frmWindowFind.frm --controls NoSuch --top 1", "frmWindowFind.frm: the form has no control NoSuch"},
      {"layout frmWindowFind.frm --controls lstGrid --top 1", "lstGrid is a control array"},
      {"layout frmWindowFind.frm --controls cmdClose --top -5", "--top -5: expected digits only"},
      {"layout frmWindowFind.frm --controls cmdClose", "プロパティの値が入力されていませんので設定できません"},
      {"tabindex frmWindowFind.frm --order tmrNone", "the form has no control tmrNone"},
      {"index frmWindowFind.frm --order cmdClose", "cmdClose is not in the Index list"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    Result r = Run(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadFile(form), before);
}

}  // namespace
