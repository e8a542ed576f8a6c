// tarno copy, run as a user runs it on copies of corpus projects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "host/controls.h"
#include "host/files/project_loader.h"
#include "host/files/text_lines.h"
#include "platform/vb_text.h"

namespace tarno::project {
namespace {

namespace fs = std::filesystem;
namespace files = host::files;

// The real projects beside the checkout, read-only: the tests copy them first.
fs::path Corpus() { return fs::path(TARNO_CORPUS_DIR); }

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Every file under the folder and its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) out[fs::relative(e.path(), dir).string()] = files::ReadFileBytes(e.path());
  return out;
}

class CopyCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(Corpus() / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << Corpus();
    dir_ = fs::temp_directory_path() / ("tarno_copy_cli_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::copy(Corpus() / "dtinth__UCN-BMSE/BMSE", dir_ / "src", fs::copy_options::recursive);
    fs::copy(Corpus() / "akinomyoga__vb6programs/src/Tetris", dir_ / "tgt", fs::copy_options::recursive);
    fs::copy(Corpus() / "RizkyKhapidsyah__Sales-Transaction-Inventory-Control_v1.0__VB6", dir_ / "ado",
             fs::copy_options::recursive);
    for (const auto& e : fs::recursive_directory_iterator(dir_))
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  struct Result {
    int status = -1;
    std::string out, err;
  };
  Result Run(const std::string& args) {
    fs::path out = dir_ / "stdout.txt", err = dir_ / "stderr.txt";
    std::string cmd = "cd " + Quote(dir_.string()) + " && " + Quote(TARNO_EXE) + " copy " + args + " >" +
                      Quote(out.string()) + " 2>" + Quote(err.string());
    int rc = std::system(cmd.c_str());
    Result r{WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, files::ReadFileBytes(out), files::ReadFileBytes(err)};
    fs::remove(out);
    fs::remove(err);
    return r;
  }
  // The copy in the reloaded target equals the source component: controls,
  // their places, every property value (binary references at the same offset
  // in the copy's own file, which holds the same bytes there) and the code.
  void ExpectEqualCopy(const fs::path& source_vbp, const char* component, const fs::path& target_vbp,
                       const char* copy_name, const CodePage& cp) {
    auto src = files::LoadPath(source_vbp, cp);
    auto tgt = files::LoadPath(target_vbp, cp);
    auto a = src.projects[0]->Component(vb::U(component));
    auto b = tgt.projects[0]->Component(vb::U(copy_name));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b->code()->text().CodeText(), a->code()->text().CodeText());
    const std::string src_frx = vb::ToUtf8(a->name()) + ".frx", new_frx = std::string(copy_name) + ".frx";
    const std::string src_bytes = files::ReadFileBytes(source_vbp.parent_path() / src_frx);
    const std::string new_bytes = files::ReadFileBytes(target_vbp.parent_path() / new_frx);
    EXPECT_TRUE(new_bytes.starts_with(src_bytes));
    std::vector<std::shared_ptr<host::MemControl>> xs{a->designer()->form()}, ys{b->designer()->form()};
    xs.insert(xs.end(), a->designer()->controls().begin(), a->designer()->controls().end());
    ys.insert(ys.end(), b->designer()->controls().begin(), b->designer()->controls().end());
    ASSERT_EQ(ys.size(), xs.size());
    int binary = 0;
    for (size_t i = 0; i < xs.size(); ++i) {
      const auto& x = *xs[i];
      const auto& y = *ys[i];
      if (i > 0) {
        EXPECT_EQ(y.name(), x.name());
        EXPECT_EQ(y.index(), x.index());
        EXPECT_EQ(y.parent() ? y.parent()->name() : u"", x.parent() ? x.parent()->name() : u"");
      }
      for (int k = 0; k < x.PropertyCount(); ++k) {
        const auto& def = x.PropertyDef(k);
        if (i == 0 && def.name == u"Name") continue;
        // A tab index the file does not set is the model's 0 in the source and
        // a place of its own in the copy, whose tab order the designer keeps.
        if (def.name == u"TabIndex" && !x.IsLoaded(u"TabIndex")) continue;
        // Two controls the source model gives one tab index (one of them not
        // set by the file) cannot both keep it in the copy.
        if (def.name == u"TabIndex" &&
            std::count_if(xs.begin() + 1, xs.end(), [&](const auto& o) { return o->Get(u"TabIndex") == x.Get(u"TabIndex"); }) > 1)
          continue;
        int ky = y.PropertyPosition(def.name);
        ASSERT_GE(ky, 0) << vb::ToUtf8(x.name()) << "." << vb::ToUtf8(def.name);
        ide::Variant vx = x.ValueAt(k), vy = y.ValueAt(ky);
        if (auto* s = std::get_if<std::u16string>(&vx);
            s && (def.type == host::PropType::Picture || def.type == host::PropType::Group)) {
          binary += def.type == host::PropType::Picture;
          vx = vb::Replace(*s, vb::U(src_frx), vb::U(new_frx));
        }
        EXPECT_EQ(vy, vx) << vb::ToUtf8(x.name()) << "." << vb::ToUtf8(def.name);
      }
      if (x.GetFont()) {
        EXPECT_EQ(y.GetFont()->values(), x.GetFont()->values()) << vb::ToUtf8(x.name());
      }
    }
    EXPECT_GT(binary, 0);  // the form really carries binary values
  }
  fs::path dir_;
};

TEST_F(CopyCliTest, ACorpusFormCopiedWithControlsAndCodeLoadsBackEqualAndTheSourceIsNotWritten) {
  auto source_before = Snapshot(dir_ / "src");
  auto target_before = Snapshot(dir_ / "tgt");
  Result r = Run("src/BMSE.vbp --component frmWindowFind --to tgt/tetris1.vbp --name frmFind2 --controls --code");
  ASSERT_EQ(r.status, 0) << r.err;
  // The source project's references and libraries the target lacked are added and listed.
  EXPECT_EQ(r.out,
            "wrote tgt/frmFind2.frm\nwrote tgt/frmFind2.frx\nwrote tgt/tetris1.vbp\n"
            "added Reference=*\\G{00025E01-0000-0000-C000-000000000046}#5.0#0#C:\\Program Files\\Common Files\\"
            "Microsoft Shared\\DAO\\dao360.dll#Microsoft DAO 3.6 Object Library\n"
            "added Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT3N.OCX\n"
            "added Object={F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0; ComDlg32.OCX\n");
  EXPECT_EQ(Snapshot(dir_ / "src"), source_before);
  auto target_after = Snapshot(dir_ / "tgt");
  EXPECT_EQ(target_after.size(), target_before.size() + 2);
  EXPECT_EQ(target_after["tetris2.frm"], target_before["tetris2.frm"]);
  EXPECT_NE(target_after["tetris1.vbp"].find("Form=tetris2.frm\r\nForm=frmFind2.frm\r\n"), std::string::npos);
  ExpectEqualCopy(dir_ / "src/BMSE.vbp", "frmWindowFind", dir_ / "tgt/tetris1.vbp", "frmFind2", CodePage::Cp932());
}

TEST_F(CopyCliTest, AFormWithActiveXControlsBringsItsLibrariesIntoTheTargetProject) {
  Result r = Run("ado/jawad.vbp --component fsales --to tgt/tetris1.vbp --name frmSales2 --controls --code "
                 "--encoding CP1252");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string vbp = files::ReadFileBytes(dir_ / "tgt/tetris1.vbp");
  EXPECT_NE(vbp.find("#Microsoft Data Environment Instance 1.0\r\nObject={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; "
                     "mscomctl.ocx\r\nObject={67397AA1-7FB1-11D0-B148-00A0C922E820}#6.0#0; MSADODC.OCX\r\n"
                     "Object={CDE57A40-8B86-11D0-B3C6-00A0C90AEA82}#1.0#0; MSDATGRD.OCX\r\n"),
            std::string::npos)
      << vbp;
  EXPECT_EQ(vbp.find("MSADODC.OCX"), vbp.rfind("MSADODC.OCX"));  // once
  std::string frm = files::ReadFileBytes(dir_ / "tgt/frmSales2.frm");
  EXPECT_TRUE(frm.starts_with("VERSION 5.00\r\nObject = \"{67397AA1-7FB1-11D0-B148-00A0C922E820}#6.0#0\"; "
                              "\"MSADODC.OCX\"\r\nObject = \"{CDE57A40-8B86-11D0-B3C6-00A0C90AEA82}#1.0#0\"; "
                              "\"MSDATGRD.OCX\"\r\nBegin VB.Form frmSales2 \r\n"))
      << frm;
  ExpectEqualCopy(dir_ / "ado/jawad.vbp", "fsales", dir_ / "tgt/tetris1.vbp", "frmSales2", CodePage::Named("CP1252"));
}

TEST_F(CopyCliTest, RefusalsExitOneWithTheWindowsMessagesAndWriteNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"--component frmNone --name frmX", "モジュールを選択してください"},
      {"--component frmWindowFind --name ' '", "オブジェクト名を入力してください"},
      {"--component frmWindowFind --name abcdefghijklmnopqrstu", "オブジェクト名が長すぎます"},
      {"--component frmWindowFind --name 1E3", "オブジェクト名が不正です"},
      {"--component frmWindowFind --name 'a b'", "オブジェクト名にスペースは使用できません"},
      {"--component frmWindowFind --name a-b", "オブジェクト名に使用できない記号が含まれています"},
      {"--component frmWindowFind --name 1ab", "オブジェクト名が不正です"},
      {"--component frmWindowFind --name Form2", "入力されたオブジェクト名は既に存在しています"},
      {"--component modMain --name modX --controls", "--controls"},
  };
  auto before = Snapshot(dir_);
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(args);
    Result r = Run(std::string("src/BMSE.vbp --to tgt/tetris1.vbp ") + args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Snapshot(dir_), before);
}

TEST_F(CopyCliTest, DiffPrintsTheNewFileAndTheProjectLineAndWritesNothing) {
  auto before = Snapshot(dir_);
  Result r = Run("src/BMSE.vbp --component frmWindowFind --to tgt/tetris1.vbp --name frmFind2 --controls --diff");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("+++ b/tgt/frmFind2.frm\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("+Begin VB.Form frmFind2 \n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Binary file b/tgt/frmFind2.frx (181 bytes) would be written\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("+Form=frmFind2.frm\n"), std::string::npos) << r.out;
  EXPECT_EQ(Snapshot(dir_), before);
}

}  // namespace
}  // namespace tarno::project
