#include <QComboBox>
#include <QTextBlock>

#include "workbench/procedure_bar.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

QStringList Items(QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

bool Italic(QComboBox* box, const QString& text) {
  int i = box->findText(text);
  EXPECT_GE(i, 0) << text.toStdString();
  return i >= 0 && box->itemData(i, Qt::FontRole).value<QFont>().italic();
}

TEST_F(WorkbenchTest, ObjectAndProcedureListsFollowTheCaretAndChoosingAnEventWritesItsHandler) {
  CodeEditor* e = window_->ShowCode(u"frmWindowFind");
  ASSERT_NE(e, nullptr);
  ProcedureBar* bar = e->procedureBar();
  auto module = e->component()->code();
  const QStringList objects = Items(bar->objects());
  ASSERT_GE(objects.size(), 4);
  EXPECT_EQ(objects[0], QStringLiteral("(General)"));
  EXPECT_EQ(objects[1], QStringLiteral("Form"));
  EXPECT_EQ(objects.count(QStringLiteral("lstGrid")), 1);  // a control array once
  EXPECT_TRUE(objects.contains(QStringLiteral("txtReplace")));
  EXPECT_TRUE(objects.contains(QStringLiteral("fraProcess")));

  // The caret in Form_Load: Form and Load; in the declarations: (General).
  const int load = module->ProcBodyLine(u"Form_Load", 0);
  e->SelectPlace(load + 1, 1, 0);
  EXPECT_EQ(bar->objects()->currentText(), QStringLiteral("Form"));
  EXPECT_EQ(bar->procs()->currentText(), QStringLiteral("Load"));
  EXPECT_FALSE(Italic(bar->procs(), QStringLiteral("Load")));
  EXPECT_TRUE(Italic(bar->procs(), QStringLiteral("Resize")));
  e->SelectPlace(1, 1, 0);
  EXPECT_EQ(bar->objects()->currentText(), QStringLiteral("(General)"));
  EXPECT_EQ(bar->procs()->currentText(), QStringLiteral("(Declarations)"));
  EXPECT_FALSE(Items(bar->procs()).contains(QStringLiteral("Form_Load")));  // handlers are under their objects

  // An option button without handlers: choosing it writes its Click handler.
  const int lines = module->CountOfLines();
  ASSERT_TRUE(bar->ChooseObject(QStringLiteral("optProcessReplace")));
  ASSERT_EQ(module->CountOfLines(), lines + 4);
  EXPECT_EQ(module->text().Line(lines + 2), u"Private Sub optProcessReplace_Click()");
  EXPECT_EQ(module->text().Line(lines + 3), u"");
  EXPECT_EQ(module->text().Line(lines + 4), u"End Sub");
  EXPECT_EQ(e->CaretLine(), lines + 3);  // in the empty body
  EXPECT_EQ(e->document()->blockCount(), module->CountOfLines());
  EXPECT_EQ(bar->procs()->currentText(), QStringLiteral("Click"));
  EXPECT_FALSE(Italic(bar->procs(), QStringLiteral("Click")));
  EXPECT_TRUE(Italic(bar->procs(), QStringLiteral("KeyPress")));
  EXPECT_TRUE(e->component()->dirty());

  // An event of a control array member takes Index first; an existing
  // handler is gone to, not written again.
  ASSERT_TRUE(bar->ChooseObject(QStringLiteral("lstGrid")));
  ASSERT_TRUE(bar->ChooseProc(QStringLiteral("KeyPress")));
  EXPECT_EQ(module->text().Line(e->CaretLine() - 1), u"Private Sub lstGrid_KeyPress(Index As Integer, KeyAscii As Integer)");
  const int count = module->CountOfLines();
  ASSERT_TRUE(bar->ChooseObject(QStringLiteral("Form")));  // goes to its first handler
  EXPECT_EQ(module->CountOfLines(), count);
  EXPECT_EQ(bar->objects()->currentText(), QStringLiteral("Form"));
  ASSERT_TRUE(bar->ChooseProc(QStringLiteral("Load")));
  EXPECT_EQ(e->CaretLine(), load);
  EXPECT_EQ(module->CountOfLines(), count);
  // One undo takes the new handler away again.
  e->undo();
  EXPECT_EQ(module->CountOfLines(), count - 4);
}

TEST_F(WorkbenchTest, ProcedureViewShowsOnlyTheCaretsProcedure) {
  CodeEditor* e = window_->ShowCode(u"frmWindowFind");
  auto module = e->component()->code();
  const int start = module->ProcStartLine(u"Form_Load", 0);
  const int count = module->ProcCountLines(u"Form_Load", 0);
  e->SelectPlace(start + 2, 1, 0);
  e->SetProcedureView(true);
  auto visible = [&] {
    std::vector<int> lines;
    for (QTextBlock b = e->document()->firstBlock(); b.isValid(); b = b.next())
      if (b.isVisible()) lines.push_back(b.blockNumber() + 1);
    return lines;
  };
  std::vector<int> shown = visible();
  ASSERT_EQ(shown.size(), static_cast<size_t>(count));
  EXPECT_EQ(shown.front(), start);
  // Another procedure chosen from the list: its lines instead.
  ASSERT_TRUE(e->procedureBar()->ChooseObject(QStringLiteral("Form")));
  ASSERT_TRUE(e->procedureBar()->ChooseProc(QStringLiteral("Unload")));
  shown = visible();
  ASSERT_EQ(shown.size(), static_cast<size_t>(module->ProcCountLines(u"Form_Unload", 0)));
  EXPECT_EQ(shown.front(), module->ProcStartLine(u"Form_Unload", 0));
  e->SetProcedureView(false);
  EXPECT_EQ(visible().size(), static_cast<size_t>(e->document()->blockCount()));
}

}  // namespace
}  // namespace tarno::workbench::test
