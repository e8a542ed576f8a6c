// The window services on Qt, and the widgets raising the same events as the
// test harness's input functions.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/japanese_texts.h"
#include "gui/qt_services.h"
#include "gui_driver.h"

namespace tarno::gui {
namespace {

using namespace gui::test;

class ServicesTest : public ::testing::Test {
 protected:
  Desktop desktop_;
  Watchdog watchdog_;
};

TEST_F(ServicesTest, MessageBoxesShowTheButtonSetIconAndTitleAndReturnTheAnswer) {
  struct Row {
    int buttons;
    QMessageBox::StandardButton press;
    int answer;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons shown;
  };
  const Row rows[] = {
      {ui::vbOKOnly | ui::vbInformation, QMessageBox::Ok, ui::vbOK, QMessageBox::Information, QMessageBox::Ok},
      {ui::vbYesNo | ui::vbInformation, QMessageBox::Yes, ui::vbYes, QMessageBox::Information,
       QMessageBox::Yes | QMessageBox::No},
      {ui::vbYesNo | ui::vbQuestion, QMessageBox::No, ui::vbNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
      {ui::vbYesNoCancel | ui::vbExclamation, QMessageBox::Cancel, ui::vbCancel, QMessageBox::Warning,
       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
      {ui::vbOKCancel | ui::vbCritical, QMessageBox::Cancel, ui::vbCancel, QMessageBox::Critical,
       QMessageBox::Ok | QMessageBox::Cancel},
      {ui::vbRetryCancel, QMessageBox::Retry, ui::vbRetry, QMessageBox::NoIcon, QMessageBox::Retry | QMessageBox::Cancel},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.buttons);
    SeenBox seen;
    AnswerBox(r.press, &seen);
    int answer = ui::MsgBox(u"一行目\r\n二行目", r.buttons, u"Tarno Kit");
    EXPECT_EQ(answer, r.answer);
    EXPECT_EQ(seen.text, QString::fromUtf8("一行目\n二行目"));
    EXPECT_EQ(seen.title, QStringLiteral("Tarno Kit"));
    EXPECT_EQ(seen.icon, r.icon);
    EXPECT_EQ(seen.buttons, r.shown);
  }
}

TEST_F(ServicesTest, MessageBoxButtonsSpeakJapaneseAsTheWindowsDo) {
  ASSERT_TRUE(JapaneseQtTexts::Available()) << "Qt's Japanese translations (qt6-translations-l10n) are missing";
  SeenBox seen;
  AnswerBox(QMessageBox::No, &seen);
  EXPECT_EQ(ui::MsgBox(u"保存しますか", ui::vbYesNoCancel | ui::vbQuestion, u"Tarno Kit"), ui::vbNo);
  seen.buttonTexts.replaceInStrings(QStringLiteral("&"), QString());
  seen.buttonTexts.sort();
  EXPECT_EQ(seen.buttonTexts.join(u'|'), QString::fromUtf8("いいえ(N)|はい(Y)|キャンセル")) << seen.buttonTexts.join(u'|').toStdString();
  // Only while the box is up: the program's own boxes keep their language.
  QMessageBox after;
  after.setStandardButtons(QMessageBox::Yes);
  EXPECT_EQ(after.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Yes"));
}

// A window whose timer counts to three ticks and then unloads it.
class TickingForm : public ui::Form {
 public:
  ui::Timer Timer1{*this, u"Timer1"};
  ui::Label Label1{*this, u"Label1"};
  int ticks = 0;
  TickingForm() : Form(u"frmTicking") {
    Timer1.SetInterval(20);
    Timer1.OnTimer = [this] {
      Label1.SetCaption(u"tick " + vb::FromInt(++ticks));
      if (ticks == 3) Unload();
    };
  }
};

TEST_F(ServicesTest, TimersRunOnQtTimersAndAModalShowEndsWhenTheWindowUnloads) {
  TickingForm w;
  QElapsedTimer clock;
  clock.start();
  w.Show(ui::vbModal);  // nothing but the timer closes it
  EXPECT_EQ(w.ticks, 3);
  EXPECT_GE(clock.elapsed(), 55);
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(ui::NextTimerDue(), -1);  // an unloaded window's timer stops
}

class HidingForm : public ui::Form {
 public:
  ui::CommandButton Command1{*this, u"Command1"};
  ui::Label Label1{*this, u"Label1"};
  HidingForm() : Form(u"frmHiding") {
    Command1.SetCaption(u"OK");
    Command1.OnClick = [this] { Hide(); };
  }
};

TEST_F(ServicesTest, AModalShowEndsWhenTheWindowHidesAndTheWindowStaysLoaded) {
  HidingForm w;
  Later([&] { ClickOn(w.Command1); });
  w.Show(ui::vbModal);
  EXPECT_TRUE(w.Loaded());
  ASSERT_NE(desktop_.ViewOf(w), nullptr);
  EXPECT_FALSE(desktop_.ViewOf(w)->isVisible());
  // Changes made in code show at the next DoEvents, which also runs what waits.
  w.Show();
  bool ran = false;
  QTimer::singleShot(0, qApp, [&] { ran = true; });
  w.Label1.SetCaption(u"変更");
  ui::DoEvents();
  EXPECT_TRUE(ran);
  EXPECT_EQ(qobject_cast<QLabel*>(W(w.Label1))->text(), QString::fromUtf8("変更"));
  w.Unload();
}

TEST_F(ServicesTest, TheCloseBoxAsksTheWindowAndUnloadsIt) {
  HidingForm w;
  Later([&] { desktop_.ViewOf(w)->close(); });
  w.Show(ui::vbModal);
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(desktop_.ViewOf(w), nullptr);
}

TEST_F(ServicesTest, ARunTimeErrorInAHandlerIsShownAndTheWindowStaysUsable) {
  HidingForm w;
  int clicks = 0;
  w.Command1.OnClick = [&] {
    if (++clicks == 1) throw ui::VbError(ui::err::InvalidCall, "Invalid procedure call or argument");
    w.Hide();
  };
  SeenBox error;
  Later([&] {
    AnswerBox(QMessageBox::Ok, &error, [&] { ClickOn(w.Command1); });
    ClickOn(w.Command1);
  });
  w.Show(ui::vbModal);
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(error.text.startsWith(QString::fromUtf8("実行時エラー '5':"))) << error.text.toStdString();
  EXPECT_EQ(error.icon, QMessageBox::Critical);
  w.Unload();
}

class DialogForm : public ui::Form {
 public:
  ui::CommonDialog CommonDialog1{*this, u"CommonDialog1"};
  DialogForm() : Form(u"frmDialog") {}
};

// Answers the next file dialog: accepts `path`, or cancels when it is empty.
void AnswerFileDialog(const QString& path, QStringList* filters, int tries = 100) {
  QTimer::singleShot(10, qApp, [=] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d) {
      if (tries > 0) return AnswerFileDialog(path, filters, tries - 1);
      return ADD_FAILURE() << "no file dialog showed; modal: " << (QApplication::activeModalWidget() ? QApplication::activeModalWidget()->metaObject()->className() : "none") << " top-levels: " << QApplication::topLevelWidgets().size();
    }
    if (filters) *filters = d->nameFilters();
    if (path.isEmpty()) return d->reject();
    // Typed into the name field, as a user would.
    auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name) return ADD_FAILURE() << "the file dialog has no name field";
    name->setText(path);
    static_cast<QDialog*>(d)->accept();
  });
}

TEST_F(ServicesTest, CommonDialogsFillTheFileNameAndRaiseCancelErrorWhenCancelled) {
  DialogForm w;
  w.Show();
  auto& d = w.CommonDialog1;
  d.Filter = u"ログ (*.log)|*.log|すべて|*.*";
  d.CancelError = true;
  AnswerFileDialog(QString(), nullptr);
  try {
    d.ShowSave();
    ADD_FAILURE() << "no error for the cancelled dialog";
  } catch (const ui::VbError& e) {
    EXPECT_EQ(e.number(), ui::err::DialogCancelled);
  }
  std::filesystem::path target = std::filesystem::temp_directory_path() / "tarno_gui_dialog.log";
  QStringList filters;
  AnswerFileDialog(QString::fromStdString(target.string()), &filters);
  EXPECT_TRUE(d.ShowSave());
  EXPECT_EQ(d.FileName, target.u16string());
  EXPECT_EQ(d.FileTitle, u"tarno_gui_dialog.log");
  EXPECT_EQ(filters, QStringList({QString::fromUtf8("ログ (*.log)"), QString::fromUtf8("すべて (*.*)")}));
  d.CancelError = false;
  d.FileName = u"unchanged";
  AnswerFileDialog(QString(), nullptr);
  EXPECT_FALSE(d.ShowOpen());
  EXPECT_EQ(d.FileName, u"unchanged");
  w.Unload();
}

TEST_F(ServicesTest, TheFontDialogStartsFromTheFieldsAndGivesBackWindowsFontNames) {
  DialogForm w;
  w.Show();
  auto& d = w.CommonDialog1;
  d.FontName = u"ＭＳ Ｐゴシック";
  d.FontSize = 9;
  d.Flags = ui::cdlCFScreenFonts | ui::cdlCFEffects;
  QString startFamily;
  QTimer::singleShot(50, qApp, [&] {
    auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
    if (!dialog) return ADD_FAILURE() << "no font dialog showed";
    startFamily = dialog->currentFont().family();
    QFont chosen(QStringLiteral("IPAGothic"));
    chosen.setPointSize(12);
    chosen.setUnderline(true);
    dialog->setCurrentFont(chosen);
    static_cast<QDialog*>(dialog)->accept();
  });
  ASSERT_TRUE(d.ShowFont());
  EXPECT_EQ(startFamily, QStringLiteral("IPAPGothic"));
  EXPECT_EQ(d.FontName, u"ＭＳ ゴシック");
  EXPECT_EQ(d.FontSize, 12);
  EXPECT_TRUE(d.FontUnderline);
  w.Unload();
}

TEST_F(ServicesTest, TheClipboardAndTheMousePointerAreTheSystems) {
  SystemClipboard().SetText(u"Dim strName As String");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Dim strName As String"));
  Picture face{2, 1, {0xFF112233, 0x80FFFFFF}, "picComMnt"};
  SystemClipboard().SetData(face);
  EXPECT_FALSE(SystemClipboard().GetText().has_value());
  EXPECT_EQ(SystemClipboard().GetData(), face);
  QGuiApplication::clipboard()->setText(QStringLiteral("from another program"));
  EXPECT_EQ(SystemClipboard().GetText(), u"from another program");

  ui::Screen().SetMousePointer(ui::vbHourglass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui::Screen().SetMousePointer(ui::vbHourglass);
  ui::Screen().SetMousePointer(ui::vbDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(ui::Screen().MousePointer(), ui::vbDefault);
}

// A window that writes down every event its controls raise.
class LoggingForm : public ui::Form {
 public:
  ui::TextBox Text1{*this, u"Text1"};
  ui::CheckBox Check1{*this, u"Check1"};
  ui::ComboBox Combo1{*this, u"Combo1"};
  ui::CommandButton Command1{*this, u"Command1"};
  std::vector<std::string> log;
  LoggingForm() : Form(u"frmLogging") {
    Text1.Move(120, 120, 2000, 300);
    Text1.SetMaxLength(4);
    Check1.Move(120, 600, 2000, 300);
    Check1.SetCaption(u"Check1");
    Combo1.Move(120, 1080, 2000, 300);
    Combo1.SetStyle(ui::vbComboDropdownList);
    for (const char16_t* item : {u"one", u"two", u"three"}) Combo1.AddItem(item);
    Command1.Move(120, 1560, 1200, 400);
    Command1.SetCaption(u"Go");
    Command1.SetDefault(true);
    for (ui::Control* c : Controls()) {
      std::string n = vb::ToUtf8(c->Name());
      c->OnGotFocus = [this, n] { log.push_back(n + ".GotFocus"); };
      c->OnLostFocus = [this, n] { log.push_back(n + ".LostFocus"); };
      c->OnClick = [this, n] { log.push_back(n + ".Click"); };
      c->OnKeyPress = [this, n](int16_t& k) { log.push_back(n + ".KeyPress " + std::to_string(k)); };
    }
    Text1.OnChange = [this] { log.push_back("Text1.Change " + vb::ToUtf8(Text1.Text())); };
  }
};

TEST_F(ServicesTest, WidgetsRaiseTheSameEventsAsTheHarnessInputFunctions) {
  LoggingForm real, scripted;
  real.Show();
  ASSERT_TRUE(WaitActive(real));
  real.log.clear();
  // Typing past MaxLength, Enter (the Default button), a click on the check
  // box, an arrow key in the combo, a click on the button.
  QWidget* text = W(real.Text1);
  QTest::mouseClick(text, Qt::LeftButton);
  QTest::keyClicks(text, QStringLiteral("abcde"));
  QTest::keyClick(text, Qt::Key_Backspace);
  QTest::keyClick(text, Qt::Key_Return);
  ClickOn(real.Check1);
  QWidget* combo = W(real.Combo1);
  combo->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(combo, Qt::Key_Down);
  ClickOn(real.Command1);
  real.Unload();

  scripted.Show();
  scripted.log.clear();
  ui::Focus(scripted.Text1);
  ui::Type(scripted.Text1, u"abcde");
  ui::PressKey(scripted.Text1, ui::vbKeyBack);
  ui::PressKey(scripted.Text1, ui::vbKeyReturn);
  ui::Click(scripted.Check1);
  ui::Focus(scripted.Combo1);
  ui::Choose(scripted.Combo1, 0);
  ui::Click(scripted.Command1);
  scripted.Unload();

  EXPECT_EQ(real.log, scripted.log);
  EXPECT_EQ(real.Text1.Text(), u"abc");
  EXPECT_EQ(real.Check1.Value(), ui::vbChecked);
  EXPECT_EQ(real.Combo1.ListIndex(), 0);
}

}  // namespace
}  // namespace tarno::gui
