// Every command of the add-in, clicked in the workbench as a user would:
// each toolbar button and its menu item, from a code pane with a selection or
// from a form view with two controls selected. A window command must open its
// window with its caption and what it lists of the workbench's projects; an
// editing command must change the module as the tool says. Each window is
// closed with its own close button.
#include <QPushButton>
#include <QTextBlock>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "gui/form_view.h"
#include "host/files/project_loader.h"

#include "host/controls.h"
#include "ui/list_view.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

// The texts a window shows: captions, texts, list entries and list rows.
std::u16string Shown(const ui::Form& f) {
  std::u16string out = f.Caption();
  for (ui::Control* c : f.Controls()) {
    ui::ControlDescription d = c->Describe();
    out += u"\n" + d.caption;
    for (const auto& [key, value] : d.properties)
      if (key == "Items") out += u"\n" + value;
    if (auto* list = dynamic_cast<ui::ListView*>(c))
      for (int i = 1; i <= list->ListItems.Count(); ++i) {
        const ui::ListItem& item = list->ListItems.Item(i);
        out += u"\n" + item.Text();
        for (int k = 1; k < list->ColumnHeaders.Count(); ++k) out += u"\t" + item.SubItems(k);
      }
  }
  return out;
}

// Clicks the window's close button ("閉じる").
void CloseWithItsButton(ui::Form& f) {
  for (ui::Control* c : f.Controls())
    if (auto* b = dynamic_cast<ui::CommandButton*>(c); b && b->Caption() == u"閉じる") {
      ui::Click(*b);
      return;
    }
  ADD_FAILURE() << vb::ToUtf8(f.Name()) << " has no close button";
}

enum class From { CodePane, FormView };

struct CommandCase {
  int button;           // 1-based on the "Tarno Kit" toolbar
  bool toolsMenu;       // else the Edit menu (popups searched too)
  const char* item;
  From from;
  // A window command: the window, its caption and texts it must show.
  const char* window;
  const char* caption;
  std::vector<const char*> shows;
  // An editing command: the code line the selection starts on (found by
  // its text), how many lines it covers, and the lines expected from there.
  const char* at = nullptr;
  int lines = 1;
  std::vector<const char*> expect = {};
};

const char* const kProjectList = "BMSE";

std::vector<CommandCase> Cases() {
  return {
      {1, true, "コメント登録(&C)", From::CodePane, "frmMain", "VB自動コード組み込み コメント登録 For VisualBasic6.0",
       {"'Registered by the kit"}},
      {2, true, "変数未使用チェック(&F)", From::CodePane, "frmHensuFind", "VB自動変数チェック For VisualBasic6.0",
       {kProjectList}},
      {3, true, "プロシージャ未使用チェック(&P)", From::CodePane, "frmProcFind",
       "VB自動プロシージャチェック For VisualBasic6.0", {kProjectList}},
      {4, true, "コードパターン挿入(&S)", From::CodePane, "frmCodePatrn", "VB自動コードパターン For VisualBasic6.0", {}},
      {5, true, "プロジェクト自動保存(&S)", From::CodePane, "frmProject", "VB自動プロジェクト保存 For VisualBasic6.0",
       {"自動保存します"}},
      {6, true, "ファイルコピー(&F)", From::CodePane, "frmCopy", "VB自動ファイルコピー For VisualBasic6.0",
       {kProjectList, "frmWindowFind"}},
      {7, true, "コントロール整列設定(&C)", From::FormView, "frmContorol", "VB自動コントロール整列 For VisualBasic6.0",
       {"現在、選択されているオブジェクト数は2個です"}},
      {8, true, "コントロールスタイルパターン設定・登録(&P)", From::FormView, "frmContorolPatrn",
       "VB自動コントロール スタイルパターン登録 For VisualBasic6.0", {}},
      {9, true, "コントロールのTabIndexプロパティの一括設定(&T)", From::FormView, "frmTabIndex",
       "VBコントロールTabIndexプロパティの一括設定 For VisualBasic6.0", {"cmdClose"}},
      {10, true, "コントロールのIndexプロパティの一括設定(&I)", From::FormView, "frmIndex",
       "VBコントロールIndexプロパティの一括設定 For VisualBasic6.0", {"lstGrid(2)"}},
      {11, false, "コメントを挿入(&T)", From::CodePane, nullptr, nullptr, {}, "#Const MODE_DEBUG = False", 1,
       {"'Registered by the kit", "#Const MODE_DEBUG = False"}},
      {12, false, "コメントブロック(&O)", From::CodePane, nullptr, nullptr, {}, "#Const MODE_DEBUG = False", 3,
       {"'#Const MODE_DEBUG = False", "", "'Private Const INI_VERSION = 3"}},
      {13, false, "コメント解除(&D)", From::CodePane, nullptr, nullptr, {}, "'Public g_strInputLog()  As String", 1,
       {"Public g_strInputLog()  As String"}},
      {14, false, "一括コメントブロック(&I)", From::CodePane, "frmComment",
       "VB自動プロシージャ コメントブロック For VisualBasic6.0", {kProjectList}},
      {15, false, "エラー処理ヘッダ挿入(&H)", From::CodePane, nullptr, nullptr, {}, "#Const MODE_DEBUG = False", 1,
       {"On Error GoTo Error_Exit", "", "Screen.MousePointer = vbHourglass", "#Const MODE_DEBUG = False"}},
      {16, false, "エラー処理フッタ挿入(&F)", From::CodePane, nullptr, nullptr, {}, "#Const MODE_DEBUG = False", 1,
       {"'エラーの場合", "Error_Exit:"}},
      {17, false, "エラーヘッダフッタ一括挿入(&E)", From::CodePane, "frmErrInput",
       "VB自動エラーヘッダフッタ一括挿入 For VisualBasic6.0", {kProjectList}},
  };
}

class CommandsTest : public WorkbenchTest {
 protected:
  void SetUp() override {
    Prepare("1", "[COMMENT_NO]\r\nNO=0\r\n[COMMENT]\r\n1='Registered by the kit\r\n");
  }

  // The code pane of modMain with whole lines selected from the one that reads `at`.
  CodeEditor* SelectInCode(const char* at, int lines) {
    CodeEditor* e = window_->ShowCode(u"modMain");
    if (!e) return nullptr;
    QTextBlock first = e->document()->firstBlock();
    while (first.isValid() && first.text() != QString::fromUtf8(at)) first = first.next();
    if (!first.isValid()) return ADD_FAILURE() << "no line " << at, nullptr;
    QTextBlock last = e->document()->findBlockByNumber(first.blockNumber() + lines - 1);
    QTextCursor c(e->document());
    c.setPosition(first.position());
    c.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
    return e;
  }

  // frmWindowFind's view with two of its buttons selected by mouse clicks.
  FormCanvas* SelectInForm() {
    FormCanvas* canvas = window_->ShowForm(u"frmWindowFind");
    if (!canvas) return nullptr;
    std::vector<std::shared_ptr<host::MemControl>> picked;
    for (const auto& c : canvas->component()->designer()->controls())
      if (c->ClassName() == u"CommandButton" && canvas->ControlAt(canvas->RectOf(*c).center()) == c && picked.size() < 2)
        picked.push_back(c);
    if (picked.size() != 2) return ADD_FAILURE() << "two buttons", nullptr;
    QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->RectOf(*picked[0]).center());
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::ControlModifier, canvas->RectOf(*picked[1]).center());
    return canvas;
  }

  QAction* Button(int number) {
    int seen = 0;
    QToolBar* bar = window_->AddInToolBar(QStringLiteral("Tarno Kit"));
    if (bar)
      for (QAction* a : bar->actions())
        if (!a->isSeparator() && ++seen == number) return a;
    return nullptr;
  }
};

TEST_F(CommandsTest, EveryButtonAndMenuItemRunsItsCommand) {
  ASSERT_EQ(Cases().size(), 17u);
  for (const CommandCase& c : Cases()) {
    for (bool viaMenu : {false, true}) {
      SCOPED_TRACE(std::string(c.item) + (viaMenu ? " (menu)" : " (button)"));
      CodeEditor* editor = nullptr;
      if (c.from == From::CodePane) ASSERT_NE(editor = SelectInCode(c.at ? c.at : "Option Explicit", c.lines), nullptr);
      else ASSERT_NE(SelectInForm(), nullptr);
      std::vector<std::u16string> opened;
      hook_ = [&](ui::Form& f) {
        opened.push_back(f.Name());
        if (c.window && f.Name() == vb::U(c.window)) {
          EXPECT_EQ(vb::ToUtf8(f.Caption()), c.caption);
          const std::u16string shown = Shown(f);
          for (const char* text : c.shows) EXPECT_NE(shown.find(vb::U(text)), std::u16string::npos) << text;
        }
        CloseWithItsButton(f);
        EXPECT_FALSE(f.Loaded() && f.Visible()) << vb::ToUtf8(f.Name());
      };
      boxes_->seen.clear();
      std::vector<std::u16string> before;
      auto module = window_->workspace().projects[0]->Component(u"modMain")->code();
      for (int i = 1; i <= module->CountOfLines(); ++i) before.push_back(module->Lines(i, 1));
      const int start = c.at ? static_cast<int>(std::find(before.begin(), before.end(), vb::U(c.at)) - before.begin()) + 1 : 0;

      if (viaMenu) {
        Run(c.toolsMenu ? window_->ToolsMenu() : window_->EditMenu(), c.item);
      } else {
        QAction* button = Button(c.button);
        ASSERT_NE(button, nullptr);
        button->trigger();
      }
      hook_ = nullptr;

      for (const SeenBox& box : boxes_->seen) ADD_FAILURE() << "message: " << vb::ToUtf8(box.prompt);
      if (c.window) {
        EXPECT_EQ(opened, std::vector<std::u16string>{vb::U(c.window)});
        for (int i = 1; i <= module->CountOfLines(); ++i) ASSERT_EQ(module->Lines(i, 1), before[i - 1]) << "line " << i;
        continue;
      }
      EXPECT_TRUE(opened.empty());
      for (size_t i = 0; i < c.expect.size(); ++i)
        EXPECT_EQ(vb::ToUtf8(module->Lines(start + static_cast<int>(i), 1)), c.expect[i]) << "line " << start + i;
      // The pane shows the edit at once; undo takes it back for the next click.
      ASSERT_NE(editor, nullptr);
      EXPECT_EQ(editor->document()->findBlockByNumber(start - 1).text().toStdString(), c.expect[0]);
      editor->undo();
      ASSERT_EQ(module->CountOfLines(), static_cast<int>(before.size()));
      for (int i = 1; i <= module->CountOfLines(); ++i) ASSERT_EQ(module->Lines(i, 1), before[i - 1]) << "line " << i;
    }
  }
}

TEST_F(CommandsTest, ACopiedFormShowsInTheWorkbenchAndIsSavedWithTheProject) {
  hook_ = [&](ui::Form& f) {
    ASSERT_EQ(f.Name(), u"frmCopy");
    auto& list = dynamic_cast<ui::ListView&>(*f.FindControl(u"ListView1"));
    int row = 0;
    for (int i = 1; i <= list.ListItems.Count(); ++i)
      if (list.ListItems.Item(i).Text() == u"frmWindowTips") row = i;
    ASSERT_GT(row, 0);
    ui::ClickItem(list, row);
    auto& name = dynamic_cast<ui::TextBox&>(*f.FindControl(u"Text1"));
    ui::Focus(name);
    ui::ClearText(name);
    ui::Type(name, u"frmTipsCopy");
    ui::Click(*f.FindControl(u"Check1"));
    ui::Click(*f.FindControl(u"Check2"));
    ui::Click(*f.FindControl(u"Command1"));
    CloseWithItsButton(f);
  };
  ASSERT_NE(SelectInCode("Option Explicit", 1), nullptr);
  Run(window_->ToolsMenu(), "ファイルコピー(&F)");
  ASSERT_EQ(boxes_->seen.size(), 1u);
  EXPECT_EQ(boxes_->seen[0].prompt, vb::U("コピー完了しました"));
  // The explorer lists it at once; its view shows the copied controls.
  auto items = window_->explorer()->findItems(QStringLiteral("frmTipsCopy *"), Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(items.size(), 1);
  Q_EMIT window_->explorer()->itemDoubleClicked(items[0], 0);
  ASSERT_EQ(window_->FormViews().size(), 1u);
  auto copy = window_->FormViews()[0]->component();
  EXPECT_EQ(copy->name(), u"frmTipsCopy");
  auto original = window_->workspace().projects[0]->Component(u"frmWindowTips");
  EXPECT_EQ(copy->designer()->ContainedVBControls()->Count(), original->designer()->ContainedVBControls()->Count());
  EXPECT_EQ(copy->code()->CountOfLines(), original->code()->CountOfLines());

  ASSERT_TRUE(window_->Save());
  EXPECT_TRUE(fs::exists(File("frmTipsCopy.frm")));
  auto reopened = host::files::LoadPath(Project(), CodePage::Cp932());
  EXPECT_TRUE(reopened.warnings.empty());
  auto saved = reopened.projects[0]->Component(u"frmTipsCopy");
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(saved->code()->Lines(1, saved->code()->CountOfLines()), original->code()->Lines(1, original->code()->CountOfLines()));
  EXPECT_EQ(saved->designer()->controls().size(), original->designer()->controls().size());
}

TEST_F(CommandsTest, AToolWindowOpensOnScreenModallyAndItsCloseButtonEndsTheCommand) {
  // The real modal loop this time, as a user meets it.
  gui::Desktop::Current()->SetModalHook({});
  ASSERT_NE(SelectInCode("Option Explicit", 1), nullptr);
  QString title;
  bool modal = false;
  int clicked = 0;
  QTimer::singleShot(0, [&] {
    for (gui::FormView* v : gui::Desktop::Current()->Views()) {
      if (!v->isVisible() || v->form().Name() != u"frmHensuFind") continue;
      title = v->windowTitle();
      modal = v->isModal();
      for (ui::Control* c : v->form().Controls())
        if (auto* b = dynamic_cast<ui::CommandButton*>(c); b && b->Caption() == u"閉じる")
          if (auto* button = qobject_cast<QPushButton*>(v->WidgetOf(*b))) {
            QTest::mouseClick(button, Qt::LeftButton);
            ++clicked;
          }
    }
  });
  // Should the click miss, the window goes anyway and the checks below fail.
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    for (gui::FormView* v : gui::Desktop::Current()->Views()) v->form().Unload();
  });
  watchdog.start(20'000);
  Button(2)->trigger();
  watchdog.stop();
  EXPECT_EQ(title, QStringLiteral("VB自動変数チェック For VisualBasic6.0"));
  EXPECT_TRUE(modal);
  EXPECT_EQ(clicked, 1);
  for (gui::FormView* v : gui::Desktop::Current()->Views())
    if (v->form().Name() == u"frmHensuFind") {
      EXPECT_FALSE(v->isVisible());
    }
}

}  // namespace
}  // namespace tarno::workbench::test
