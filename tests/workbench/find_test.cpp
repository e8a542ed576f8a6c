#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>
#include <set>

#include "workbench/find_pattern.h"
#include "workbench/find_replace.h"
#include "workbench/results_pane.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

TEST(FindPatternTest, TextAndVbPatternsMatchAsFindDoes) {
  struct Case {
    const char* what;
    bool pattern, wholeWord, matchCase;
    const char* line;
    const char* found;  // nullptr: no match
  };
  const Case cases[] = {
      {"dim", false, false, false, "    Dim i As Long", "Dim"},
      {"dim", false, false, true, "    Dim i As Long", nullptr},
      {"i", false, true, false, "    Dim i As Long", "i"},
      {"Lng", false, true, false, "lngLeft = lngRight", nullptr},
      {"a.b", false, false, false, "axb a.b", "a.b"},  // plain text: "." is itself
      {"QuickSort(j ? 1", true, false, false, "Call QuickSort(j + 1, r)", "QuickSort(j + 1"},
      {"x#", true, false, false, "xa x7", "x7"},
      {"Dim * As", true, false, false, "Dim a As Long, b As String", "Dim a As"},  // shortest run
      {"[a-c]x", true, false, true, "Ax dx cx", "cx"},
      {"[!a-c]x", true, false, true, "ax bx dx", "dx"},
      {"[*]", true, false, false, "a * b", "*"},  // a special character in brackets is itself
      {"[-a]b", true, false, false, "zb -b", "-b"},
      {"a[]b", true, false, false, "ab", "ab"},  // "[]" is nothing
      {"(x)", true, false, false, "f(x)", "(x)"},
      {"\\d", true, false, false, "\\d 5", "\\d"},  // no regular-expression syntax leaks in
  };
  for (const auto& c : cases) {
    FindOptions o{QString::fromUtf8(c.what), c.matchCase, c.wholeWord, c.pattern};
    auto re = CompileFind(o);
    ASSERT_TRUE(re) << c.what;
    auto m = re->match(QString::fromUtf8(c.line));
    if (!c.found) {
      EXPECT_FALSE(m.hasMatch()) << c.what << " in " << c.line;
    } else {
      EXPECT_EQ(m.captured(0).toStdString(), c.found) << c.what << " in " << c.line;
    }
  }
  QString error;
  EXPECT_FALSE(CompileFind({QStringLiteral("a[bc"), false, false, true}, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("Invalid pattern")));
  EXPECT_FALSE(CompileFind({QStringLiteral("[z-a]"), false, false, true}, &error));
  EXPECT_FALSE(CompileFind({QString(), false, false, false}, &error));
}

QString Selected(CodeEditor* e) { return e->textCursor().selectedText(); }

TEST_F(WorkbenchTest, ProjectWideFindListsEveryMatchAndOpensEach) {
  window_->ShowCode(u"modInput");
  FindReplace& f = window_->finder();
  f.options = {QStringLiteral("lngnumconv"), false, true, false};
  f.scope = FindScope::Project;
  const int n = f.FindAll();
  ResultsPane* pane = window_->resultsPane();
  EXPECT_FALSE(pane->isHidden());
  ASSERT_EQ(pane->list()->topLevelItemCount(), n);
  ASSERT_GT(n, 5);
  std::set<std::string> files;
  for (int i = 0; i < n; ++i) files.insert(pane->list()->topLevelItem(i)->text(0).toStdString());
  // The files that use the function (lngSubNumConv is another word).
  EXPECT_EQ(files, (std::set<std::string>{"modDraw.bas", "modInput.bas", "frmMain.frm", "frmWindowConvert.frm",
                                          "frmWindowFind.frm"}));
  for (int i : {0, n / 2, n - 1}) {
    QTreeWidgetItem* row = pane->list()->topLevelItem(i);
    EXPECT_TRUE(row->text(2).contains(QStringLiteral("lngNumConv"), Qt::CaseInsensitive));
    pane->Open(i);
    CodeEditor* e = window_->ActiveEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->component(), pane->places()[static_cast<size_t>(i)].component);
    EXPECT_EQ(e->CaretLine(), row->text(1).toInt());
    EXPECT_EQ(Selected(e).toLower(), QStringLiteral("lngnumconv"));
  }
}

TEST_F(WorkbenchTest, FindNextGoesOnThroughTheModuleAndRoundAndBack) {
  CodeEditor* e = window_->ShowCode(u"modInput");
  e->SelectPlace(1, 1, 0);
  FindReplace& f = window_->finder();
  f.options = {QStringLiteral("SwapObj"), true, true, false};
  f.scope = FindScope::Module;
  std::vector<int> lines;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(f.FindNext(true));
    lines.push_back(e->CaretLine());
    EXPECT_EQ(Selected(e), QStringLiteral("SwapObj"));
  }
  // Two calls in QuickSort, the declaration, then round to the first again.
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_LT(lines[0], lines[1]);
  EXPECT_LT(lines[1], lines[2]);
  EXPECT_EQ(lines[3], lines[0]);
  EXPECT_EQ(lines[4], lines[1]);
  // F3 and Shift+F3 through the window's keys.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QTest::keyClick(e, Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(e->CaretLine(), lines[0]);
  QTest::keyClick(e, Qt::Key_F3);
  EXPECT_EQ(e->CaretLine(), lines[1]);
  f.options.what = QStringLiteral("NoSuchNameAnywhere");
  EXPECT_FALSE(f.FindNext(true));
  EXPECT_FALSE(f.message().isEmpty());
}

TEST_F(WorkbenchTest, ReplaceAllInAProcedureIsOneUndoStep) {
  CodeEditor* e = window_->ShowCode(u"modInput");
  auto module = e->component()->code();
  const std::u16string before = module->Lines(1, module->CountOfLines());
  const QString shown = e->toPlainText();
  const int start = module->ProcStartLine(u"QuickSort", 0);
  const int end = start + module->ProcCountLines(u"QuickSort", 0) - 1;
  e->SelectPlace(start + 5, 1, 0);
  FindReplace& f = window_->finder();
  f.options = {QStringLiteral("lngLeft"), false, true, false};
  f.with = QStringLiteral("lngLow");
  f.scope = FindScope::Procedure;
  EXPECT_EQ(f.ReplaceAll(), 7);
  // Only QuickSort changed; the pane shows the module's text.
  EXPECT_EQ(QString::fromStdU16String(module->Lines(start, end - start + 1)).count(QStringLiteral("lngLow")), 7);
  EXPECT_EQ(QString::fromStdU16String(module->Lines(1, module->CountOfLines())).count(QStringLiteral("lngLeft")),
            QString::fromStdU16String(before).count(QStringLiteral("lngLeft")) - 7);
  EXPECT_EQ(e->toPlainText().count(QStringLiteral("lngLow")), 7);
  EXPECT_TRUE(e->component()->dirty());
  e->undo();
  EXPECT_EQ(e->toPlainText(), shown);
  EXPECT_EQ(module->Lines(1, module->CountOfLines()), before);
}

TEST_F(WorkbenchTest, ReplaceChangesTheSelectedMatchAndMovesOn) {
  CodeEditor* e = window_->ShowCode(u"modInput");
  auto module = e->component()->code();
  const int start = module->ProcStartLine(u"QuickSort", 0);
  e->SelectPlace(start, 1, 0);
  FindReplace& f = window_->finder();
  f.options = {QStringLiteral("SwapObj(j, *)"), false, false, true};
  f.with = QStringLiteral("Swap2(j)");
  f.scope = FindScope::Procedure;
  ASSERT_TRUE(f.FindNext(true));
  const int first = e->CaretLine();
  EXPECT_EQ(Selected(e), QStringLiteral("SwapObj(j, i)"));
  ASSERT_TRUE(f.Replace());  // replaces it, selects the next
  EXPECT_EQ(QString::fromStdU16String(std::u16string(module->text().Line(first))).trimmed(), QStringLiteral("Call Swap2(j)"));
  EXPECT_EQ(e->document()->findBlockByNumber(first - 1).text().trimmed(), QStringLiteral("Call Swap2(j)"));
  EXPECT_EQ(Selected(e), QStringLiteral("SwapObj(j, lngLeft)"));
}

}  // namespace
}  // namespace tarno::workbench::test
