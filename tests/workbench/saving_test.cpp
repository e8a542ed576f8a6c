// What reaches the disk from the workbench: the add-in's auto-save on its
// timer, Save As to another folder, and a group of projects saved together.
#include <QTest>
#include <QTreeWidget>

#include "host/files/project_loader.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

// The file's lines (CR LF or LF ends).
std::vector<std::string> LinesOf(const std::string& bytes) {
  std::vector<std::string> out;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
  }
  return out;
}

bool IsComponentLine(const std::string& line) {
  for (const char* key : {"Form=", "Module=", "Class=", "UserControl=", "PropertyPage=", "Designer=", "ResFile32="})
    if (line.starts_with(key)) return true;
  return false;
}

// The explorer's top-level and component labels.
QStringList ExplorerLabels(QTreeWidget* tree) {
  QStringList out;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->text(0);
  return out;
}

class AutoSaveTest : public WorkbenchTest {
 protected:
  void SetUp() override { Prepare("1", "[Project]\r\nSaved=1\r\nInterval=1\r\nMsgFlg=0\r\n"); }
};

TEST_F(AutoSaveTest, TheAddInSavesOnItsTimerWhileTheWorkbenchIsOpen) {
  const std::string before = ReadFile(File("modMain.bas"));
  const std::string project = ReadFile(Project());
  CodeEditor* e = window_->ShowCode(u"modMain");
  ASSERT_NE(e, nullptr);
  QTest::keyClicks(e, "' saved by the timer");
  ASSERT_TRUE(e->component()->dirty());
  // One second short of the interval nothing is written.
  ui::AdvanceTimers(59'000);
  EXPECT_EQ(ReadFile(File("modMain.bas")), before);
  ui::AdvanceTimers(1'000);
  EXPECT_EQ(ReadFile(File("modMain.bas")), Replaced(before, "\nOption Explicit", "\n' saved by the timerOption Explicit"));
  EXPECT_FALSE(e->component()->dirty());
  EXPECT_EQ(ReadFile(Project()), project);
  EXPECT_TRUE(boxes_->seen.empty());
  // Nothing is left to save: closing asks nothing.
  int asked = 0;
  window_->ask = [&](const QString&) { return ++asked, int(QMessageBox::Cancel); };
  EXPECT_TRUE(window_->close());
  EXPECT_EQ(asked, 0);
}

TEST_F(WorkbenchTest, SaveAsWritesOnlyTheProjectFileWithPathsThatReachTheComponents) {
  const fs::path target = root_ / "elsewhere" / "copy" / "Copy.vbp";
  fs::create_directories(target.parent_path());
  const std::string original = ReadFile(Project());
  const std::string module = ReadFile(File("modMain.bas"));
  QTest::keyClicks(window_->ShowCode(u"modMain"), "' edited ");
  ASSERT_TRUE(window_->SaveAs(target));
  EXPECT_TRUE(warnings_.empty());

  // The old project file stays; the component files are written where they are.
  EXPECT_EQ(ReadFile(Project()), original);
  EXPECT_EQ(ReadFile(File("modMain.bas")), Replaced(module, "\nOption Explicit", "\n' edited Option Explicit"));
  std::vector<fs::path> written;
  for (const auto& f : fs::directory_iterator(target.parent_path())) written.push_back(f.path().filename());
  EXPECT_EQ(written, std::vector<fs::path>{"Copy.vbp"});
  // Component lines lead from the new folder to the files; every other line is as it was.
  const auto was = LinesOf(original), now = LinesOf(ReadFile(target));
  ASSERT_EQ(now.size(), was.size());
  for (size_t i = 0; i < was.size(); ++i) {
    if (!IsComponentLine(was[i])) {
      EXPECT_EQ(now[i], was[i]);
      continue;
    }
    const size_t cut = was[i].find_last_of("; =");
    EXPECT_EQ(now[i], was[i].substr(0, cut + 1) + "..\\..\\project\\" + was[i].substr(cut + 1));
  }
  // The new project file opens with every component.
  auto reopened = host::files::LoadPath(target, CodePage::Cp932());
  EXPECT_TRUE(reopened.warnings.empty());
  ASSERT_EQ(reopened.projects.size(), 1u);
  EXPECT_EQ(reopened.projects[0]->components().size(), window_->workspace().projects[0]->components().size());
  EXPECT_EQ(reopened.projects[0]->Component(u"modMain")->code()->Lines(1, 1), u"' edited Option Explicit");
  EXPECT_EQ(window_->workspace().path, target);
  EXPECT_TRUE(window_->windowTitle().endsWith(QStringLiteral("Copy.vbp")));
}

class GroupTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    project_dir_ = "EduardoVB__SSTabEx";
    project_ = "Group1.vbg";
    code_page_ = CodePage::Named("CP1252");
    Prepare("1");
  }
};

TEST_F(GroupTest, AGroupShowsBothProjectsAndSavesEach) {
  const std::string group = ReadFile(Project());
  QTreeWidget* tree = window_->explorer();
  EXPECT_EQ(ExplorerLabels(tree), (QStringList{"TabExCtl (TabExCtl.vbp)", "SSTabExTest (Test.vbp)"}));
  // Both projects hold a class cDlg: the explorer opens the one of its project.
  auto items = tree->findItems(QStringLiteral("cDlg (cDlg.cls)"), Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(items.size(), 2);
  const fs::path files[] = {root_ / "project" / "control-source" / "misc" / "cDlg.cls",
                            root_ / "project" / "test project" / "cDlg.cls"};
  std::string before[2], untouched = ReadFile(root_ / "project" / "test project" / "frmTest.frm");
  for (int i = 0; i < 2; ++i) {
    before[i] = ReadFile(files[i]);
    Q_EMIT tree->itemDoubleClicked(items[i], 0);
    ASSERT_EQ(window_->CodeEditors().size(), static_cast<size_t>(i + 1));
    CodeEditor* e = nullptr;
    for (CodeEditor* open : window_->CodeEditors())
      if (open->component()->project() == window_->workspace().projects[static_cast<size_t>(i)]) e = open;
    ASSERT_NE(e, nullptr) << i;
    QTextCursor c(e->document());
    e->setTextCursor(c);
    QTest::keyClicks(e, i == 0 ? "' first " : "' second ");
  }
  EXPECT_EQ(tree->findItems(QStringLiteral("cDlg (cDlg.cls) *"), Qt::MatchExactly | Qt::MatchRecursive).size(), 2);
  ASSERT_TRUE(window_->Save());
  const char* typed[] = {"' first ", "' second "};
  for (int i = 0; i < 2; ++i) {
    const std::string now = ReadFile(files[i]);
    const size_t at = now.find(typed[i]);
    ASSERT_NE(at, std::string::npos) << files[i];
    EXPECT_EQ(now.substr(0, at) + now.substr(at + std::strlen(typed[i])), before[i]) << files[i];
  }
  EXPECT_EQ(ReadFile(root_ / "project" / "test project" / "frmTest.frm"), untouched);
  EXPECT_EQ(ReadFile(Project()), group);
  EXPECT_TRUE(tree->findItems(QStringLiteral("cDlg (cDlg.cls) *"), Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
}

TEST_F(GroupTest, SaveAsOfAGroupsProjectRenamesItInTheGroupFile) {
  const std::string group = ReadFile(Project());
  QTreeWidget* tree = window_->explorer();
  // The project chosen in the explorer is the one saved under the new name.
  tree->setCurrentItem(tree->findItems(QStringLiteral("frmTest (frmTest.frm)"), Qt::MatchExactly | Qt::MatchRecursive)[0]);
  const fs::path target = root_ / "project" / "moved" / "Test2.vbp";
  fs::create_directories(target.parent_path());
  ASSERT_TRUE(window_->SaveAs(target));
  EXPECT_TRUE(warnings_.empty());
  EXPECT_EQ(ReadFile(Project()),
            Replaced(group, "StartupProject=test project\\Test.vbp", "StartupProject=moved\\Test2.vbp"));
  EXPECT_EQ(ExplorerLabels(tree), (QStringList{"TabExCtl (TabExCtl.vbp)", "SSTabExTest (Test2.vbp)"}));
  // Its lines lead to the files where they are, also one missing since the load.
  const std::string moved = ReadFile(target);
  EXPECT_NE(moved.find("\r\nForm=..\\test project\\frmTest.frm\r\n"), std::string::npos) << moved;
  EXPECT_NE(moved.find("\r\nResFile32=\"..\\test project\\VisualStyleManifest.res\"\r\n"), std::string::npos);
  // The group opens again with the project from its new file and every component.
  auto reopened = host::files::LoadPath(Project(), CodePage::Named("CP1252"));
  ASSERT_EQ(reopened.warnings.size(), 1u);
  EXPECT_NE(reopened.warnings[0].message.find("\"..\\test project\\VisualStyleManifest.res\" is missing"),
            std::string::npos) << reopened.warnings[0].message;
  ASSERT_EQ(reopened.projects.size(), 2u);
  EXPECT_EQ(host::files::ToPath(reopened.projects[1]->fileName()), target);
  EXPECT_EQ(reopened.projects[1]->components().size(), window_->workspace().projects[1]->components().size());
}

}  // namespace
}  // namespace tarno::workbench::test
