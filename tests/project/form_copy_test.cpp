// The form copy window: its lists, the checks in their order, and the copy
// (properties, controls with those inside containers, fonts, code).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "addin/addin_globals.h"
#include "host/faults.h"
#include "platform/vb_text.h"
#include "project/form_copy.h"
#include "project/frm_copy.h"
#include "support/host_builders.h"
#include "support/ui_harness.h"
#include "toolkit/command_table.h"

namespace tarno::project {
namespace {

using test::ControlSpec;
using test::HostBuilder;
using test::Str;
using vb::U;
namespace ct = ide::ComponentType;

class FormCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = HostBuilder()
                .Project("Source")
                .Module("Module1", "Sub M()\nEnd Sub\n")
                .Component(ct::ResFile, "Res1", "")
                .Form("frmMain",
                      "Option Explicit\nPrivate Sub Command1_Click()\n    Text1.Text = \"\"\nEnd Sub\n",
                      {{"VB.Frame", "Frame1", -1, "", {{"Caption", Str("枠")}, {"TabIndex", int16_t(0)}}},
                       {"VB.TextBox", "Text1", -1, "Frame1", {{"Text", Str("a")}, {"Left", 100.0f}, {"TabIndex", int16_t(1)}}},
                       {"VB.TextBox", "Text2", -1, "Frame1", {{"Text", Str("b")}, {"TabIndex", int16_t(2)}}},
                       {"VB.CommandButton", "Command1", 0, "", {{"Caption", Str("実行")}, {"TabIndex", int16_t(3)}}},
                       {"VB.CommandButton", "Command1", 1, "", {{"Caption", Str("二")}, {"TabIndex", int16_t(4)}}},
                       {"VB.Menu", "mnuFile", -1, "", {{"Caption", Str("ファイル")}}},
                       {"VB.Menu", "mnuOpen", -1, "mnuFile", {{"Caption", Str("開く")}}}})
                .Component(ct::ActiveXDesigner, "DataEnvironment1", "")
                .Class("Class1", "")
                .Component(ct::MDIForm, "MDIForm1", "")
                .Project("Target")
                .Module("Existing", "")
                .Project("Dll", ide::ProjectType::ActiveXDll)
                .Project("Empty")
                .Build();
    HostVBE = host_.vbe;
    auto form = host_.Component("frmMain");
    form->designer()->form()->Load(u"BackColor", int32_t(0x00FF00));
    form->designer()->form()->Load(u"Caption", U("メイン"));
    auto font = form->designer()->Control(u"Text1")->GetFont();
    host::FontValues v = font->values();
    v.name = U("ＭＳ 明朝");
    v.size = 12;
    v.bold = true;
    v.weight = 700;
    font->Assign(v);
  }
  void TearDown() override { HostVBE.reset(); }

  // Opens the window, runs `act`, closes it.
  void Run(const std::function<void(frmCopy&)>& act) {
    h_.OnShow<frmCopy>([&](frmCopy& f) {
      act(f);
      ui::Click(f.Command2);
    });
    ASSERT_TRUE(RunCommand(Command::CopyTool));
  }
  // Chooses the row of the named component, the target and the name, then 実行.
  void Copy(frmCopy& f, const char* component, int target, const std::u16string& name, bool controls, bool code) {
    for (int i = 1; i <= f.ListView1.ListItems.Count(); ++i)
      if (f.ListView1.ListItems.Item(i).Text() == U(component)) ui::ClickItem(f.ListView1, i);
    ui::Choose(f.Combo2, target);
    ui::ClearText(f.Text1);
    ui::Type(f.Text1, name);
    if (controls != (f.Check1.Value() == ui::vbChecked)) ui::Click(f.Check1);
    if (code != (f.Check2.Value() == ui::vbChecked)) ui::Click(f.Check2);
    ui::Click(f.Command1);
  }
  test::UiHarness h_;
  test::TestHost host_;
  host::FaultScope faults_;
};

TEST_F(FormCopyTest, ListsLeaveOutUnlistedKindsAndEachRowStandsForItsOwnComponent) {
  Run([&](frmCopy& f) {
    EXPECT_EQ(f.Caption(), U("VB自動ファイルコピー For VisualBasic6.0"));
    ASSERT_EQ(f.Combo1.ListCount(), 4);
    EXPECT_EQ(f.Combo2.List(3), u"Empty");
    EXPECT_EQ(f.Combo2.ListIndex(), 0);
    std::vector<std::u16string> rows;
    for (int i = 1; i <= f.ListView1.ListItems.Count(); ++i)
      rows.push_back(f.ListView1.ListItems.Item(i).Text() + u"|" + f.ListView1.ListItems.Item(i).SubItems(1));
    EXPECT_THAT(rows, ::testing::ElementsAre(U("Module1|標準 モジュール"), U("frmMain|フォーム モジュール"),
                                             U("Class1|クラス モジュール"), U("MDIForm1|MDIフォーム モジュール")));
    EXPECT_TRUE(f.ListView1.ListItems.Item(1).Selected());
    // Rows after the unlisted kinds copy their own component.
    Copy(f, "Class1", 1, u"Class9", false, false);
  });
  EXPECT_EQ(host_.Project(2)->components().back()->name(), u"Class9");
  EXPECT_EQ(host_.Project(2)->components().back()->type(), ct::ClassModule);
  EXPECT_THAT(h_.MessageTexts(), ::testing::ElementsAre(U("コピー完了しました")));
  EXPECT_EQ(h_.Messages()[0].Icon(), ui::vbInformation);
}

TEST_F(FormCopyTest, TheControlsMarkIsEnabledOnlyForKindsWithControls) {
  Run([&](frmCopy& f) {
    const std::pair<int, bool> rows[] = {{1, false}, {2, true}, {3, false}, {4, true}};
    for (auto [row, enabled] : rows) {
      SCOPED_TRACE(row);
      if (f.Check1.Enabled()) ui::Click(f.Check1);  // marked where it can be
      ui::ClickItem(f.ListView1, row);
      EXPECT_EQ(f.Check1.Enabled(), enabled);
      if (!enabled) {
        EXPECT_EQ(f.Check1.Value(), ui::vbUnchecked);
      }
    }
    ui::ClickItem(f.ListView1, 1);
    ui::Choose(f.Combo1, 1);  // choosing a project enables the mark again, unmarked
    EXPECT_TRUE(f.Check1.Enabled());
    EXPECT_EQ(f.Check1.Value(), ui::vbUnchecked);
    EXPECT_EQ(f.ListView1.ListItems.Count(), 1);
  });
  EXPECT_TRUE(ControlsCopyable(ct::ActiveXDesigner));
  EXPECT_FALSE(ControlsCopyable(ct::PropPage));
}

TEST_F(FormCopyTest, ChecksRunInOrderWithTheirMessagesAndFocus) {
  struct Case {
    const char* component;
    int target;
    std::u16string name;
    const char* message;
  };
  const std::u16string twenty = U("あいうえおかきくけこさしすせそたちつてと");
  const Case cases[] = {
      {"frmMain", 1, u"   ", "オブジェクト名を入力してください"},
      {"frmMain", 1, twenty + u"x", "オブジェクト名が長すぎます"},
      {"frmMain", 1, u"12", "オブジェクト名が不正です"},
      {"frmMain", 1, u"1.5", "オブジェクト名が不正です"},
      {"frmMain", 1, u"1E3", "オブジェクト名が不正です"},
      {"frmMain", 1, u"a b", "オブジェクト名にスペースは使用できません"},
      {"frmMain", 1, u"a-b", "オブジェクト名に使用できない記号が含まれています"},
      {"frmMain", 1, u"a.b", "オブジェクト名に使用できない記号が含まれています"},
      {"frmMain", 1, u"1abc", "オブジェクト名が不正です"},
      {"frmMain", 1, U("全角\u3000空白"), "オブジェクト名が不正です"},
      {"frmMain", 1, u"Existing", "入力されたオブジェクト名は既に存在しています"},
      {"MDIForm1", 2, u"MDI2", "MDIフォームは指定されたプロジェクトにはコピーできません"},
      {"MDIForm1", 0, u"MDI2", "MDIフォームは指定されたプロジェクトには既に存在しています"},
  };
  Run([&](frmCopy& f) {
    for (const Case& c : cases) {
      SCOPED_TRACE(vb::ToUtf8(c.name));
      h_.ClearMessages();
      Copy(f, c.component, c.target, c.name, false, false);
      ASSERT_THAT(h_.MessageTexts(), ::testing::ElementsAre(U(c.message)));
      EXPECT_EQ(h_.Messages()[0].Icon(), ui::vbExclamation);
      EXPECT_TRUE(f.Text1.HasFocus());
    }
  });
  EXPECT_EQ(host_.Project(1)->components().size(), 6u);
  EXPECT_EQ(host_.Project(2)->components().size(), 1u);
  EXPECT_EQ(host_.Project(3)->components().size(), 0u);
}

TEST_F(FormCopyTest, WhichCheckRefusesEachName) {
  // step 0: every check passes.
  const std::pair<std::u16string, int> cases[] = {
      {U("あいうえおかきくけこさしすせそたちつてと"), 0},  // 20 characters (40 bytes)
      {U("あいうえおかきくけこさしすせそたちつてとな"), 4},
      {u"abcdefghijklmnopqrstu", 4},
      {u"A1", 0},
      {u"frm_2", 0},
      {U("画面１"), 0},
      {u"12", 5},
      {u"1.5", 5},
      {u"1E3", 5},
      {u"-4.5", 5},
      {u"_x", 10},   // not a number; VB takes no underscore first
      {u"1abc", 10},
      {u" Existing ", 6},
      {u"Existing", 8},
      {u"EXISTING", 0},  // the existence test keeps letter case
      {u"a!b", 7},
      {u"a,b", 7},
      {U("a\u3000b"), 10},
  };
  auto source = host_.Component("frmMain");
  for (const auto& [name, step] : cases) {
    SCOPED_TRACE(vb::ToUtf8(name));
    auto r = CheckCopy(4, source, name, host_.Project(2).get());
    EXPECT_EQ(r ? r->step : 0, step);
  }
  EXPECT_EQ(CheckCopy(4, nullptr, u"A", host_.Project(2).get())->step, 2);
  EXPECT_EQ(CheckCopy(0, source, u"A", host_.Project(2).get())->step, 1);
  // The other letter case passes the checks; the host then refuses the name,
  // and the copy fails without leaving anything behind.
  Run([&](frmCopy& f) { Copy(f, "frmMain", 1, u"EXISTING", false, false); });
  EXPECT_THAT(h_.MessageTexts(), ::testing::ElementsAre(U("フォームのコピーに失敗しました")));
  EXPECT_EQ(host_.Project(2)->components().size(), 1u);
}

TEST_F(FormCopyTest, UserDocumentsGoOnlyIntoActiveXExeAndDllProjects) {
  auto doc = host::MemComponent::Create(ct::DocObject, u"UserDocument1");
  host_.Project(1)->AddComponent(doc);
  const std::pair<int, int> targets[] = {{2, 9}, {3, 0}};
  for (auto [target, step] : targets) {
    auto r = CheckCopy(1, doc, u"Doc2", host_.Project(target).get());
    EXPECT_EQ(r ? r->step : 0, step);
    if (r) {
      EXPECT_EQ(r->message, U("ユーザードキュメントは指定されたプロジェクトにはコピーできません"));
    }
  }
  host_.Project(3)->set_type(ide::ProjectType::ActiveXControl);
  EXPECT_EQ(CheckCopy(1, doc, u"Doc2", host_.Project(3).get())->step, 9);
}

TEST_F(FormCopyTest, EmptyProjectAndNoSelectionAreRefusedFirst) {
  Run([&](frmCopy& f) {
    f.ListView1.SetSelectedItem(nullptr);
    ui::Click(f.Command1);
    ui::Choose(f.Combo1, 3);
    ui::Click(f.Command1);
  });
  EXPECT_THAT(h_.MessageTexts(),
              ::testing::ElementsAre(U("モジュールを選択してください"),
                                     U("指定されたプロジェクトには、モジュールが存在しませんので実行できません")));
}

TEST_F(FormCopyTest, CopyingWithNeitherMarkGivesDesignerPropertiesOnly) {
  Run([&](frmCopy& f) { Copy(f, "frmMain", 1, u"frmPlain", false, false); });
  auto copy = host_.Component("frmPlain");
  EXPECT_EQ(copy->type(), ct::VBForm);
  EXPECT_EQ(copy->designer()->form()->Get(u"Caption"), ide::Variant(U("メイン")));
  EXPECT_EQ(copy->designer()->form()->Get(u"BackColor"), ide::Variant(int32_t(0x00FF00)));
  EXPECT_TRUE(copy->designer()->controls().empty());
  EXPECT_EQ(copy->code()->text().CountOfLines(), 0);
  EXPECT_EQ(h_.MousePointerHistory(), (std::vector<int>{ui::vbHourglass, ui::vbDefault}));
}

TEST_F(FormCopyTest, ControlsArriveWholeInsideTheirContainersWithFontsAndCode) {
  Run([&](frmCopy& f) { Copy(f, "frmMain", 1, u"frmCopy2", true, true); });
  EXPECT_THAT(h_.MessageTexts(), ::testing::ElementsAre(U("コピー完了しました")));
  auto src = host_.Designer("frmMain");
  auto copy = host_.Designer("frmCopy2");
  ASSERT_EQ(copy->controls().size(), src->controls().size());
  for (size_t i = 0; i < src->controls().size(); ++i) {
    const auto& a = src->controls()[i];
    const auto& b = copy->controls()[i];
    SCOPED_TRACE(vb::ToUtf8(a->name()));
    EXPECT_EQ(b->name(), a->name());
    EXPECT_EQ(b->index(), a->index());
    EXPECT_EQ(b->ProgId(), a->ProgId());
    EXPECT_EQ(b->parent() ? b->parent()->name() : u"", a->parent() ? a->parent()->name() : u"");
    for (int k = 0; k < a->PropertyCount(); ++k)
      EXPECT_EQ(b->ValueAt(k), a->ValueAt(k)) << vb::ToUtf8(a->PropertyDef(k).name);
    if (auto font = a->GetFont()) {
      EXPECT_EQ(b->GetFont()->values(), font->values());
    }
  }
  EXPECT_EQ(host_.Code("frmCopy2"), host_.Code("frmMain"));
  EXPECT_EQ(copy->Control(u"Text1")->GetFont()->values().name, U("ＭＳ 明朝"));
}

TEST_F(FormCopyTest, AFailureThatWouldBreakTheCopyLeavesNothingInTheTarget) {
  for (const char* op : {"VBComponents.Add", "VBComponent.SetName", "CodeModule.InsertLines"}) {
    SCOPED_TRACE(op);
    h_.ClearMessages();
    host::Faults().FailAlways(op);
    Run([&](frmCopy& f) { Copy(f, "frmMain", 1, u"frmBroken", true, true); });
    host::Faults().ClearAll();
    EXPECT_THAT(h_.MessageTexts(), ::testing::ElementsAre(U("フォームのコピーに失敗しました")));
    EXPECT_EQ(host_.Project(2)->components().size(), 1u);
  }
  // A property write the host refuses is skipped silently.
  h_.ClearMessages();
  host::Faults().FailOnCall("Property.SetValue", 3);
  Run([&](frmCopy& f) { Copy(f, "frmMain", 1, u"frmSkips", true, true); });
  EXPECT_THAT(h_.MessageTexts(), ::testing::ElementsAre(U("コピー完了しました")));
  EXPECT_EQ(host_.Designer("frmSkips")->controls().size(), 7u);
}

}  // namespace
}  // namespace tarno::project
