// Three tool windows used through their real widgets, as a person would:
// typing, choosing combo entries, ticking boxes, clicking buttons, answering
// the message boxes. Each window runs its own modal loop.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "addin/addin_globals.h"
#include "addin/settings.h"
#include "checks/check_windows.h"
#include "codegen/frm_err_comment.h"
#include "codegen/frm_main.h"
#include "gui_driver.h"
#include "support/host_builders.h"

namespace tarno::gui {
namespace {

using namespace gui::test;
using vb::U;

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  void TearDown() override {
    HostVBE.reset();
    checks::CurrentVariableCheckResult().reset();
    ResetSettings();
  }
  Desktop desktop_;
  Watchdog watchdog_;
};

TEST_F(WindowsTest, CommentRegistrationStoresTypedTextAndAsksBeforeDroppingAChange) {
  SettingsModel& s = Settings();
  s.CommentTexts[0] = U("'一つ目");
  s.CommentTexts[2] = U("'三つ目");
  codegen::frmMain w;
  SeenBox question, again;
  Later([&] {
    // Typing at the end of slot 1, then the combo's arrow key to slot 3:
    // choosing a slot stores the one left.
    ASSERT_TRUE(WaitActive(w));
    auto* editor = qobject_cast<QPlainTextEdit*>(W(w.txtComment));
    ASSERT_NE(editor, nullptr);
    editor->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    Commit(editor, Q("追記"));
    EXPECT_EQ(w.txtComment.Text(), U("'一つ目追記"));
    auto* combo = qobject_cast<QComboBox*>(W(w.Combo1));
    combo->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(w.Combo1.ListIndex(), 2);
    EXPECT_EQ(s.CommentTexts[0], U("'一つ目追記"));
    EXPECT_EQ(editor->toPlainText(), Q("'三つ目"));  // the window's change shows at once
    // A change to slot 3, then 閉じる: the question; No keeps the window.
    editor->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(editor, Q("!"));
    AnswerBox(QMessageBox::No, &question, [&] {
      EXPECT_TRUE(w.Visible());
      AnswerBox(QMessageBox::Yes, &again);
      ClickOn(w.Command2);
    });
    ClickOn(w.Command2);
  });
  w.Show(ui::vbModal);
  EXPECT_EQ(again.text, question.text);
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(question.text, Q("設定が変更されていますが終了しますか？"));
  EXPECT_EQ(question.title, QString());
  EXPECT_EQ(question.icon, QMessageBox::Information);
  EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
  // Yes dropped the change to slot 3 and made it the current slot.
  EXPECT_EQ(s.CommentTexts[2], U("'三つ目"));
  EXPECT_EQ(s.CurrentCommentNo, 2);
  EXPECT_EQ(desktop_.ViewOf(w), nullptr);
}

TEST_F(WindowsTest, UnusedVariableCheckShowsItsResultsWindowAndTheCompletionMessage) {
  auto host = tarno::test::HostBuilder()
                  .Project("Alpha")
                  .Module("Module1", "Private m_unused As Long\nPrivate Sub Foo()\nEnd Sub\n")
                  .Project("Beta")
                  .Module("Clean", "Sub Main()\nEnd Sub\n")
                  .Build();
  HostVBE = host.vbe;
  checks::frmHensuFind w;
  QString report;
  SeenBox done;
  bool finished = false;
  Later([&] {
    ASSERT_TRUE(WaitActive(w));
    // 実行 on the first project's module opens the results window modally.
    Later([&] {
      auto modal = ui::ModalStack();
      ASSERT_EQ(modal.size(), 2u);
      auto* results = dynamic_cast<checks::frmKekka*>(modal.back());
      ASSERT_NE(results, nullptr);
      report = qobject_cast<QPlainTextEdit*>(W(results->Text1))->toPlainText();
      ClickOn(results->Command2);  // 閉じる
      // The second project has nothing unused: the completion message.
      Later([&] {
        auto* combo = qobject_cast<QComboBox*>(W(w.Combo1));
        combo->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(w.ListView1.ListItems.Item(1).Text(), u"Clean");
        ClickOn(w.Check1);  // all modules: the list is disabled
        EXPECT_EQ(w.Check1.Value(), ui::vbChecked);
        EXPECT_FALSE(W(w.ListView1)->isEnabled());
        AnswerBox(QMessageBox::Ok, &done, [&] {
          finished = true;
          ClickOn(w.Command2);
        });
        ClickOn(w.Command1);
      });
    });
    ClickOn(w.Command1);
  });
  w.Show(ui::vbModal);
  EXPECT_TRUE(finished);
  EXPECT_FALSE(w.Loaded());
  EXPECT_TRUE(report.contains(Q("m_unused"))) << report.toStdString();
  EXPECT_TRUE(report.contains(Q("モジュール名：Module1"))) << report.toStdString();
  EXPECT_EQ(done.text, Q("正常終了しました"));
  EXPECT_EQ(done.icon, QMessageBox::Information);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone
}

TEST_F(WindowsTest, ErrorTextRegistrationRefusesAnEmptyLabelThenStoresWhatWasTyped) {
  SettingsModel& s = Settings();
  s.ErrHeaderLabel = u"ErrOld";
  s.ErrFooterText = u"Resume Next";
  s.ErrExitFlag = u"1";
  codegen::frmErrComment w;
  SeenBox refusal;
  bool refocused = false;
  Later([&] {
    ASSERT_TRUE(WaitActive(w));
    // Text1 has the focus and its text selected: Backspace clears it.
    auto* label = qobject_cast<QLineEdit*>(W(w.Text1));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->selectedText(), Q("ErrOld"));
    QTest::keyClick(label, Qt::Key_Backspace);
    EXPECT_EQ(w.Text1.Text(), u"");
    AnswerBox(QMessageBox::Ok, &refusal, [&, label] {
      refocused = w.Text1.HasFocus() && WaitActive(w) && QApplication::focusWidget() == label;
      QTest::keyClicks(label, Q("ErrTrap"));
      ClickOn(w.Check1);
      ClickOn(w.Command1);  // 登録
    });
    ClickOn(w.Command1);
  });
  w.Show(ui::vbModal);
  EXPECT_EQ(refusal.text, Q("ラベル名を入力してください"));
  EXPECT_EQ(refusal.title, Q("Tarno Kit"));
  EXPECT_EQ(refusal.icon, QMessageBox::Warning);
  EXPECT_TRUE(refocused);
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(s.ErrHeaderLabel, u"ErrTrap");
  EXPECT_EQ(s.ErrFooterText, u"Resume Next");
  EXPECT_EQ(s.ErrExitFlag, u"0");
}

}  // namespace
}  // namespace tarno::gui
