// The control tools and the copy on files as VB would have them: fonts by the
// file's own code page, read-only files left alone, controls the load left
// out, and values VB refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "addin/host_api.h"
#include "host/controls.h"
#include "platform/code_page.h"
#include "platform/vb_text.h"
#include "support/tarno_run.h"

namespace {

namespace fs = std::filesystem;

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

// The lines of `after` that `before` lacks, in order (`before` must be a subsequence).
std::vector<std::string> Inserted(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  std::vector<std::string> out;
  size_t i = 0;
  for (const auto& line : after) {
    if (i < before.size() && before[i] == line)
      ++i;
    else
      out.push_back(line);
  }
  EXPECT_EQ(i, before.size()) << "lines of the file were lost or changed";
  return out;
}

class VbFidelityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(TARNO_CORPUS_DIR) / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus";
    dir_ = fs::temp_directory_path() / ("tarno_fidelity_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sys");
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  fs::path Copy(const std::string& corpus_file, const std::string& as = "") {
    fs::path from = fs::path(TARNO_CORPUS_DIR) / corpus_file;
    fs::path to = dir_ / (as.empty() ? from.filename().string() : as);
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    fs::permissions(to, fs::perms::owner_write, fs::perm_options::add);
    return to;
  }
  void Patterns(const std::string& font) {
    std::ofstream ini(dir_ / "sys" / "TarnoAddIn.ini", std::ios::binary);
    ini << "[CONTROL_NO]\r\nNO=1\r\n[CONTROL_NO1]\r\nPatrnName=p\r\nFlg=1\r\nType=2\r\nAlignment=0\r\n"
           "BackStyle=1\r\nCaption=\r\nEnabled=0\r\n"
        << tarno::CodePage::Cp932().Encode(tarno::vb::U(font))  // the settings file's code page
        << "FontSize=9\r\nFontBold=False\r\nFontItalic=False\r\nFontStrikethru=False\r\nFontUnderline=False\r\n"
           "Height=0\r\nIMEMode=0\r\nLeft=0\r\nLocked=1\r\nMaxLength=0\r\nTag=\r\nTop=0\r\nWidth=0\r\n";
  }
  tarno::test::TarnoRun Run(const std::string& args) {
    return tarno::test::RunTarno(args, dir_, "TARNO_SYSTEM_DIR=" + tarno::test::ShellQuote((dir_ / "sys").string()));
  }
  fs::path dir_;
};

// A Western form whose controls set no font: they have the form's, which is
// the CP1252 default; whatever a tool writes is in that code page.
TEST_F(VbFidelityTest, ACp1252FormWithoutFontGroupsKeepsItsWesternFont) {
  struct Case {
    const char* args;
    const char* pattern_font;  // the pattern's Font line ("" for the pattern's default font)
    const char* name;          // the font name written; nullptr: refused
    const char* weight;
  };
  const Case cases[] = {
      {"layout frmProcessScript.frm --controls cmdHelp --bold", "", "MS Sans Serif", "700"},
      {"layout frmProcessScript.frm --controls cmdHelp,cmdRun --font Arial", "", "Arial", "400"},
      {"styles apply 1 frmProcessScript.frm --controls cmdHelp", "Font=Arial\r\n", "Arial", "400"},
      // A Japanese font: CP1252 cannot hold its name.
      {"styles apply 1 frmProcessScript.frm --controls cmdHelp", "Font=ＭＳ Ｐゴシック\r\n", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    fs::path form = Copy("02bx__pdfstreamdumper/frmProcessScript.frm");
    Patterns(c.pattern_font);
    const std::string before = ReadFile(form);
    ASSERT_EQ(before.find("BeginProperty Font"), std::string::npos);
    auto r = Run(std::string(c.args) + " --encoding CP1252");
    if (!c.name) {
      EXPECT_EQ(r.status, 1);
      EXPECT_NE(r.err.find(tarno::vb::ToUtf8(tarno::vb::U("ＭＳ Ｐゴシック"))), std::string::npos) << r.err;
      EXPECT_NE(r.err.find("CP1252"), std::string::npos) << r.err;
      EXPECT_EQ(ReadFile(form), before);
      continue;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string after = ReadFile(form);
    auto added = Inserted(Lines(before), Lines(after));
    ASSERT_FALSE(added.empty());
    EXPECT_EQ(added.size() % 9, 0u);  // whole font groups only
    EXPECT_NE(after.find(std::string("Name            =   \"") + c.name + "\""), std::string::npos) << after;
    EXPECT_NE(after.find(std::string("Weight          =   ") + c.weight), std::string::npos);
    EXPECT_EQ(after.find("Charset         =   128"), std::string::npos);
    EXPECT_NE(after.find("Charset         =   0"), std::string::npos);
    for (const auto& line : added) EXPECT_EQ(line.find('?'), std::string::npos) << line;
  }
}

// VB refuses to save over a read-only file: so does every command that writes one.
TEST_F(VbFidelityTest, AReadOnlyFileIsNeverReplaced) {
  Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frm");
  Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frx");
  Patterns("Font=Arial\r\n");
  fs::create_directories(dir_ / "tgt");
  std::ofstream(dir_ / "tgt/T.vbp", std::ios::binary) << "Type=Exe\r\nName=\"T\"\r\n";
  std::ofstream(dir_ / "S.vbp", std::ios::binary) << "Type=Exe\r\nForm=frmWindowFind.frm\r\nName=\"S\"\r\n";
  struct Case {
    const char* args;
    const char* file;  // the read-only file
  };
  const Case cases[] = {
      {"layout frmWindowFind.frm --controls cmdClose --top 120", "frmWindowFind.frm"},
      {"layout S.vbp --component frmWindowFind --controls cmdClose --bold", "frmWindowFind.frm"},
      {"tabindex frmWindowFind.frm", "frmWindowFind.frm"},
      {"index frmWindowFind.frm --order 'lstGrid(1)'", "frmWindowFind.frm"},
      {"styles apply 1 frmWindowFind.frm --controls cmdClose", "frmWindowFind.frm"},
      {"copy S.vbp --component frmWindowFind --to tgt/T.vbp --name frmCopy --controls --code", "tgt/T.vbp"},
      {"copy S.vbp --component frmWindowFind --to S.vbp --name frmCopy --controls --code", "S.vbp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const fs::path file = dir_ / c.file;
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::vector<std::string> names_before;
    for (const auto& e : fs::recursive_directory_iterator(dir_)) names_before.push_back(e.path().string());
    const std::string before = ReadFile(file);
    auto r = Run(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(fs::path(c.file).filename().string()), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("read-only"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(file), before);
    std::vector<std::string> names_after;
    for (const auto& e : fs::recursive_directory_iterator(dir_)) names_after.push_back(e.path().string());
    EXPECT_EQ(names_after, names_before);  // no new file, no temporary file left
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  }
}

// A control the load leaves out (an Index VB cannot hold) is reported by the
// control tools, and renumbering refuses rather than give its number twice.
TEST_F(VbFidelityTest, AControlLeftOutAtTheLoadIsReportedAndStopsRenumbering) {
  fs::path form = Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frm");
  Copy("dtinth__UCN-BMSE/BMSE/frmWindowFind.frx");
  std::string text = ReadFile(form);
  const std::string index_line = "Index           =   1\r\n";
  size_t at = text.find(index_line);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, index_line.size(), "Index           =   40000\r\n");
  std::ofstream(form, std::ios::binary | std::ios::trunc) << text;
  struct Case {
    const char* args;
    int status;
  };
  const Case cases[] = {
      {"tabindex frmWindowFind.frm", 1},
      {"index frmWindowFind.frm", 1},
      {"tabindex frmWindowFind.frm --show", 0},
      {"layout frmWindowFind.frm --controls cmdClose --top 120 --diff", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    auto r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find("warning: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Index is not 0 to 32767"), std::string::npos) << r.err;
    if (c.status == 1) {
      EXPECT_NE(r.err.find("was left out"), std::string::npos) << r.err;
    }
    EXPECT_EQ(ReadFile(form), text);
  }
}

// Values VB refuses are refused by the host, so a tool skips them as it skips
// any refused write; the values VB takes still go through.
TEST(VbValuesTest, TheHostRefusesWhatVbRefuses) {
  struct Case {
    const char* cls;
    const char16_t* property;
    tarno::ide::Variant value;
    bool taken;
  };
  const Case cases[] = {
      {"TextBox", u"Height", -1.0, false},
      {"TextBox", u"Width", int32_t(-5), false},
      {"TextBox", u"Height", 0.0, true},
      {"TextBox", u"Left", -120.0, true},
      {"TextBox", u"Left", 1234567891.0, false},
      {"TextBox", u"Top", 16777216.0, true},
      {"TextBox", u"Alignment", int16_t(3), false},
      {"TextBox", u"Alignment", int16_t(2), true},
      {"CheckBox", u"Alignment", int16_t(2), false},
      {"Label", u"BackStyle", int16_t(2), false},
      {"Label", u"BackStyle", int16_t(0), true},
      {"TextBox", u"IMEMode", int16_t(11), false},
      {"TextBox", u"IMEMode", int16_t(10), true},
      {"TextBox", u"MaxLength", int32_t(-1), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.cls) + "." + tarno::vb::ToUtf8(c.property));
    auto control = tarno::host::MemControl::Create(tarno::vb::U(c.cls), u"X1");
    const auto was = *control->Get(c.property);
    bool taken = true;
    try {
      control->Set(c.property, c.value);
    } catch (const tarno::ide::HostError&) {
      taken = false;
    }
    EXPECT_EQ(taken, c.taken);
    if (!taken) {
      EXPECT_EQ(*control->Get(c.property), was);
    }
  }
}

}  // namespace
