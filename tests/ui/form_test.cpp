// Window life cycle, modal windows, focus and key handling.
#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/vb_text.h"
#include "support/ui_harness.h"

namespace tarno {
namespace {

using ::testing::ElementsAre;

class frmChild : public ui::Form {
 public:
  ui::TextBox Text1{*this, u"Text1"};
  ui::CommandButton Command1{*this, u"Command1"};
  frmChild() : Form(u"frmChild") {
    Command1.OnClick = [this] { Command1_Click(); };
  }
  void Command1_Click() { Unload(); }
  std::u16string result;
  void Form_Unload(int16_t&) override { result = Text1.Text(); }
};

class frmSample : public ui::Form {
 public:
  ui::TextBox Text1{*this, u"Text1"};
  ui::TextBox Text2{*this, u"Text2"};
  ui::CommandButton Command1{*this, u"Command1"};
  ui::CommandButton Command2{*this, u"Command2"};
  ui::Label Label1{*this, u"Label1"};
  std::vector<std::string> log;
  int16_t refuse_close = 0;
  std::u16string child_result;

  frmSample() : Form(u"frmSample") {
    Text1.OnGotFocus = [this] { Text1_GotFocus(); };
    Text1.OnLostFocus = [this] { log.push_back("Text1_LostFocus"); };
    Text2.OnGotFocus = [this] { Text2_GotFocus(); };
    Text2.OnKeyPress = [this](int16_t& k) { Text2_KeyPress(k); };
    Command1.OnClick = [this] { Command1_Click(); };
    Command2.OnClick = [this] { Command2_Click(); };
  }
  void Form_Load() override { log.push_back("Load"); }
  void Form_Resize() override { log.push_back("Resize"); }
  void Form_Activate() override { log.push_back("Activate"); }
  void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override {
    log.push_back("QueryUnload " + std::to_string(UnloadMode));
    Cancel = refuse_close;
  }
  void Form_Unload(int16_t&) override { log.push_back("Unload"); }
  void Text1_GotFocus() {
    log.push_back("Text1_GotFocus");
    Text1.SelectAll();
  }
  void Text2_GotFocus() {
    log.push_back("Text2_GotFocus");
    Text2.SelectAll();
  }
  // Digits and Backspace only.
  void Text2_KeyPress(int16_t& KeyAscii) {
    if (!((KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == ui::vbKeyBack)) KeyAscii = 0;
  }
  void Command1_Click() {
    log.push_back("Command1_Click");
    Unload();
  }
  void Command2_Click() {
    frmChild child;
    child.Show(ui::vbModal);
    child_result = child.result;
  }
};

TEST(FormLife, ModalShowRunsTheDriverAndReturnsAfterUnload) {
  test::UiHarness h;
  frmSample f;
  bool seen_open = false;
  h.OnShow<frmSample>([&](frmSample& w) {
    seen_open = w.Loaded() && w.Visible() && w.ShownModal();
    ui::Click(w.Command1);
  });
  f.Show(ui::vbModal);
  EXPECT_TRUE(seen_open);
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(f.ShownModal());
  EXPECT_TRUE(ui::ModalStack().empty());
  EXPECT_THAT(f.log, ElementsAre("Load", "Resize", "Activate", "Text1_GotFocus", "Text1_LostFocus", "Command1_Click", "QueryUnload 1",
                                 "Unload"));
  EXPECT_THAT(h.ModalShown(), ElementsAre(u"frmSample"));
}

TEST(FormLife, ChildModalWindowBlocksItsParentUntilClosed) {
  test::UiHarness h;
  frmSample f;
  f.Show();
  bool parent_blocked = false;
  h.OnShow<frmChild>([&](frmChild& c) {
    try {
      ui::Click(f.Command1);
    } catch (const ui::InputRejected&) {
      parent_blocked = true;
    }
    ui::Type(c.Text1, u"abc");
    ui::Click(c.Command1);
  });
  ui::Click(f.Command2);
  EXPECT_TRUE(parent_blocked);
  EXPECT_EQ(f.child_result, u"abc");
  EXPECT_TRUE(f.Loaded());
  ui::Click(f.Command1);  // usable again
  EXPECT_FALSE(f.Loaded());
}

TEST(FormLife, CloseBoxAsksQueryUnloadWhichMayCancel) {
  test::UiHarness h;
  frmSample f;
  f.Show();
  f.refuse_close = 1;
  ui::ClickCloseBox(f);
  EXPECT_TRUE(f.Loaded());
  f.refuse_close = 0;
  ui::ClickCloseBox(f);
  EXPECT_FALSE(f.Loaded());
  EXPECT_THAT(std::vector<std::string>(f.log.end() - 3, f.log.end()),
              ElementsAre("QueryUnload 0", "QueryUnload 0", "Unload"));
  EXPECT_THROW(ui::Click(f.Command1), ui::InputRejected);
}

TEST(FormLife, ModalWindowWithoutDriverIsClosedWithItsCloseBox) {
  test::UiHarness h;
  frmSample f;
  f.Show(ui::vbModal);
  EXPECT_FALSE(f.Loaded());
  EXPECT_EQ(f.log.back(), "Unload");
  EXPECT_EQ(f.log[f.log.size() - 2], "QueryUnload 0");
}

TEST(FormLife, DriverThatLeavesTheWindowOpenFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        test::UiHarness h;
        frmSample f;
        h.OnShow<frmSample>([](frmSample&) {});
        f.Show(ui::vbModal);
        EXPECT_FALSE(f.Loaded());  // closed anyway, so the test can go on
      },
      "still open");
}

TEST(FormLife, HideEndsModalShowButKeepsTheWindowLoaded) {
  test::UiHarness h;
  frmSample f;
  h.OnShow<frmSample>([](frmSample& w) { w.Hide(); });
  f.Show(ui::vbModal);
  EXPECT_TRUE(f.Loaded());
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(ui::LoadedForms().back(), &f);
  EXPECT_EQ(f.log.back(), "Text1_GotFocus");
}

TEST(FormLife, HiddenWindowCanBeShownModallyAgainButAVisibleOneCannot) {
  test::UiHarness h;
  frmSample f;
  int shows = 0;
  h.OnShow<frmSample>([&](frmSample& w) {
    ++shows;
    w.Hide();
  });
  f.Show(ui::vbModal);
  f.Show(ui::vbModal);  // loaded and hidden: shown again, Form_Load not run again
  EXPECT_EQ(shows, 2);
  EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "Load"), 1);
  EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "Activate"), 2);
  f.Show();
  try {
    f.Show(ui::vbModal);
    FAIL();
  } catch (const ui::VbError& e) {
    EXPECT_EQ(e.number(), 400);
  }
}

TEST(FormLife, ResizeOnlyWhenShownAndSizeChanges) {
  test::UiHarness h;
  frmSample f;
  f.SetSize(6000, 4000);
  f.Load();
  EXPECT_THAT(f.log, ElementsAre("Load"));
  f.Show();
  f.SetSize(6000, 4000);
  f.SetSize(7000, 4000);
  EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "Resize"), 2);
}

// A window held at a minimum size by its Resize handler.
class frmSizable : public ui::Form {
 public:
  ui::TextBox Text2{*this, u"Text2"};
  int resizes = 0;
  frmSizable() : Form(u"frmSizable") { SetSize(7950, 7635); }
  void Form_Resize() override {
    ++resizes;
    if (Height() > 7635) Text2.SetHeight(Height() - 2100);
    else SetHeight(7635);
    if (Width() < 7950) SetWidth(7950);
  }
};

TEST(FormLife, ResizeHandlerCanSnapTheWindowBackToItsMinimum) {
  test::UiHarness h;
  frmSizable f;
  f.Show();
  ui::ResizeWindow(f, 9000, 9000);
  EXPECT_EQ(f.Text2.Height(), 6900);
  ui::ResizeWindow(f, 5000, 5000);
  EXPECT_EQ(f.Width(), 7950);
  EXPECT_EQ(f.Height(), 7635);
  EXPECT_LT(f.resizes, 8);
  f.SetBorderStyle(3);
  EXPECT_THROW(ui::ResizeWindow(f, 9000, 9000), ui::InputRejected);
}

TEST(Focus, GotFocusSelectsTheWholeTextSoTypingReplacesIt) {
  test::UiHarness h;
  frmSample f;
  f.Text2.SetText(u"15");
  f.Show();
  EXPECT_TRUE(f.Text1.HasFocus());
  ui::Focus(f.Text2);
  EXPECT_EQ(f.Text2.SelStart(), 0);
  EXPECT_EQ(f.Text2.SelLength(), 2);
  ui::Type(f.Text2, u"7");
  EXPECT_EQ(f.Text2.Text(), u"7");
  EXPECT_THAT(std::vector<std::string>(f.log.end() - 2, f.log.end()),
              ElementsAre("Text1_LostFocus", "Text2_GotFocus"));
}

TEST(Focus, SetFocusOnDisabledOrHiddenControlIsAnError) {
  test::UiHarness h;
  frmSample f;
  f.Show();
  f.Text2.SetEnabled(false);
  try {
    f.Text2.SetFocus();
    FAIL() << "no error";
  } catch (const ui::VbError& e) {
    EXPECT_EQ(e.number(), ui::err::InvalidCall);
  }
  EXPECT_THROW(f.Label1.SetFocus(), ui::VbError);
  EXPECT_THROW(ui::Click(f.Text2), ui::InputRejected);
}

TEST(Focus, DisablingTheFocusedControlMovesTheFocusOn) {
  test::UiHarness h;
  frmSample f;
  f.Show();
  ASSERT_TRUE(f.Text1.HasFocus());
  f.Text1.SetEnabled(false);
  EXPECT_TRUE(f.Text2.HasFocus());
  f.Text2.SetVisible(false);
  EXPECT_TRUE(f.Command1.HasFocus());
}

TEST(Focus, TabKeySkipsControlsThatCannotTakeTheFocus) {
  test::UiHarness h;
  frmSample f;
  f.Text2.SetEnabled(false);
  f.Command1.SetTabStop(false);
  f.Show();
  ASSERT_TRUE(f.Text1.HasFocus());
  ui::PressTab(f);
  EXPECT_TRUE(f.Command2.HasFocus());
  ui::PressTab(f);  // round to the start; the label never takes it
  EXPECT_TRUE(f.Text1.HasFocus());
}

TEST(Focus, TabIndexRenumbersTheOthers) {
  test::UiHarness h;
  frmSample f;
  EXPECT_EQ(f.Text1.TabIndex(), 0);
  EXPECT_EQ(f.Command2.TabIndex(), 3);
  f.Command2.SetTabIndex(0);
  EXPECT_EQ(f.Command2.TabIndex(), 0);
  EXPECT_EQ(f.Text1.TabIndex(), 1);
  EXPECT_EQ(f.Label1.TabIndex(), 4);
  f.Show();
  EXPECT_TRUE(f.Command2.HasFocus());  // first in tab order gets the focus
}

TEST(Keys, KeyPressFilterSwallowsKeysSetToZero) {
  test::UiHarness h;
  frmSample f;
  f.Show();
  ui::Type(f.Text2, u"1a2-3");
  EXPECT_EQ(f.Text2.Text(), u"123");
  ui::PressKey(f.Text2, ui::vbKeyBack);
  EXPECT_EQ(f.Text2.Text(), u"12");
  EXPECT_EQ(f.Text2.SelStart(), 2);
}

TEST(Keys, MaxLengthAndLockedLimitTypingButNotCode) {
  test::UiHarness h;
  frmSample f;
  f.Show();
  f.Text1.SetMaxLength(3);
  ui::Type(f.Text1, vb::U("日本語です"));
  EXPECT_EQ(f.Text1.Text(), vb::U("日本語"));
  f.Text1.SetText(u"abcdef");
  EXPECT_EQ(f.Text1.Text(), u"abcdef");
  f.Text1.SetLocked(true);
  ui::Type(f.Text1, u"x");
  EXPECT_EQ(f.Text1.Text(), u"abcdef");
}

TEST(Keys, EnterGoesToTheDefaultButtonEscapeToTheCancelButton) {
  test::UiHarness h;
  frmSample f;
  int escapes = 0;
  f.Command2.OnClick = [&] { ++escapes; };
  f.Command1.SetDefault(true);
  f.Command2.SetCancel(true);
  f.Show();
  ui::PressKey(f.Text1, ui::vbKeyEscape);
  EXPECT_EQ(escapes, 1);
  ui::PressKey(f.Text1, ui::vbKeyReturn);
  EXPECT_FALSE(f.Loaded());
}

TEST(Keys, MultiLineTextBoxTakesEnterAsLineBreak) {
  test::UiHarness h;
  frmSample f;
  f.Text1.SetMultiLine(true);
  f.Command1.SetDefault(true);
  f.Show();
  ui::Type(f.Text1, u"a\r\nb");
  EXPECT_EQ(f.Text1.Text(), u"a\r\nb");
  ui::PressKey(f.Text1, ui::vbKeyBack);
  ui::PressKey(f.Text1, ui::vbKeyBack);
  EXPECT_EQ(f.Text1.Text(), u"a");  // the CR LF pair goes as one
  EXPECT_TRUE(f.Loaded());
}

class frmPreview : public ui::Form {
 public:
  ui::TextBox Text1{*this, u"Text1"};
  frmPreview() : Form(u"frmPreview") { SetKeyPreview(true); }
  void Form_KeyPress(int16_t& KeyAscii) override {
    if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii = static_cast<int16_t>(KeyAscii - 32);
  }
};

TEST(Keys, KeyPreviewLetsTheFormChangeKeysFirst) {
  test::UiHarness h;
  frmPreview f;
  f.Show();
  ui::Type(f.Text1, u"ab1");
  EXPECT_EQ(f.Text1.Text(), u"AB1");
}

TEST(Describe, ControlsDescribeThemselvesForAFrontEnd) {
  test::UiHarness h;
  frmSample f;
  ui::Frame Frame1{f, u"Frame1"};
  f.SetCaption(vb::U("サンプル"));
  f.Command1.SetCaption(vb::U("閉じる"));
  f.Command1.SetToolTipText(vb::U("画面を閉じます"));
  f.Command1.Move(120, 240, 1215, 375);
  f.Text2.SetContainer(&Frame1);
  ui::FormDescription d = f.Describe();
  EXPECT_EQ(d.caption, vb::U("サンプル"));
  auto find = [&](const std::u16string& name) {
    for (auto& c : d.controls)
      if (c.name == name) return c;
    ADD_FAILURE() << "no control";
    return ui::ControlDescription{};
  };
  ui::ControlDescription c1 = find(u"Command1");
  EXPECT_EQ(c1.kind, "CommandButton");
  EXPECT_EQ(c1.caption, vb::U("閉じる"));
  EXPECT_EQ(c1.tool_tip, vb::U("画面を閉じます"));
  EXPECT_EQ(c1.left, 120);
  EXPECT_EQ(c1.top, 240);
  EXPECT_EQ(find(u"Text2").container, u"Frame1");
  EXPECT_EQ(find(u"Text1").container, u"");
}

}  // namespace
}  // namespace tarno
