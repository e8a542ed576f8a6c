#include "addin/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/code_page.h"
#include "platform/profile.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno {
namespace {
namespace fs = std::filesystem;
using vb::U;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarno_settings_XXXXXX";
    root_ = mkdtemp(tmpl);
    sys_ = root_ / "sys";  // not there yet: the first save creates it
    ::setenv("TARNO_SYSTEM_DIR", sys_.c_str(), 1);
    SetSystemCodePage(CodePage::Cp932());
    GetSystemDir(model_);
    ini_ = sys_ / "TarnoAddIn.ini";
  }
  void TearDown() override {
    ::unsetenv("TARNO_SYSTEM_DIR");
    fs::remove_all(root_);
  }
  void PutFile(const std::string& bytes) {
    fs::create_directories(sys_);
    files::WriteAllBytes(ini_, bytes);
  }
  std::string File() const { return files::ReadAllBytes(ini_); }
  std::string Raw(const char* section, const char* key) const {
    std::string out;
    win::GetPrivateProfileStringA(section, key, "<none>", out, 4096, ini_);
    return out;
  }
  // Saves the model and loads the file into a fresh one.
  SettingsModel RoundTrip() {
    EXPECT_TRUE(SaveSettings(model_));
    SettingsModel fresh;
    GetSystemDir(fresh);
    LoadSettings(fresh);
    EXPECT_TRUE(fresh.LoadCompleted);
    return fresh;
  }
  std::shared_ptr<clsCotrolStyle> Pattern(const std::u16string& name) {
    auto r = std::make_shared<clsCotrolStyle>();
    r->SetPatrnName(name);
    model_.PatternCollection.Add(r);
    ++model_.PatternCount;
    return r;
  }

  fs::path root_, sys_, ini_;
  SettingsModel model_;
};

TEST_F(SettingsTest, SystemDirComesFromThePlatform) {
  EXPECT_EQ(model_.SystemDir, sys_.native());
  EXPECT_EQ(SettingsFilePath(model_), ini_);
  // Without any folder to go by (restored below: other tests need HOME).
  std::string home = ::getenv("HOME") ? ::getenv("HOME") : "";
  std::string xdg = ::getenv("XDG_CONFIG_HOME") ? ::getenv("XDG_CONFIG_HOME") : "";
  ::unsetenv("TARNO_SYSTEM_DIR");
  ::setenv("HOME", "", 1);
  ::unsetenv("XDG_CONFIG_HOME");
  SettingsModel other;
  other.SystemDir = "kept";
  GetSystemDir(other);  // unknown: left as it was
  EXPECT_EQ(other.SystemDir, "kept");
  // A folder too long for the 255-byte buffer is not taken half.
  ::setenv("TARNO_SYSTEM_DIR", ("/" + std::string(300, 'd')).c_str(), 1);
  GetSystemDir(other);
  EXPECT_EQ(other.SystemDir, "kept");
  ::setenv("HOME", home.c_str(), 1);
  if (!xdg.empty()) ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
}

TEST_F(SettingsTest, FirstConnectionReadsNothingAndTheFirstSaveWritesEveryKey) {
  LoadSettings(model_);
  EXPECT_TRUE(model_.LoadCompleted);
  EXPECT_EQ(model_.AutoSaveInterval, 0);  // no file: fields keep their zero values
  EXPECT_EQ(model_.ErrExitFlag, u"");
  ASSERT_TRUE(SaveSettings(model_));
  EXPECT_EQ(File(),
            "[COMMENT_NO]\r\nNO=0\r\n[COMMENT]\r\n1=\r\n2=\r\n3=\r\n4=\r\n5=\r\n6=\r\n7=\r\n8=\r\n9=\r\n"
            "10=\r\n[Project]\r\nSaved=0\r\nInterval=0\r\nMsgFlg=0\r\n[ERRCOMMENT]\r\nErrExitFlg=\r\n"
            "ErrHeader=\r\nErrHuter=\r\n");
  // No patterns: neither the count nor any pattern section is written.
  EXPECT_EQ(Raw("CONTROL_NO", "NO"), "<none>");
}

TEST_F(SettingsTest, TwoLineCommentIsStoredRunTogetherAndReadBack) {
  LoadSettings(model_);
  model_.CommentTexts[0] = u"'a\r\n'b";
  model_.CommentTexts[9] = U("'日本語\r\n'二行目");
  model_.CurrentCommentNo = 9;
  SettingsModel back = RoundTrip();
  EXPECT_EQ(Raw("COMMENT", "1"), "'a'b");
  EXPECT_EQ(back.CommentTexts[0], u"'a\r\n'b");
  EXPECT_EQ(back.CommentTexts[9], U("'日本語\r\n'二行目"));
  EXPECT_EQ(back.CommentTexts[5], u"");
  EXPECT_EQ(back.CurrentCommentNo, 9);
}

TEST_F(SettingsTest, ApostropheInsideACommentLineStartsANewLine) {
  LoadSettings(model_);
  model_.CommentTexts[1] = u"'don't";
  EXPECT_EQ(RoundTrip().CommentTexts[1], u"'don\r\n't");
  EXPECT_EQ(DecodeComment(u"x'y"), u"x\r\n'y");
  EXPECT_EQ(DecodeComment(u"''"), u"'\r\n'");
}

TEST_F(SettingsTest, FootersWithEmptyLinesSurvive) {
  LoadSettings(model_);
  model_.ErrFooterText = u"Exit Sub\r\n\r\nEnd";
  EXPECT_EQ(RoundTrip().ErrFooterText, u"Exit Sub\r\n\r\nEnd");
  EXPECT_EQ(Raw("ERRCOMMENT", "ErrHuter"), "Exit Sub*9*9*9*9End");
  model_.ErrFooterText = u"\r\nSecond";
  EXPECT_EQ(RoundTrip().ErrFooterText, u"\r\nSecond");
}

TEST_F(SettingsTest, BlankOrMissingFooterKeepsWhatTheModelHeld) {
  PutFile("[ERRCOMMENT]\r\nErrHuter=\"   \"\r\n");
  model_.ErrFooterText = u"held";
  LoadSettings(model_);
  EXPECT_EQ(model_.ErrFooterText, u"held");
  PutFile("[Project]\r\nSaved=1\r\n");
  LoadSettings(model_);
  EXPECT_EQ(model_.ErrFooterText, u"held");
}

TEST_F(SettingsTest, MissingKeysGiveTheirDefaults) {
  PutFile("[Project]\r\nSaved=1\r\n[ERRCOMMENT]\r\nErrHeader=ErrLabel\r\n");
  model_.CurrentCommentNo = 5;
  model_.AutoSaveMsgFlag = 1;
  model_.CommentTexts[3] = u"'old";
  LoadSettings(model_);
  EXPECT_TRUE(model_.LoadCompleted);
  EXPECT_EQ(model_.AutoSaveOn, 1);
  EXPECT_EQ(model_.AutoSaveInterval, 1);
  EXPECT_EQ(model_.AutoSaveMsgFlag, 0);
  EXPECT_EQ(model_.CurrentCommentNo, 0);
  EXPECT_EQ(model_.CommentTexts[3], u"");
  EXPECT_EQ(model_.PatternCount, 0);
  EXPECT_EQ(model_.ErrExitFlag, u"0");
  EXPECT_EQ(model_.ErrHeaderLabel, u"ErrLabel");
}

TEST_F(SettingsTest, WholeNumbersRoundHalvesToEven) {
  PutFile("[COMMENT_NO]\r\nNO=3.5\r\n[Project]\r\nSaved=0.5\r\nInterval=2.5\r\nMsgFlg=1\r\n"
          "[ERRCOMMENT]\r\nErrExitFlg=1.5\r\n");
  LoadSettings(model_);
  EXPECT_EQ(model_.CurrentCommentNo, 4);
  EXPECT_EQ(model_.AutoSaveOn, 0);
  EXPECT_EQ(model_.AutoSaveInterval, 2);
  EXPECT_EQ(model_.ErrExitFlag, u"2");
}

TEST_F(SettingsTest, MalformedNumberFailsTheLoadAndTheFileSurvives) {
  const std::string stored =
      "[COMMENT_NO]\r\nNO=2\r\n[COMMENT]\r\n1='keep me\r\n[Project]\r\nSaved=1\r\nInterval=abc\r\n"
      "[ERRCOMMENT]\r\nErrHeader=Label\r\n";
  PutFile(stored);
  try {
    LoadSettings(model_);
    FAIL() << "no error";
  } catch (const SettingsError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("TarnoAddIn.ini"), std::string::npos) << what;
    EXPECT_NE(what.find("[Project] Interval"), std::string::npos) << what;
    EXPECT_NE(what.find("abc"), std::string::npos) << what;
  }
  EXPECT_FALSE(model_.LoadCompleted);
  EXPECT_EQ(model_.CurrentCommentNo, 2);  // partly filled
  EXPECT_EQ(model_.ErrHeaderLabel, u"");
  EXPECT_FALSE(SaveSettings(model_));     // the partial model must not replace the file
  EXPECT_EQ(File(), stored);
}

TEST_F(SettingsTest, SaveWithoutALoadOrWithoutASystemDirWritesNothing) {
  EXPECT_FALSE(SaveSettings(model_));  // never loaded
  EXPECT_FALSE(fs::exists(ini_));
  SettingsModel nodir;
  LoadSettings(nodir);
  EXPECT_FALSE(nodir.LoadCompleted);
  EXPECT_FALSE(SaveSettings(nodir));
}

TEST_F(SettingsTest, OutOfRangeAndMissingPatternNumbersFailTheLoad) {
  PutFile("[Project]\r\nSaved=40000\r\n");
  EXPECT_THROW(LoadSettings(model_), SettingsError);
  PutFile("[CONTROL_NO]\r\nNO=1\r\n[CONTROL_NO1]\r\nPatrnName=x\r\nType=0\r\n");
  try {
    LoadSettings(model_);
    FAIL() << "no error";
  } catch (const SettingsError& e) {
    EXPECT_NE(std::string(e.what()).find("[CONTROL_NO1] Alignment: expected a whole number, found no value"),
              std::string::npos)
        << e.what();
  }
  EXPECT_EQ(model_.PatternCollection.Count(), 0);  // the half-read record is not added
  PutFile("[CONTROL_NO]\r\nNO=-2\r\n");
  EXPECT_THROW(LoadSettings(model_), SettingsError);
  EXPECT_FALSE(model_.LoadCompleted);
}

TEST_F(SettingsTest, EveryPatternPropertySurvivesASaveAndALoad) {
  LoadSettings(model_);
  auto p = Pattern(U("見出しラベル"));
  p->SetCType(1);
  p->SetFlg(u"1");
  p->SetAlignment(2);
  p->SetBackStyle(0);
  p->SetCaption(U("表示"));
  p->SetEnabled(1);
  p->SetFont(U("ＭＳ 明朝"));
  p->SetFontSize(12);
  p->SetFontBold(true);
  p->SetFontItalic(true);
  p->SetFontStrikethru(false);
  p->SetFontUnderline(true);
  p->SetHeight(375);
  p->SetIMEMode(4);
  p->SetLeft(-120);
  p->SetLocked(0);
  p->SetMaxLength(65535);
  p->SetTag(U("タグ;  with ; semicolons"));
  p->SetTop(2400);
  p->SetWidth(1815);
  SettingsModel back = RoundTrip();
  ASSERT_EQ(back.PatternCount, 1);
  ASSERT_EQ(back.PatternCollection.Count(), 1);
  EXPECT_EQ(back.PatternCollection.Item(1), *p);
  EXPECT_EQ(Raw("CONTROL_NO1", "FontBold"), "True");
  EXPECT_EQ(Raw("CONTROL_NO1", "FontStrikethru"), "False");
  EXPECT_EQ(Raw("CONTROL_NO1", "Type"), "1");
}

TEST_F(SettingsTest, MissingTextKeysOfAPatternGiveEmptyTexts) {
  PutFile("[CONTROL_NO]\r\nNO=1\r\n[CONTROL_NO1]\r\nType=2\r\nAlignment=0\r\nBackStyle=1\r\nEnabled=0\r\n"
          "FontSize=9\r\nFontBold=False\r\nFontItalic=false\r\nFontStrikethru=0\r\nFontUnderline=True\r\n"
          "Height=1\r\nIMEMode=0\r\nLeft=2\r\nLocked=1\r\nMaxLength=0\r\nTop=3\r\nWidth=4\r\n");
  LoadSettings(model_);
  ASSERT_EQ(model_.PatternCollection.Count(), 1);
  const clsCotrolStyle& p = model_.PatternCollection.Item(1);
  EXPECT_EQ(p.PatrnName(), u"");
  EXPECT_EQ(p.Font(), u"");  // not the record's default font
  EXPECT_EQ(p.Flg(), u"0");
  EXPECT_EQ(p.CType(), 2);
  EXPECT_TRUE(p.FontUnderline());
  EXPECT_EQ(p.Width(), 4);
}

TEST_F(SettingsTest, FivePatternsTwoDeletedAreRenumbered) {
  LoadSettings(model_);
  for (const char16_t* name : {u"P1", u"P2", u"P3", u"P4", u"P5"}) Pattern(name);
  ASSERT_TRUE(SaveSettings(model_));
  EXPECT_EQ(Raw("CONTROL_NO5", "PatrnName"), "P5");

  model_.PatternCollection.Item(2).SetDelFlg(1);
  model_.PatternCollection.Item(4).SetDelFlg(1);
  model_.ErrHeaderLabel = u"ErrHandler";
  ASSERT_TRUE(SaveSettings(model_));
  EXPECT_EQ(Raw("CONTROL_NO", "NO"), "3");
  EXPECT_EQ(Raw("CONTROL_NO1", "PatrnName"), "P1");
  EXPECT_EQ(Raw("CONTROL_NO2", "PatrnName"), "P3");
  EXPECT_EQ(Raw("CONTROL_NO3", "PatrnName"), "P5");
  EXPECT_EQ(Raw("CONTROL_NO4", nullptr), "");
  EXPECT_EQ(File().find("[CONTROL_NO4]"), std::string::npos);
  EXPECT_EQ(File().find("[CONTROL_NO5]"), std::string::npos);
  EXPECT_EQ(Raw("ERRCOMMENT", "ErrHeader"), "ErrHandler");
  // The model now holds the live patterns only.
  EXPECT_EQ(model_.PatternCollection.Count(), 3);
  EXPECT_EQ(model_.PatternCount, 3);

  SettingsModel back;
  GetSystemDir(back);
  LoadSettings(back);
  ASSERT_EQ(back.PatternCollection.Count(), 3);
  EXPECT_EQ(back.PatternCollection.Item(2).PatrnName(), u"P3");
  EXPECT_EQ(back.PatternCollection.Item(3).DelFlg(), 0);
}

TEST_F(SettingsTest, EveryPatternDeletedLeavesNoSectionsAndACountOfZero) {
  LoadSettings(model_);
  Pattern(u"A");
  Pattern(u"B");
  ASSERT_TRUE(SaveSettings(model_));
  for (const auto& r : model_.PatternCollection) r->SetDelFlg(1);
  ASSERT_TRUE(SaveSettings(model_));
  EXPECT_EQ(Raw("CONTROL_NO", "NO"), "0");
  EXPECT_EQ(File().find("[CONTROL_NO1]"), std::string::npos);
  EXPECT_EQ(File().find("[CONTROL_NO2]"), std::string::npos);
  SettingsModel back = RoundTrip();
  EXPECT_EQ(back.PatternCount, 0);
  EXPECT_EQ(back.PatternCollection.Count(), 0);
}

TEST_F(SettingsTest, ReloadingStartsTheCollectionAfresh) {
  LoadSettings(model_);
  Pattern(u"A");
  ASSERT_TRUE(SaveSettings(model_));
  LoadSettings(model_);
  LoadSettings(model_);
  EXPECT_EQ(model_.PatternCollection.Count(), 1);
  EXPECT_EQ(model_.PatternCount, 1);
}

TEST_F(SettingsTest, ValuesLongerThan254BytesComeBackCut) {
  LoadSettings(model_);
  model_.ErrHeaderLabel = std::u16string(300, u'x');
  model_.CommentTexts[0] = u"'" + std::u16string(200, u'y');
  std::u16string kanji;
  for (int i = 0; i < 127; ++i) kanji += U("漢");
  model_.CommentTexts[1] = u"'" + kanji;  // 255 bytes: the last character would be cut in half
  model_.CommentTexts[2] = U("'") + kanji.substr(0, 126) + u"z";  // exactly 254 bytes
  SettingsModel back = RoundTrip();
  EXPECT_EQ(back.ErrHeaderLabel, std::u16string(254, u'x'));
  EXPECT_EQ(back.CommentTexts[0], u"'" + std::u16string(200, u'y'));
  EXPECT_EQ(back.CommentTexts[1], u"'" + kanji.substr(0, 126));
  EXPECT_EQ(back.CommentTexts[2], U("'") + kanji.substr(0, 126) + u"z");
  // The file keeps the whole value; only the read is limited.
  EXPECT_EQ(Raw("ERRCOMMENT", "ErrHeader").size(), 300u);
}

TEST_F(SettingsTest, SaveKeepsTheUsersOwnLinesAndAnUnchangedModelRewritesNothing) {
  PutFile("; settings of the tool kit\r\n[Project]\r\nSaved=1\r\nInterval=5\r\nMsgFlg=0\r\n");
  LoadSettings(model_);
  ASSERT_TRUE(SaveSettings(model_));
  std::string first = File();
  EXPECT_EQ(first.rfind("; settings of the tool kit\r\n[Project]\r\nSaved=1\r\nInterval=5\r\n", 0), 0u);
  ASSERT_TRUE(SaveSettings(model_));
  EXPECT_EQ(File(), first);
}

TEST_F(SettingsTest, GlobalModelCanBeReset) {
  Settings().CurrentCommentNo = 7;
  Settings().PatternCollection.Add(std::make_shared<clsCotrolStyle>());
  ResetSettings();
  EXPECT_EQ(Settings().CurrentCommentNo, 0);
  EXPECT_EQ(Settings().PatternCollection.Count(), 0);
  EXPECT_FALSE(Settings().LoadCompleted);
}

}  // namespace
}  // namespace tarno
