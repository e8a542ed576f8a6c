// The folder name dialog and the pattern editor, opened through Init as the
// browser opens them, over a temporary pattern root.
#include <gmock/gmock.h>

#include "pattern_fixture.h"
#include "patterns/frm_code_patrn_add_folder.h"
#include "patterns/frm_code_patrn_input.h"
#include "patterns/pattern_edits.h"
#include "patterns/pattern_store.h"
#include "platform/text_file.h"
#include "support/ui_harness.h"

namespace tarno::patterns {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vb::U;

class EditorTest : public test::PatternFolderTest {
 protected:
  void SetUp() override {
    PatternFolderTest::SetUp();
    CreatePatternRoot();
  }

  // Opens the folder dialog with `name`, types `typed` and presses the store
  // button; a refused name is answered and the dialog closed. Returns Init's result.
  std::u16string FolderDialog(std::u16string name, const std::u16string& typed, std::u16string* caption = nullptr) {
    ui_.OnShow<frmCodePatrnAddFolder>([&](frmCodePatrnAddFolder& f) {
      if (caption) *caption = f.Command1.Caption();
      f.Text1.SetText(typed);
      ui::Click(f.Command1);
      if (f.Visible()) {
        focus_ = f.ActiveControl() ? f.ActiveControl()->Name() : u"";
        ui::Click(f.Command3);
      }
    });
    frmCodePatrnAddFolder dialog;
    dialog.Init(name);
    return name;
  }

  // Opens the pattern editor for `file` in `folder`; `act` acts on it. If the
  // window is still open afterwards it is closed with the close button.
  std::u16string Editor(const std::u16string& folder, std::u16string file,
                        const std::function<void(frmCodePatrnInput&)>& act) {
    ui_.OnShow<frmCodePatrnInput>([&](frmCodePatrnInput& f) {
      act(f);
      if (f.Visible()) {
        focus_ = f.ActiveControl() ? f.ActiveControl()->Name() : u"";
        ui::Click(f.Command3);
      }
    });
    frmCodePatrnInput editor;
    editor.Init(folder, file);
    return file;
  }
  static std::function<void(frmCodePatrnInput&)> Store(const std::u16string& name, const std::u16string& code) {
    return [=](frmCodePatrnInput& f) {
      f.Text1.SetText(name);
      f.Text2.SetText(code);
      ui::Click(f.Command1);
    };
  }

  test::UiHarness ui_;
  std::u16string focus_;  // the control with the focus when a refusal left the window open
};

TEST_F(EditorTest, FolderNamesAreCheckedInOrderAndARefusalKeepsTheFocusInTheBox) {
  MakeFolder("Used");
  struct Case {
    std::u16string current, typed;
    const char* message;
  } cases[] = {
      {u"", u"", msg::EnterFolderName},
      {u"", u"   ", msg::EnterFolderName},
      {u"", u"../Escape", msg::FolderNameUnusable},
      {u"", u"../CodePatrn", msg::FolderNameUnusable},  // before the existence test: it lies there
      {u"", u"a/b", msg::FolderNameUnusable},
      {u"", u"a\\b", msg::FolderNameUnusable},
      {u"", u" .. ", msg::FolderNameUnusable},
      {u"", u".hidden", msg::FolderNameUnusable},
      {u"", std::u16string(300, u'x'), msg::FolderNameUnusable},
      {u"", u" Used ", msg::FolderNameExists},
      {u"Used", u"Used", msg::FolderNameExists},  // renaming to its own name
  };
  std::set<std::string> before = Tree(dir_);
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.typed));
    ui_.ClearMessages();
    focus_.clear();
    EXPECT_EQ(FolderDialog(c.current, c.typed), u"");
    ASSERT_THAT(ui_.MessageTexts(), ElementsAre(U(c.message)));
    EXPECT_EQ(ui_.Messages()[0].Icon(), ui::vbExclamation);
    EXPECT_EQ(ui_.Messages()[0].title, u"Tarno Kit");
    EXPECT_EQ(focus_, u"Text1");
  }
  EXPECT_EQ(Tree(dir_), before);
}

TEST_F(EditorTest, AFolderIsCreatedAndRenamedUnderItsTrimmedNameAndKeepsItsPatterns) {
  std::u16string caption;
  EXPECT_EQ(FolderDialog(u"", U("  エラー処理  "), &caption), U("エラー処理"));
  EXPECT_EQ(caption, U("作成"));
  EXPECT_TRUE(fs::is_directory(At("エラー処理")));
  PutPattern("エラー処理", "Header.Dat", "On Error GoTo ErrHandler\r\n");

  EXPECT_EQ(FolderDialog(U("エラー処理"), u" Errors ", &caption), u"Errors");
  EXPECT_EQ(caption, U("変更"));
  EXPECT_FALSE(fs::exists(At("エラー処理")));
  EXPECT_EQ(Bytes(At("Errors", "Header.Dat")), "On Error GoTo ErrHandler\r\n");
  EXPECT_THAT(ui_.Messages(), IsEmpty());
}

TEST_F(EditorTest, ClosingEitherWindowReturnsNothingAndChangesNothing) {
  MakeFolder("F");
  std::set<std::string> before = Tree(dir_);
  std::u16string name = u"F";
  ui_.OnShow<frmCodePatrnAddFolder>([](frmCodePatrnAddFolder& f) {
    f.Text1.SetText(u"G");
    ui::Click(f.Command3);
  });
  frmCodePatrnAddFolder().Init(name);
  EXPECT_EQ(name, u"");
  std::u16string closed = u"F";
  ui_.OnShow<frmCodePatrnAddFolder>([](frmCodePatrnAddFolder& f) { ui::ClickCloseBox(f); });
  frmCodePatrnAddFolder().Init(closed);
  EXPECT_EQ(closed, u"");
  EXPECT_EQ(Editor(u"F", u"", [](frmCodePatrnInput& f) {
              f.Text1.SetText(u"p");
              f.Text2.SetText(u"x");
              ui::ClickCloseBox(f);
            }),
            u"");
  EXPECT_EQ(Tree(dir_), before);
}

TEST_F(EditorTest, PatternInputIsCheckedInOrderWithTheFocusOnTheBoxAtFault) {
  MakeFolder("F");
  PutPattern("F", "Used.Dat", "x\r\n");
  PutPattern("F", "a.b.Dat", "x\r\n");
  struct Case {
    std::u16string name, code;
    const char* message;
    const char16_t* focus;
  } cases[] = {
      {u"", u"x", msg::EnterPatternName, u"Text1"},
      {u"  ", u"x", msg::EnterPatternName, u"Text1"},
      {u"a.b", u"x", msg::PatternNameUnusable, u"Text1"},  // before the existence test: a.b.Dat exists
      {u"../up", u"x", msg::PatternNameUnusable, u"Text1"},
      {u"a/b", u"x", msg::PatternNameUnusable, u"Text1"},
      {u"a\\b", u"x", msg::PatternNameUnusable, u"Text1"},
      {std::u16string(252, u'n'), u"x", msg::PatternNameUnusable, u"Text1"},
      {u"Used", u"", msg::PatternNameUsed, u"Text1"},
      {u"New", u"   ", msg::EnterCode, u"Text2"},
      {u"New", u"", msg::EnterCode, u"Text2"},
  };
  std::set<std::string> before = Tree(dir_);
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.name));
    ui_.ClearMessages();
    focus_.clear();
    EXPECT_EQ(Editor(u"F", u"", Store(c.name, c.code)), u"");
    ASSERT_THAT(ui_.MessageTexts(), ElementsAre(U(c.message)));
    EXPECT_EQ(ui_.Messages()[0].Icon(), ui::vbExclamation);
    EXPECT_EQ(focus_, c.focus);
  }
  EXPECT_EQ(Tree(dir_), before);
}

TEST_F(EditorTest, ANewPatternKeepsItsNameAsTypedAndCodeOfEmptyLinesIsAccepted) {
  MakeFolder("F");
  std::u16string caption;
  EXPECT_EQ(Editor(u"F", u"",
                   [&](frmCodePatrnInput& f) {
                     caption = f.Command1.Caption();
                     Store(u" a ", u"  Dim i As Long  ")(f);
                   }),
            u" a .Dat");
  EXPECT_EQ(caption, U("登録"));
  EXPECT_EQ(Bytes(At("F", " a .Dat")), "Dim i As Long\r\n");
  EXPECT_EQ(Editor(u"F", u"", Store(u"Blank", u"\r\n\r\n")), u"Blank.Dat");
  EXPECT_EQ(Bytes(At("F", "Blank.Dat")), "\r\n\r\n");
  EXPECT_THAT(ui_.Messages(), IsEmpty());
}

TEST_F(EditorTest, EditModeShowsThePatternAndStoresItOnlyUnderANewNameRemovingTheOld) {
  MakeFolder("F");
  PutPattern("F", "Sample.Dat", test::Sjis("' 見本\r\nDim a\r\n"));
  std::u16string name, code, caption;
  auto look = [&](frmCodePatrnInput& f) {
    name = f.Text1.Text();
    code = f.Text2.Text();
    caption = f.Command1.Caption();
  };
  EXPECT_EQ(Editor(u"F", u"Sample.Dat",
                   [&](frmCodePatrnInput& f) {
                     look(f);
                     ui::Click(f.Command1);  // unchanged: its own file is a name in use
                   }),
            u"");
  EXPECT_EQ(name, u"Sample");
  EXPECT_EQ(code, U("' 見本\r\nDim a\r\n"));
  EXPECT_EQ(caption, U("修正"));
  EXPECT_THAT(ui_.MessageTexts(), ElementsAre(U(msg::PatternNameUsed)));

  EXPECT_EQ(Editor(u"F", u"Sample.Dat",
                   [](frmCodePatrnInput& f) {
                     f.Text1.SetText(u"Sample2");
                     ui::Click(f.Command1);
                   }),
            u"Sample2.Dat");
  // Read and stored again: not one byte more.
  EXPECT_EQ(Tree(At("F")), std::set<std::string>{"Sample2.Dat"});
  EXPECT_EQ(Bytes(At("F", "Sample2.Dat")), test::Sjis("' 見本\r\nDim a\r\n"));
}

TEST_F(EditorTest, EditingAVanishedPatternSaysSoAndStoresTheNewOneAlone) {
  MakeFolder("F");
  std::u16string name, code;
  EXPECT_EQ(Editor(u"F", u"Gone.Dat",
                   [&](frmCodePatrnInput& f) {
                     name = f.Text1.Text();
                     code = f.Text2.Text();
                     Store(u"Again", u"x")(f);
                   }),
            u"Again.Dat");
  EXPECT_EQ(name, u"Gone");
  EXPECT_EQ(code, u"");
  EXPECT_THAT(ui_.MessageTexts(), ElementsAre(U(msg::PatternGone)));
  EXPECT_EQ(Tree(At("F")), std::set<std::string>{"Again.Dat"});
  // A hand-made file name without a dot is shown whole.
  PutPattern("F", "zDat", "z\r\n");
  EXPECT_EQ(Editor(u"F", u"zDat", [&](frmCodePatrnInput& f) { name = f.Text1.Text(); }), u"");
  EXPECT_EQ(name, u"zDat");
}

TEST_F(EditorTest, AFailedWriteInEditModeKeepsTheOldPatternAndTheWindowOpen) {
  MakeFolder("F");
  PutPattern("F", "Old.Dat", "keep me\r\n");
  fs::create_directories(At("F", "Blocked.Dat"));  // a folder where the new file would go
  bool stillOpen = false;
  EXPECT_EQ(Editor(u"F", u"Old.Dat",
                   [&](frmCodePatrnInput& f) {
                     f.Text1.SetText(u"Blocked");
                     ui::Click(f.Command1);
                     stillOpen = f.Visible();
                   }),
            u"");
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].Icon(), ui::vbExclamation);
  EXPECT_EQ(test::FirstLine(ui_.Messages()[0].text), U("コードパターンを登録できませんでした"));
  EXPECT_EQ(Bytes(At("F", "Old.Dat")), "keep me\r\n");
  EXPECT_EQ(Tree(At("F")), (std::set<std::string>{"Old.Dat", "Blocked.Dat"}));
}

TEST_F(EditorTest, APatternThatCannotBeReadIsNotOpenedForStoringAndStaysOnDisk) {
  MakeFolder("F");
  PutPattern("F", "Sample.Dat", "keep me\r\n");
  files::SimulateUnreadableFile(At("F", "Sample.Dat"));
  bool opened = false;
  std::u16string result = Editor(u"F", u"Sample.Dat", [&](frmCodePatrnInput& f) {
    opened = true;
    Store(u"Renamed", u"x")(f);  // what a user would do with the empty box
  });
  files::SimulateUnreadableFile({});
  EXPECT_EQ(result, u"");
  EXPECT_FALSE(opened);
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].Icon(), ui::vbExclamation);
  EXPECT_EQ(test::FirstLine(ui_.Messages()[0].text), U(msg::PatternUnreadable));
  EXPECT_NE(ui_.Messages()[0].text.find(u"Sample.Dat"), std::u16string::npos);
  EXPECT_EQ(Tree(At("F")), std::set<std::string>{"Sample.Dat"});
  EXPECT_EQ(Bytes(At("F", "Sample.Dat")), "keep me\r\n");
}

TEST_F(EditorTest, CodeTheCodePageCannotHoldIsRefusedNamingTheCharacters) {
  MakeFolder("F");
  struct Case {
    std::u16string code;
    std::u16string named;  // what the message names after the colon
  } cases[] = {
      {u"MsgBox \"\U0001F600\"", u"\U0001F600 (U+1F600)"},
      {u"' caf\u00E9 \u00DF \u00E9", u"\u00E9 (U+00E9), \u00DF (U+00DF)"},  // each once, in order
      {u"' \u2460 is held, \u20AC is not", u"\u20AC (U+20AC)"},
      {std::u16string(u"' x") + char16_t(0xD800) + u"y", u"(U+D800)"},  // a lone surrogate is only named
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.named));
    ui_.ClearMessages();
    focus_.clear();
    EXPECT_EQ(Editor(u"F", u"", Store(u"P", c.code)), u"");
    ASSERT_EQ(ui_.Messages().size(), 1u);
    EXPECT_EQ(ui_.Messages()[0].text, U(msg::CodeUnencodable) + u": " + c.named);
    EXPECT_EQ(focus_, u"Text2");
  }
  EXPECT_EQ(Tree(At("F")), std::set<std::string>{});
}

TEST_F(EditorTest, TheEditorSnapsBackToItsSmallestSizeAndFollowsALargerOne) {
  struct Layout {
    int width, height, text2Width, text2Height, buttonTop, command1Left, command3Left;
  };
  Layout seen[2];
  ui_.OnShow<frmCodePatrnInput>([&](frmCodePatrnInput& f) {
    for (int i = 0; i < 2; ++i) {
      i == 0 ? ui::ResizeWindow(f, 5000, 4000) : ui::ResizeWindow(f, 9950, 8635);
      seen[i] = {f.Width(), f.Height(), f.Text2.Width(), f.Text2.Height(), f.Command1.Top(), f.Command1.Left(),
                 f.Command3.Left()};
      EXPECT_EQ(f.Command3.Top(), f.Command1.Top());
    }
    ui::Click(f.Command3);
  });
  std::u16string file;
  frmCodePatrnInput().Init(u"F", file);
  EXPECT_EQ(seen[0].width, 7950);
  EXPECT_EQ(seen[0].height, 7635);
  EXPECT_EQ(seen[0].text2Width, 7575);
  EXPECT_EQ(seen[0].text2Height, 5535);
  EXPECT_EQ(seen[0].buttonTop, 6720);
  EXPECT_EQ(seen[0].command1Left, 5160);
  EXPECT_EQ(seen[0].command3Left, 6480);
  EXPECT_EQ(seen[1].text2Width, 9950 - 375);
  EXPECT_EQ(seen[1].text2Height, 8635 - 2100);
  EXPECT_EQ(seen[1].buttonTop, 8635 - 915);
  EXPECT_EQ(seen[1].command1Left, 9950 - 2790);
  EXPECT_EQ(seen[1].command3Left, 9950 - 1470);
}

TEST_F(EditorTest, TheNameBoxSelectsItsWholeTextOnFocus) {
  MakeFolder("F");
  PutPattern("F", "Sample.Dat", "x\r\n");
  Editor(u"F", u"Sample.Dat", [](frmCodePatrnInput& f) {
    ui::Focus(f.Text2);
    ui::Focus(f.Text1);
    EXPECT_EQ(f.Text1.SelText(), u"Sample");
  });
  ui_.OnShow<frmCodePatrnAddFolder>([](frmCodePatrnAddFolder& f) {
    ui::Focus(f.Command1);
    ui::Focus(f.Text1);
    EXPECT_EQ(f.Text1.SelText(), u"F");
    ui::Click(f.Command3);
  });
  std::u16string name = u"F";
  frmCodePatrnAddFolder().Init(name);
}

}  // namespace
}  // namespace tarno::patterns
