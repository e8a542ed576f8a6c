// Standard controls, timers and the window services.
#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/vb_text.h"
#include "support/ui_harness.h"

namespace tarno {
namespace {

using ::testing::ElementsAre;

class frmControls : public ui::Form {
 public:
  ui::ComboBox Combo1{*this, u"Combo1"};
  ui::CheckBox Check1{*this, u"Check1"};
  ui::Frame Frame1{*this, u"Frame1"};
  ui::ControlArray<ui::OptionButton> Option1{*this, u"Option1", 3};
  ui::OptionButton Option2{*this, u"Option2"};
  ui::TextBox Text1{*this, u"Text1"};
  ui::UpDown UpDown1{*this, u"UpDown1"};
  ui::SSTab SSTab1{*this, u"SSTab1"};
  ui::TextBox Text2{*this, u"Text2"};
  ui::Timer Timer1{*this, u"Timer1"};
  ui::Timer Timer2{*this, u"Timer2"};
  ui::CommonDialog CommonDialog1{*this, u"CommonDialog1"};
  std::vector<std::string> log;
  frmControls() : Form(u"frmControls") {
    Combo1.OnClick = [this] { log.push_back("Combo1_Click " + std::to_string(Combo1.ListIndex())); };
    Check1.OnClick = [this] { Check1_Click(); };
    for (auto& o : Option1) o.OnClick = [this, i = o.Index()] { log.push_back("Option1_Click " + std::to_string(i)); };
    Timer1.OnTimer = [this] { log.push_back("Timer1"); };
    Timer2.OnTimer = [this] { log.push_back("Timer2"); };
    UpDown1.OnUpClick = [this] { log.push_back("UpClick"); };
    SSTab1.OnTabClick = [this](int16_t previous) { log.push_back("Tab from " + std::to_string(previous)); };
    for (auto& o : Option1) o.SetContainer(&Frame1);
    Text1.SetContainer(&Frame1);
    Text2.SetContainer(&SSTab1, 1);
  }
  // While unchecked the frame is disabled.
  void Check1_Click() {
    log.push_back("Check1_Click");
    Frame1.SetEnabled(Check1.Value() == ui::vbChecked);
  }
};

TEST(ComboBox, ListIndexRaisesClickOnChangeAndTheUserCanRepeatAChoice) {
  test::UiHarness h;
  frmControls f;
  for (auto t : {u"1", u"2", u"3"}) f.Combo1.AddItem(t);
  f.Combo1.SetListIndex(1);
  f.Combo1.SetListIndex(1);
  EXPECT_EQ(f.Combo1.Text(), u"2");
  f.Show();
  ui::Choose(f.Combo1, 1);
  ui::Choose(f.Combo1, u"3");
  EXPECT_THAT(f.log, ElementsAre("Combo1_Click 1", "Combo1_Click 1", "Combo1_Click 2"));
  EXPECT_THROW(ui::Choose(f.Combo1, 3), ui::InputRejected);
  try {
    f.Combo1.SetListIndex(3);
    FAIL();
  } catch (const ui::VbError& e) {
    EXPECT_EQ(e.number(), ui::err::InvalidPropertyValue);
  }
}

TEST(ComboBox, RemovingItemsKeepsListIndexOnTheSameEntry) {
  test::UiHarness h;
  frmControls f;
  for (auto t : {u"a", u"b", u"c"}) f.Combo1.AddItem(t);
  f.Combo1.SetItemData(2, 42);
  f.Combo1.SetListIndex(2);
  f.Combo1.RemoveItem(0);
  EXPECT_EQ(f.Combo1.ListIndex(), 1);
  EXPECT_EQ(f.Combo1.ItemData(1), 42);
  f.Combo1.RemoveItem(1);
  EXPECT_EQ(f.Combo1.ListIndex(), -1);
  EXPECT_EQ(f.Combo1.Text(), u"");
  EXPECT_THROW(f.Combo1.List(1), ui::VbError);
}

TEST(ComboBox, DropdownListTextMustBeAnEntryAndSortedListsInsertInOrder) {
  test::UiHarness h;
  frmControls f;
  f.Combo1.SetStyle(ui::vbComboDropdownList);
  f.Combo1.SetSorted(true);
  for (auto t : {u"pear", u"Apple", u"fig"}) f.Combo1.AddItem(t);
  EXPECT_EQ(f.Combo1.List(0), u"Apple");
  EXPECT_EQ(f.Combo1.List(2), u"pear");
  EXPECT_EQ(f.Combo1.NewIndex(), 1);
  f.Combo1.SetText(u"pear");
  EXPECT_EQ(f.Combo1.ListIndex(), 2);
  EXPECT_THROW(f.Combo1.SetText(u"plum"), ui::VbError);
}

TEST(CheckBox, ValueRaisesClickAndUserClicksToggle) {
  test::UiHarness h;
  frmControls f;
  f.Check1.SetValue(ui::vbChecked);
  EXPECT_TRUE(f.Frame1.Enabled());
  f.Check1.SetValue(ui::vbChecked);  // no change, no Click
  EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "Check1_Click"), 1);
  f.Show();
  ui::Click(f.Check1);
  EXPECT_EQ(f.Check1.Value(), ui::vbUnchecked);
  EXPECT_FALSE(f.Frame1.Enabled());
  // Controls inside a disabled frame cannot be used.
  EXPECT_FALSE(f.Text1.EffectivelyEnabled());
  EXPECT_THROW(ui::Type(f.Text1, u"5"), ui::InputRejected);
}

TEST(OptionButton, SettingOneClearsTheOthersOfItsContainerOnly) {
  test::UiHarness h;
  frmControls f;
  f.Option2.SetValue(true);
  f.Option1[0].SetValue(true);
  f.Show();
  ui::Click(f.Option1[2]);
  EXPECT_FALSE(f.Option1[0].Value());
  EXPECT_TRUE(f.Option1(2).Value());
  EXPECT_TRUE(f.Option2.Value());  // on the form, not in the frame
  EXPECT_EQ(f.Option1[2].DisplayName(), u"Option1(2)");
  EXPECT_THAT(f.log, ElementsAre("Option1_Click 0", "Option1_Click 2"));
  EXPECT_THROW(f.Option1[3], ui::VbError);
}

TEST(UpDown, StepsStayInRangeAndSyncTheBuddy) {
  test::UiHarness h;
  frmControls f;
  f.Check1.SetValue(ui::vbChecked);
  f.UpDown1.SetMin(1);
  f.UpDown1.SetMax(2);
  f.UpDown1.SetBuddyControl(&f.Text1);
  f.UpDown1.SetSyncBuddy(true);
  f.UpDown1.SetValue(1);
  f.Show();
  ui::ClickUp(f.UpDown1);
  ui::ClickUp(f.UpDown1);
  EXPECT_EQ(f.UpDown1.Value(), 2);
  EXPECT_EQ(f.Text1.Text(), u"2");
  EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "UpClick"), 2);
  f.UpDown1.SetWrap(true);
  ui::ClickUp(f.UpDown1);
  EXPECT_EQ(f.UpDown1.Value(), 1);
}

TEST(SSTab, ControlsOnOtherPagesAreHiddenAndLoseTheFocus) {
  test::UiHarness h;
  frmControls f;
  f.SSTab1.SetTabCaption(1, vb::U("フォント"));
  f.Show();
  EXPECT_FALSE(f.Text2.EffectivelyVisible());
  ui::ChooseTab(f.SSTab1, 1);
  EXPECT_TRUE(f.Text2.EffectivelyVisible());
  ui::Focus(f.Text2);
  f.SSTab1.SetTab(2);
  EXPECT_FALSE(f.Text2.HasFocus());
  EXPECT_THAT(f.log, ElementsAre("Tab from 0", "Tab from 1"));
  EXPECT_THROW(f.SSTab1.SetTab(3), ui::VbError);
}

TEST(Timer, TicksFireInTimeOrderOnlyWhileRunning) {
  test::UiHarness h;
  frmControls f;
  f.Timer1.SetInterval(1000);
  f.Timer2.SetInterval(1500);
  h.AdvanceTime(5000);  // not loaded yet
  EXPECT_TRUE(f.log.empty());
  f.Load();
  h.AdvanceTime(999);
  EXPECT_TRUE(f.log.empty());
  h.AdvanceTime(2001);
  EXPECT_THAT(f.log, ElementsAre("Timer1", "Timer2", "Timer1", "Timer1", "Timer2"));
  f.log.clear();
  f.Timer2.SetTimerEnabled(false);
  f.Timer1.SetInterval(500);  // restarts the count
  h.AdvanceTime(1000);
  EXPECT_THAT(f.log, ElementsAre("Timer1", "Timer1"));
  f.Unload();
  h.AdvanceTime(10000);
  EXPECT_EQ(f.log.size(), 2u);
}

TEST(Timer, AHandlerThatStopsItsTimerStopsItAtOnce) {
  test::UiHarness h;
  frmControls f;
  int ticks = 0;
  f.Timer1.SetInterval(1000);
  f.Timer1.OnTimer = [&] {
    if (++ticks == 2) f.Timer1.SetInterval(0);
  };
  f.Load();
  h.AdvanceTime(10000);
  EXPECT_EQ(ticks, 2);
}

TEST(Timer, NextTimerDueIsTheWaitForTheSoonestRunningTimer) {
  test::UiHarness h;
  frmControls f;
  f.Timer1.SetInterval(1000);
  f.Timer2.SetInterval(1500);
  EXPECT_EQ(ui::NextTimerDue(), -1);  // not loaded: nothing runs
  f.Load();
  EXPECT_EQ(ui::NextTimerDue(), 1000);
  h.AdvanceTime(1200);  // Timer1 fired at 1000
  EXPECT_EQ(ui::NextTimerDue(), 300);
  f.Timer2.SetTimerEnabled(false);
  EXPECT_EQ(ui::NextTimerDue(), 800);
  f.Unload();
  EXPECT_EQ(ui::NextTimerDue(), -1);
}

TEST(Events, DoEventsAndRefreshGoToTheInstalledEventService) {
  struct Recorder : ui::EventService {
    std::vector<std::string> calls;
    void DoEvents() override { calls.push_back("DoEvents"); }
    void Repaint() override { calls.push_back("Repaint"); }
  };
  auto recorder = std::make_shared<Recorder>();
  ui::SetEventService(recorder);
  frmControls f;
  ui::DoEvents();
  f.Refresh();
  f.Text1.Refresh();
  ui::SetEventService(nullptr);
  ui::DoEvents();  // the default only returns
  EXPECT_THAT(recorder->calls, ElementsAre("DoEvents", "Repaint", "Repaint"));
}

TEST(MessageBoxes, ScriptedAnswersAndEveryMessageIsRecorded) {
  test::UiHarness h;
  h.Answer(ui::vbNo);
  EXPECT_EQ(ui::MsgBox(vb::U("保存しました"), ui::vbInformation, u"Tarno Kit"), ui::vbOK);
  EXPECT_EQ(ui::MsgBox(vb::U("終了しますか？"), ui::vbYesNo + ui::vbInformation), ui::vbNo);
  ASSERT_EQ(h.Messages().size(), 2u);
  EXPECT_EQ(h.Messages()[0].Icon(), ui::vbInformation);
  EXPECT_EQ(h.Messages()[0].title, u"Tarno Kit");
  EXPECT_EQ(h.Messages()[1].ButtonSet(), ui::vbYesNo);
  EXPECT_EQ(h.Messages()[1].title, u"");
  EXPECT_THAT(h.MessageTexts(), ElementsAre(vb::U("保存しました"), vb::U("終了しますか？")));
}

TEST(MessageBoxes, UnscriptedQuestionFailsTheTestAndGetsTheDefaultButton) {
  EXPECT_NONFATAL_FAILURE(
      {
        test::UiHarness h;
        EXPECT_EQ(ui::MsgBox(u"?", ui::vbYesNo + ui::vbDefaultButton2), ui::vbNo);
      },
      "without a scripted answer");
  EXPECT_EQ(ui::DefaultAnswer(ui::vbYesNoCancel + ui::vbDefaultButton3), ui::vbCancel);
  EXPECT_EQ(ui::DefaultAnswer(ui::vbOKCancel), ui::vbOK);
}

TEST(CommonDialog, CancelRaisesErrorOnlyWithCancelError) {
  test::UiHarness h;
  frmControls f;
  f.CommonDialog1.Filter = vb::U("logファイル|*.log");
  f.CommonDialog1.FileName = u"*.log";
  h.CancelDialog();
  EXPECT_FALSE(f.CommonDialog1.ShowSave());
  EXPECT_EQ(f.CommonDialog1.FileName, u"*.log");
  f.CommonDialog1.CancelError = true;
  h.CancelDialog();
  try {
    f.CommonDialog1.ShowSave();
    FAIL();
  } catch (const ui::VbError& e) {
    EXPECT_EQ(e.number(), ui::err::DialogCancelled);
  }
  h.ChooseFile(u"C:\\logs\\check.log");
  EXPECT_TRUE(f.CommonDialog1.ShowSave());
  EXPECT_EQ(f.CommonDialog1.FileName, u"C:\\logs\\check.log");
  EXPECT_EQ(f.CommonDialog1.FileTitle, u"check.log");
  ui::StdFont font;
  font.Name = u"Arial";
  font.Bold = true;
  h.ChooseFont(font);
  EXPECT_TRUE(f.CommonDialog1.ShowFont());
  EXPECT_EQ(f.CommonDialog1.FontName, u"Arial");
  EXPECT_TRUE(f.CommonDialog1.FontBold);
  ASSERT_EQ(h.DialogRequests().size(), 4u);
  EXPECT_EQ(h.DialogRequests()[0].filter, vb::U("logファイル|*.log"));
  EXPECT_TRUE(h.DialogRequests()[1].cancel_error);
  EXPECT_EQ(h.DialogRequests()[3].kind, test::DialogRequest::Font);
}

TEST(Services, MousePointerClockAndClipboardAreFakedPerTest) {
  {
    test::UiHarness h;
    ui::Screen().SetMousePointer(ui::vbHourglass);
    ui::Screen().SetMousePointer(ui::vbDefault);
    EXPECT_THAT(h.MousePointerHistory(), ElementsAre(ui::vbHourglass, ui::vbDefault));
    h.SetNow({2024, 2, 29, 23, 59, 0});
    EXPECT_EQ(ui::FormatDateYmd(ui::Now()), u"2024/02/29");
    h.AdvanceTime(61000);
    EXPECT_EQ(ui::Now().minute, 0);
    SystemClipboard().SetText(u"x");
    EXPECT_EQ(h.clipboard().GetText(), u"x");
  }
  EXPECT_NE(SystemClipboard().GetText(), std::optional<std::u16string>(u"x"));
}

}  // namespace
}  // namespace tarno
