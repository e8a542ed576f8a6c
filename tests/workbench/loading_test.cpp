#include <QComboBox>
#include <QDialog>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "workbench/code_page_guess.h"
#include "workbench/load_warnings_pane.h"
#include "workbench/open_project_dialog.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

fs::path Corpus(const char* rel) { return fs::path(TARNO_CORPUS_DIR) / rel; }

TEST(CodePageGuessTest, GuessesTheCodePageOfRealAndWrittenText) {
  struct Case {
    const char* what;
    std::vector<std::string> files;
    std::string expected;
  };
  auto in = [](const char* cp, const char16_t* text) { return CodePage::Named(cp).Encode(text); };
  const std::vector<Case> cases = {
      {"Japanese", {in("CP932", u"' 名前を入力してください\r\nMsgBox \"保存しました\"\r\n")}, "CP932"},
      {"Japanese, kanji and half-width kana",
       {in("CP932", u"Caption = \"ﾌｧｲﾙ名\"\r\n' 漢字変換\r\n")}, "CP932"},
      {"French", {in("CP1252", u"' Les caractères spéciaux\r\n")}, "CP1252"},
      {"Spanish, a word ending in an accent", {in("CP1252", u"MsgBox \"Año inválido, café \"\r\n")}, "CP1252"},
      {"Simplified Chinese", {in("CP936", u"' 请输入用户名和密码\r\n")}, "CP936"},
      {"Korean", {in("CP949", u"' 사용자 이름을 입력하세요\r\n")}, "CP949"},
      {"Traditional Chinese", {in("CP950", u"' 請輸入使用者名稱與密碼\r\n")}, "CP950"},
      {"UTF-8 Spanish", {std::string("' Configuraci\xC3\xB3n del servidor\n")}, "UTF-8"},
      {"ASCII only", {std::string("Option Explicit\r\n")}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(GuessCodePage(c.files).code_page, c.expected) << c.what;

  // Whole corpus projects, with the code pages their makers used.
  EXPECT_EQ(GuessProjectCodePage(Corpus("dtinth__UCN-BMSE/BMSE/BMSE.vbp")).code_page, "CP932");
  EXPECT_EQ(GuessProjectCodePage(
                Corpus("tannerhelland__PhotoDemon/Support/Project-wide search and replace/VBP_SearchAndReplace.vbp"))
                .code_page,
            "CP1252");
  CodePageGuess server = GuessProjectCodePage(Corpus("ao-org__argentum-online-server/Server.VBP"));
  EXPECT_EQ(server.code_page, "UTF-8");
  EXPECT_TRUE(server.utf8);
  EXPECT_EQ(GuessProjectCodePage(Corpus("no/such/project.vbp")).code_page, "");
}

TEST_F(WorkbenchTest, MissingComponentFilesOpenTheWarningsPaneNamingEachFile) {
  LoadWarningsPane* pane = window_->warningsPane();
  EXPECT_TRUE(pane->isHidden());  // the project as it stands loads cleanly
  fs::remove(File("modMain.bas"));
  fs::remove(File("frmWindowAbout.frm"));
  ASSERT_TRUE(window_->OpenPath(Project()));
  EXPECT_FALSE(pane->isHidden());
  ASSERT_EQ(pane->list()->topLevelItemCount(), 2);
  QStringList rows;
  for (int i = 0; i < 2; ++i) {
    QTreeWidgetItem* row = pane->list()->topLevelItem(i);
    EXPECT_EQ(row->text(0), QStringLiteral("BMSE.vbp"));
    EXPECT_GT(row->text(1).toInt(), 0);
    rows << row->text(2);
  }
  EXPECT_TRUE(rows[0].contains(QStringLiteral("frmWindowAbout.frm")) || rows[1].contains(QStringLiteral("frmWindowAbout.frm")));
  EXPECT_TRUE(rows.join(u' ').contains(QStringLiteral("modMain.bas")));
  EXPECT_TRUE(rows[0].endsWith(QStringLiteral("is missing; left out")));
  // Closing takes the warnings away with the projects.
  ASSERT_TRUE(window_->CloseProjects());
  EXPECT_TRUE(pane->isHidden());
}

class OpenInCodePageTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settings_.isValid());
    settings_file_ = settings_.filePath(QStringLiteral("workbench.ini"));
    project_dir_ = "tannerhelland__PhotoDemon/Support/Project-wide search and replace";
    project_ = "VBP_SearchAndReplace.vbp";
    Prepare("");
  }
  QTemporaryDir settings_;
};

TEST_F(OpenInCodePageTest, OpenWithTheGuessedWesternCodePageShowsTheTextAndIsRemembered) {
  // Opened in the workbench's CP932, the ® is a half-width katakana.
  const char16_t* western = u"exceeds what Windows\u00AE allows";
  auto hasWestern = [&] {
    CodeEditor* e = window_->ShowCode(u"pdOpenSaveDialog");
    return e && e->toPlainText().contains(QString::fromStdU16String(western));
  };
  EXPECT_FALSE(hasWestern());

  QString guess;
  std::string offered;
  window_->exec_dialog = [&](QDialog& d) {
    auto& open = dynamic_cast<OpenProjectDialog&>(d);
    open.SetPath(QString::fromStdString(Project().string()));
    guess = open.guessText();
    offered = open.codePage();  // where the project was opened last
    open.SetCodePage("CP1252");
    return int(QDialog::Accepted);
  };
  window_->OpenProject();
  EXPECT_EQ(guess, QStringLiteral("Guess: CP1252"));
  EXPECT_EQ(offered, "CP932");
  EXPECT_EQ(window_->codePage().name(), "CP1252");
  EXPECT_TRUE(hasWestern());
  EXPECT_TRUE(warnings_.empty());

  // The choice is remembered for this project: a plain open (the recent
  // list's) reads it in CP1252 again, and the dialog starts at it even
  // when the user picked another page than the guess.
  ASSERT_TRUE(window_->OpenPath(Project()));
  EXPECT_TRUE(hasWestern());
  ASSERT_TRUE(window_->OpenPath(Project(), CodePage::Named("CP1250")));
  window_->exec_dialog = [&](QDialog& d) {
    auto& open = dynamic_cast<OpenProjectDialog&>(d);
    open.SetPath(QString::fromStdString(Project().string()));
    offered = open.codePage();
    return int(QDialog::Rejected);
  };
  window_->OpenProject();
  EXPECT_EQ(offered, "CP1250");
}

TEST_F(WorkbenchTest, OpeningAPathThatDoesNotExistIsAMessageAndKeepsTheProject) {
  window_->exec_dialog = [&](QDialog& d) {
    dynamic_cast<OpenProjectDialog&>(d).SetPath(QString::fromStdString((root_ / "gone" / "Nothing.vbp").string()));
    return int(QDialog::Accepted);
  };
  window_->OpenProject();
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(warnings_[0].contains(QStringLiteral("Nothing.vbp")));
  EXPECT_TRUE(warnings_[0].contains(QStringLiteral("does not exist")));
  ASSERT_EQ(window_->workspace().projects.size(), 1u);
  EXPECT_EQ(window_->workspace().path, Project());
}

}  // namespace
}  // namespace tarno::workbench::test
