// The generated texts, character for character.
#include <gtest/gtest.h>

#include "codegen/bulk_error.h"
#include "codegen/error_block.h"
#include "codegen/line_edit.h"
#include "codegen/registered_comment.h"
#include "platform/vb_text.h"

namespace tarno::codegen {
namespace {

using vb::U;

TEST(LineTransforms, CommentPutsApostropheInColumnOneAndSkipsBlankLines) {
  EXPECT_EQ(CommentLineText(u"    x = 1"), u"'    x = 1");
  EXPECT_EQ(CommentLineText(u"' note"), u"'' note");
  EXPECT_EQ(CommentLineText(u""), std::nullopt);
  EXPECT_EQ(CommentLineText(u"    "), std::nullopt);
  // Only U+0020 counts as blank: a tab line is code to the tool.
  EXPECT_EQ(CommentLineText(u"\t"), u"'\t");
}

TEST(LineTransforms, UncommentRemovesOnlyTheFirstApostrophe) {
  EXPECT_EQ(UncommentLineText(u"'    x = 1"), u"    x = 1");
  EXPECT_EQ(UncommentLineText(u"'' note"), u"' note");
  EXPECT_EQ(UncommentLineText(u"    x = 1"), std::nullopt);
  EXPECT_EQ(UncommentLineText(u"   "), std::nullopt);
  // A trailing comment loses its apostrophe and keeps the blanks around it.
  EXPECT_EQ(UncommentLineText(u"x = 1 ' one"), u"x = 1  one");
  // Strings are not looked at.
  EXPECT_EQ(UncommentLineText(u"s = \"it's\" ' c"), u"s = \"its\" ' c");
  EXPECT_EQ(UncommentLineText(U("  '日本語")), U("  日本語"));
}

TEST(StandardErrorBlocks, HeaderIsThreeLinesWithoutFinalBreak) {
  EXPECT_EQ(BuildStdErrHeaderText(), u"On Error GoTo Error_Exit\r\n\r\nScreen.MousePointer = vbHourglass");
}

TEST(StandardErrorBlocks, FooterIsSevenLinesEndingInCrLf) {
  EXPECT_EQ(BuildStdErrFooterText(),
            U("'エラーの場合\r\nError_Exit:\r\n\r\nScreen.MousePointer = vbDefault\r\n\r\n"
              "MsgBox \"エラー番号：\"& Err.Number & vbCrLf _\r\n"
              "   &\"エラー内容：\"& Err.Description,vbExclamation\r\n"));
}

TEST(BulkErrorTexts, StandardHeaderAndFooter) {
  auto texts = StandardErrorTexts();
  EXPECT_EQ(texts.HeaderText(), u"\r\nOn Error GoTo Error_Exit\r\n\r\nScreen.MousePointer = vbHourglass\r\n");
  EXPECT_EQ(texts.FooterText(u"Function"), u"\r\nExit Function\r\n\r\n" + BuildStdErrFooterText());
}

TEST(BulkErrorTexts, RegisteredTextsFollowTheExitFlag) {
  auto off = RegisteredErrorTexts(u"ErrLabel", u"MsgBox Err.Description\r\nResume Next", u"0");
  EXPECT_EQ(off.HeaderText(), u"\r\nOn Error GoTo ErrLabel\r\n");
  EXPECT_EQ(off.FooterText(u"Sub"), u"ErrLabel:\r\n\r\nMsgBox Err.Description\r\nResume Next\r\n");
  auto offPadded = RegisteredErrorTexts(u"L", u"F", u" 0 ");
  EXPECT_EQ(offPadded.FooterText(u"Sub"), u"L:\r\n\r\nF\r\n");
  auto on = RegisteredErrorTexts(u"L", u"F", u"1");
  EXPECT_EQ(on.FooterText(u"Property"), u"Exit Property\r\n\r\nL:\r\n\r\nF\r\n");
  // Anything but "0" adds the exit line, an empty flag included.
  EXPECT_EQ(RegisteredErrorTexts(u"L", u"F", u"").FooterText(u"Sub"), u"Exit Sub\r\n\r\nL:\r\n\r\nF\r\n");
}

TEST(BulkErrorTexts, ExitWordIsTheWordAfterEnd) {
  EXPECT_EQ(ExitWord(u"End Sub"), u"Sub");
  EXPECT_EQ(ExitWord(u"End Function  "), u"Function");
  EXPECT_EQ(ExitWord(u"End Property"), u"Property");
  EXPECT_EQ(ExitWord(u"  End Sub"), u"Sub");
  EXPECT_EQ(ExitWord(u"End"), u"");
  EXPECT_EQ(ExitWord(u"End Sub ' done"), u"Sub");
  EXPECT_EQ(ExitWord(u"End Function:"), u"Function");
}

TEST(CommentNormalisation, EveryLineStartsWithAnApostrophe) {
  EXPECT_EQ(NormaliseComment(u"a\r\nb\r\nc"), u"'a\r\n'b\r\n'c");
  EXPECT_EQ(NormaliseComment(u"'a\r\nb"), u"'a\r\n'b");
  EXPECT_EQ(NormaliseComment(u"a\r\n\r\nb"), u"'a\r\n'\r\n'b");
  EXPECT_EQ(NormaliseComment(u"a\r\n"), u"'a\r\n");
  EXPECT_EQ(NormaliseComment(u"x"), u"'x");
  EXPECT_EQ(NormaliseComment(u"'a\r\nb\r\nx"), u"'a\r\n'b\r\n'x");
  EXPECT_EQ(NormaliseComment(u""), u"");
  EXPECT_EQ(NormaliseComment(U("日本\r\n 字")), U("'日本\r\n' 字"));
}

TEST(CommentNormalisation, IsStableWhenAppliedTwice) {
  for (const std::u16string& text : {std::u16string(u"a\r\n\r\nb\r\n"), std::u16string(u"'x\r\ny"),
                                     std::u16string(u"\r\n\r\n")}) {
    EXPECT_EQ(NormaliseComment(NormaliseComment(text)), NormaliseComment(text));
  }
}

TEST(HeaderComment, FieldsAsTypedAndNashiForEmptyArgumentsAndReturn) {
  HeaderCommentFields f{u"Foo", U("計算する"), u"  ", u"", U("山田"), u"2024/01/02"};
  std::u16string rule = u"'" + std::u16string(56, u'*');
  EXPECT_EQ(HeaderCommentText(f), rule + U("\r\n'名称   ：Foo\r\n'概要   ：計算する\r\n'引数   ：なし\r\n"
                                            "'戻値   ：なし\r\n'作成者 ：山田\r\n'作成日 ：2024/01/02\r\n") +
                                      rule);
  f.Arguments = u" a As Long";
  f.ReturnValue = u"Boolean";
  std::u16string text = HeaderCommentText(f);
  EXPECT_NE(text.find(U("'引数   ： a As Long\r\n")), std::u16string::npos);
  EXPECT_NE(text.find(U("'戻値   ：Boolean\r\n")), std::u16string::npos);
}

}  // namespace
}  // namespace tarno::codegen
