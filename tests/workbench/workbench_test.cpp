#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>

#include "host/controls.h"
#include "workbench/addin_list.h"
#include "workbench/addin_manager.h"
#include "workbench/vb_highlighter.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

// Selects code lines first..last (whole lines) as the user would.
void SelectLines(CodeEditor& e, int first, int last) {
  QTextCursor c(e.document());
  c.setPosition(e.document()->findBlockByNumber(first - 1).position());
  QTextBlock end = e.document()->findBlockByNumber(last - 1);
  c.setPosition(end.position() + end.length() - 1, QTextCursor::KeepAnchor);
  e.setTextCursor(c);
}

TEST_F(WorkbenchTest, ConnectionAddsTheItemsAtTheirPositionsAndTheToolbar) {
  EXPECT_TRUE(window_->IsLoaded(toolkit::kConnectProgId));
  window_->RebuildCommandBars();
  EXPECT_EQ(Captions(window_->ToolsMenu()),
            (std::vector<std::string>{"&Add Procedure...", "Procedure Attri&butes...", "コメント登録(&C)",
                                      "変数未使用チェック(&F)", "プロシージャ未使用チェック(&P)", "コードパターン挿入(&S)",
                                      "&Menu Editor...", "開発支援ツール(&T)", "&Options..."}));
  QAction* popup = MainWindow::FindAction(window_->ToolsMenu(), QStringLiteral("開発支援ツール(&T)"));
  ASSERT_TRUE(popup && popup->menu());
  EXPECT_EQ(Captions(popup->menu()).size(), 6u);
  auto edit = Captions(window_->EditMenu());
  ASSERT_GE(edit.size(), 8u);
  EXPECT_EQ(std::vector<std::string>(edit.begin(), edit.begin() + 8),
            (std::vector<std::string>{"&Undo", "&Redo", "コメントを挿入(&T)", "コメントブロック(&O)", "コメント解除(&D)",
                                      "一括コメントブロック(&I)", "エラー処理挿入(&R)", "Cu&t"}));
  QAction* errors = MainWindow::FindAction(window_->EditMenu(), QStringLiteral("エラー処理挿入(&R)"));
  ASSERT_TRUE(errors && errors->menu());
  EXPECT_EQ(Captions(errors->menu()),
            (std::vector<std::string>{"エラー処理ヘッダ挿入(&H)", "エラー処理フッタ挿入(&F)", "エラーヘッダフッタ一括挿入(&E)"}));
  // Menu items carry their faces.
  EXPECT_FALSE(MainWindow::FindAction(window_->ToolsMenu(), QStringLiteral("コメント登録(&C)"))->icon().isNull());

  QToolBar* bar = window_->AddInToolBar(QStringLiteral("Tarno Kit"));
  ASSERT_NE(bar, nullptr);
  int buttons = 0, separators = 0;
  for (QAction* a : bar->actions()) {
    if (a->isSeparator()) {
      ++separators;
      continue;
    }
    ++buttons;
    EXPECT_FALSE(a->icon().isNull());
    EXPECT_FALSE(a->toolTip().isEmpty());
  }
  EXPECT_EQ(buttons, 17);
  EXPECT_EQ(separators, 7);  // before buttons 2, 3, 4, 5, 11, 15 and 17
  EXPECT_EQ(bar->actions().front()->toolTip(), QStringLiteral("Tarno Kitで挿入するコメントを登録します"));
}

TEST_F(WorkbenchTest, CodePaneShowsCodeLinesOnlyAndTypingEditsTheModule) {
  CodeEditor* e = window_->ShowCode(u"modMain");
  ASSERT_NE(e, nullptr);
  auto module = e->component()->code();
  ASSERT_EQ(e->document()->blockCount(), module->CountOfLines());
  EXPECT_EQ(e->document()->firstBlock().text(), QStringLiteral("Option Explicit"));  // no Attribute header line
  // The focus makes it the active code pane of a code window.
  ASSERT_EQ(window_->vbe()->ActiveCodePane(), e->pane());
  EXPECT_EQ(window_->vbe()->ActiveWindow()->Type(), 0);
  EXPECT_EQ(window_->vbe()->SelectedVBComponent(), e->component());

  QTextCursor c(e->document()->findBlockByNumber(0));
  c.movePosition(QTextCursor::EndOfBlock);
  e->setTextCursor(c);
  QTest::keyClicks(e, " ' typed");
  QTest::keyClick(e, Qt::Key_Return);
  QTest::keyClicks(e, "Dim x");
  EXPECT_EQ(module->Lines(1, 2), u"Option Explicit ' typed\r\nDim x");
  EXPECT_EQ(module->CountOfLines(), e->document()->blockCount());
  EXPECT_TRUE(e->component()->dirty());
  int sl, sc, el, ec;
  e->pane()->GetSelection(sl, sc, el, ec);
  EXPECT_EQ(std::vector<int>({sl, sc, el, ec}), std::vector<int>({2, 6, 2, 6}));
  // The explorer marks the changed component.
  EXPECT_FALSE(window_->explorer()->findItems(QStringLiteral("modMain (modMain.bas) *"),
                                              Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
  e->undo();
  e->undo();
  e->undo();
  while (e->document()->isUndoAvailable()) e->undo();
  EXPECT_EQ(module->Lines(1, 1), u"Option Explicit");
  EXPECT_EQ(module->CountOfLines(), e->document()->blockCount());
  e->redo();
  EXPECT_NE(module->Lines(1, 1), u"Option Explicit");
}

// The module's lines as the editor should show them.
QStringList ModuleLines(host::MemCodeModule& m) {
  QStringList out;
  for (int i = 1; i <= m.CountOfLines(); ++i) out << QString::fromStdU16String(m.Lines(i, 1));
  return out;
}

TEST_F(WorkbenchTest, EveryKindOfEditReachesTheModule) {
  CodeEditor* e = window_->ShowCode(u"modMain");
  ASSERT_NE(e, nullptr);
  auto& module = *e->component()->code();
  std::srand(7);
  const QString pieces[] = {QStringLiteral("x"), QStringLiteral("\n"), QStringLiteral("a\nb\n"),
                            QStringLiteral("日本語"), QString()};
  for (int step = 0; step < 60; ++step) {
    QTextCursor c(e->document());
    const int size = e->document()->characterCount() - 1;
    int from = size ? std::rand() % size : 0;
    int to = std::min(size, from + (std::rand() % 3 == 0 ? std::rand() % 200 : std::rand() % 3));
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    c.insertText(pieces[std::rand() % 5]);
    ASSERT_EQ(ModuleLines(module).join(u'\n'), e->toPlainText()) << "step " << step;
  }
  // Everything away, then a first line again.
  e->selectAll();
  e->textCursor().removeSelectedText();
  EXPECT_EQ(module.CountOfLines(), 0);
  QTest::keyClicks(e, "Dim y");
  EXPECT_EQ(ModuleLines(module), QStringList{"Dim y"});
  while (e->document()->isUndoAvailable()) e->undo();
  EXPECT_EQ(ModuleLines(module).join(u'\n'), e->toPlainText());
  EXPECT_EQ(module.Lines(1, 1), u"Option Explicit");
}

TEST_F(WorkbenchTest, CommentBlockFromTheEditMenuIsSavedByteForByte) {
  const std::string before = ReadFile(File("modMain.bas"));
  const std::string other = ReadFile(File("modDraw.bas"));
  CodeEditor* e = window_->ShowCode(u"modMain");
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->document()->findBlockByNumber(2).text(), QStringLiteral("#Const MODE_DEBUG = False"));
  SelectLines(*e, 3, 5);
  Run(window_->EditMenu(), "コメントブロック(&O)");
  // The tool's edit shows at once, with the selection it set back.
  EXPECT_EQ(e->document()->findBlockByNumber(2).text(), QStringLiteral("'#Const MODE_DEBUG = False"));
  EXPECT_EQ(e->document()->findBlockByNumber(4).text(), QStringLiteral("'Private Const INI_VERSION = 3"));
  EXPECT_EQ(e->textCursor().selectionStart(), e->document()->findBlockByNumber(2).position());
  ASSERT_TRUE(window_->Save());
  std::string expected = Replaced(before, "\n#Const MODE_DEBUG = False", "\n'#Const MODE_DEBUG = False");
  expected = Replaced(expected, "\nPrivate Const INI_VERSION = 3", "\n'Private Const INI_VERSION = 3");
  EXPECT_EQ(ReadFile(File("modMain.bas")), expected);
  EXPECT_EQ(ReadFile(File("modDraw.bas")), other);
  // Undo in the Edit menu takes the tool's edit back as one step.
  Run(window_->EditMenu(), "&Undo");
  EXPECT_EQ(e->component()->code()->Lines(3, 1), u"#Const MODE_DEBUG = False");
}

TEST_F(WorkbenchTest, VariableCheckFromTheToolsMenuShowsItsReport) {
  std::vector<std::string> shown;
  std::u16string report;
  hook_ = [&](ui::Form& f) {
    shown.push_back(vb::ToUtf8(f.Name()));
    if (f.Name() == u"frmHensuFind") {
      auto* all = dynamic_cast<ui::CheckBox*>(f.FindControl(u"Check1"));
      ASSERT_NE(all, nullptr);
      ui::Click(*all);
      ui::Click(*f.FindControl(u"Command1"));
      if (f.Loaded()) ui::Click(*f.FindControl(u"Command2"));
    } else if (f.Name() == u"frmKekka") {
      report = dynamic_cast<ui::TextBox*>(f.FindControl(u"Text1"))->Text();
      ui::Click(*f.FindControl(u"Command2"));
    } else {
      f.Unload();
    }
  };
  Run(window_->ToolsMenu(), "変数未使用チェック(&F)");
  EXPECT_EQ(shown, (std::vector<std::string>{"frmHensuFind", "frmKekka"}));
  EXPECT_NE(report.find(u"BMSE"), std::u16string::npos) << vb::ToUtf8(report);
  EXPECT_FALSE(report.empty());
}

TEST_F(WorkbenchTest, FormViewSelectionDrivesTheLayoutTool) {
  FormCanvas* canvas = window_->ShowForm(u"frmWindowFind");
  ASSERT_NE(canvas, nullptr);
  auto designer = canvas->component()->designer();
  // Two buttons that are topmost at their centres.
  std::vector<std::shared_ptr<host::MemControl>> picked;
  for (const auto& c : designer->controls())
    if (c->ClassName() == u"CommandButton" && canvas->ControlAt(canvas->RectOf(*c).center()) == c && picked.size() < 2)
      picked.push_back(c);
  ASSERT_EQ(picked.size(), 2u);
  QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->RectOf(*picked[1]).center());
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, canvas->RectOf(*picked[0]).center());
  EXPECT_EQ(designer->selected(), (std::vector<std::shared_ptr<host::MemControl>>{picked[1], picked[0]}));
  EXPECT_EQ(window_->vbe()->SelectedVBComponent(), canvas->component());
  auto sel = designer->SelectedVBControls();
  EXPECT_EQ(sel->Count(), 2);
  // Ctrl+click again takes one out; a plain click on the bare form clears.
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, canvas->RectOf(*picked[0]).center());
  EXPECT_EQ(designer->selected(), (std::vector<std::shared_ptr<host::MemControl>>{picked[1]}));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, canvas->RectOf(*picked[0]).center());

  std::vector<double> others;
  for (const auto& c : designer->controls())
    if (c != picked[0] && c != picked[1] && c->Has(u"Left")) others.push_back(std::get<float>(*c->Get(u"Left")));
  hook_ = [&](ui::Form& f) {
    ASSERT_EQ(f.Name(), u"frmContorol");
    auto* left = dynamic_cast<ui::TextBox*>(f.FindControl(u"Text2"));
    ASSERT_NE(left, nullptr);
    ui::Focus(*left);
    ui::ClearText(*left);
    ui::Type(*left, u"240");
    ui::Click(*f.FindControl(u"Command1"));
    ui::Click(*f.FindControl(u"Command2"));
  };
  Run(window_->ToolsMenu(), "コントロール整列設定(&C)");
  for (const auto& c : picked) EXPECT_EQ(canvas->RectOf(*c).left(), 240 / 15) << vb::ToUtf8(c->name());
  std::vector<double> after;
  for (const auto& c : designer->controls())
    if (c != picked[0] && c != picked[1] && c->Has(u"Left")) after.push_back(std::get<float>(*c->Get(u"Left")));
  EXPECT_EQ(after, others);
  EXPECT_TRUE(canvas->component()->dirty());
  // Positions are twips whatever the form's scale: pixels change nothing.
  designer->form()->Set(u"ScaleMode", ide::Variant(int16_t(3)));
  EXPECT_EQ(canvas->RectOf(*picked[0]).left(), 240 / 15);
}

TEST_F(WorkbenchTest, AddInManagerUnloadsAndLoadsTheAddIn) {
  AddInManager manager(*window_);
  int row = manager.RowOf(QString::fromLatin1(toolkit::kConnectProgId));
  ASSERT_GE(row, 0);
  manager.SetLoaded(row, false);
  manager.SetLoadAtStart(row, false);
  manager.Apply();
  EXPECT_FALSE(window_->IsLoaded(toolkit::kConnectProgId));
  window_->RebuildCommandBars();
  EXPECT_EQ(window_->AddInToolBar(QStringLiteral("Tarno Kit")), nullptr);
  EXPECT_EQ(Captions(window_->ToolsMenu()),
            (std::vector<std::string>{"&Add Procedure...", "Procedure Attri&butes...", "&Menu Editor...", "&Options..."}));
  EXPECT_EQ(MainWindow::FindAction(window_->EditMenu(), QStringLiteral("コメントブロック(&O)")), nullptr);
  // The disconnection wrote the settings; the entry no longer loads at start.
  EXPECT_TRUE(fs::exists(root_ / "system" / "TarnoAddIn.ini"));
  auto entries = ReadAddInList();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_FALSE(entries[0].LoadAtStart());

  AddInManager again(*window_);
  again.SetLoaded(row, true);
  again.Apply();
  EXPECT_TRUE(window_->IsLoaded(toolkit::kConnectProgId));
  int toolbars = 0;
  for (const auto& bar : window_->vbe()->commandBars()->bars()) toolbars += bar->name() == u"Tarno Kit";
  EXPECT_EQ(toolbars, 1);
  EXPECT_NE(window_->AddInToolBar(QStringLiteral("Tarno Kit")), nullptr);
}

TEST_F(WorkbenchTest, ClosingAsksToSaveAndDisconnects) {
  const std::string before = ReadFile(File("modMain.bas"));
  CodeEditor* e = window_->ShowCode(u"modMain");
  QTest::keyClicks(e, "' x");
  answer_ = QMessageBox::Cancel;
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->IsLoaded(toolkit::kConnectProgId));
  answer_ = QMessageBox::No;
  EXPECT_TRUE(window_->close());
  EXPECT_EQ(ReadFile(File("modMain.bas")), before);
  EXPECT_FALSE(window_->IsLoaded(toolkit::kConnectProgId));
  EXPECT_TRUE(fs::exists(root_ / "system" / "TarnoAddIn.ini"));
}

TEST_F(WorkbenchTest, ToolbarButtonsRunTheCommandsOfTheirMenuItems) {
  CodeEditor* e = window_->ShowCode(u"modMain");
  ASSERT_NE(e, nullptr);
  std::vector<QAction*> buttons;
  for (QAction* a : window_->AddInToolBar(QStringLiteral("Tarno Kit"))->actions())
    if (!a->isSeparator()) buttons.push_back(a);
  ASSERT_EQ(buttons.size(), 17u);
  SelectLines(*e, 3, 3);
  buttons[11]->trigger();  // 12: comment block
  EXPECT_EQ(e->component()->code()->Lines(3, 1), u"'#Const MODE_DEBUG = False");
  EXPECT_EQ(e->document()->findBlockByNumber(2).text(), QStringLiteral("'#Const MODE_DEBUG = False"));
  buttons[12]->trigger();  // 13: uncomment
  EXPECT_EQ(e->component()->code()->Lines(3, 1), u"#Const MODE_DEBUG = False");
  // Button 2 opens the variable check like its menu item.
  std::vector<std::string> shown;
  hook_ = [&](ui::Form& f) {
    shown.push_back(vb::ToUtf8(f.Name()));
    f.Unload();
  };
  buttons[1]->trigger();
  EXPECT_EQ(shown, std::vector<std::string>{"frmHensuFind"});
}

TEST_F(WorkbenchTest, ExplorerListsComponentsByKindAndOpensThem) {
  QTreeWidget* tree = window_->explorer();
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QStringList folders;
  for (int i = 0; i < tree->topLevelItem(0)->childCount(); ++i) folders << tree->topLevelItem(0)->child(i)->text(0);
  EXPECT_EQ(folders, (QStringList{"Forms", "Modules", "Class Modules"}));
  auto find = [&](const char* label) {
    auto items = tree->findItems(QString::fromUtf8(label), Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.front();
  };
  ASSERT_NE(find("clsLog (clsLog.cls)"), nullptr);
  emit tree->itemDoubleClicked(find("modInput (modInput.bas)"), 0);
  emit tree->itemDoubleClicked(find("frmWindowFind (frmWindowFind.frm)"), 0);
  ASSERT_EQ(window_->CodeEditors().size(), 1u);
  EXPECT_EQ(window_->CodeEditors()[0]->component()->name(), u"modInput");
  ASSERT_EQ(window_->FormViews().size(), 1u);
  EXPECT_EQ(window_->FormViews()[0]->component()->name(), u"frmWindowFind");
  EXPECT_EQ(window_->vbe()->SelectedVBComponent(), window_->FormViews()[0]->component());
  EXPECT_NE(window_->vbe()->ActiveWindow()->Type(), 0);
  // Choosing a component in the explorer selects it for the tools.
  tree->setCurrentItem(find("frmWindowTips (frmWindowTips.frm)"));
  ASSERT_NE(window_->vbe()->SelectedVBComponent(), nullptr);
  EXPECT_EQ(window_->vbe()->SelectedVBComponent()->Name(), u"frmWindowTips");
}

TEST_F(WorkbenchTest, AMissingLibraryIsReportedByName) {
  WorkbenchOptions options;
  options.addin_dir = root_ / "nowhere";
  options.remember_recent = false;
  MainWindow other(options);
  std::vector<QString> seen;
  other.warn = [&](const QString& t) { seen.push_back(t); };
  other.ConnectAtStart();
  EXPECT_FALSE(other.IsLoaded(toolkit::kConnectProgId));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].contains(QStringLiteral("nowhere/libTarnoToolkit.so"))) << seen[0].toStdString();
  EXPECT_EQ(other.AddInToolBar(QStringLiteral("Tarno Kit")), nullptr);
}

TEST_F(WorkbenchTest, ScreenshotShowsTheFormAndACodePane) {
  const QString file = QString::fromStdString((root_ / "shot.png").string());
  ASSERT_TRUE(window_->Screenshot(file));
  QImage image(file);
  EXPECT_EQ(image.size(), window_->size());
  EXPECT_EQ(window_->FormViews().size(), 1u);
  EXPECT_EQ(window_->CodeEditors().size(), 1u);
}

class StartValueTest : public WorkbenchTest, public ::testing::WithParamInterface<std::pair<const char*, bool>> {
 protected:
  void SetUp() override { Prepare(GetParam().first); }
};

TEST_P(StartValueTest, TheEntryDecidesTheConnectionAtStart) {
  EXPECT_EQ(window_->IsLoaded(toolkit::kConnectProgId), GetParam().second);
  EXPECT_EQ(window_->AddInToolBar(QStringLiteral("Tarno Kit")) != nullptr, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Values, StartValueTest,
                         ::testing::Values(std::pair<const char*, bool>{"0", false}, std::pair<const char*, bool>{"1", true},
                                           std::pair<const char*, bool>{"3", true}, std::pair<const char*, bool>{"x", false},
                                           std::pair<const char*, bool>{"", false}));

TEST(VbHighlighter, ClassifiesKeywordsCommentsAndStrings) {
  struct Case {
    const char* line;
    const char* kinds;
  } cases[] = {
      {"Dim s As String", "kkk   kk kkkkkk"},
      {"x = \"a'b\" ' c", "    sssss ccc"},
      {"Rem note", "cccccccc"},
      {"Me.End", "kk    "},
      {"If a Then: Rem x", "kk   kkkk  ccccc"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(VbHighlighter::Classify(QString::fromUtf8(c.line)).toStdString(), std::string(c.kinds)) << c.line;
}

}  // namespace
}  // namespace tarno::workbench::test
