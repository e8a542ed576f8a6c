// The VB string rules the tools share, case by case.
#include <gtest/gtest.h>

#include "platform/vb_text.h"

namespace tarno::vb {
namespace {

TEST(VbTextTrim, RemovesOnlyU0020) {
  EXPECT_EQ(Trim(u"  a b  "), u"a b");
  EXPECT_EQ(Trim(u"\ta\t"), u"\ta\t");
  EXPECT_EQ(Trim(U("　全角　")), U("　全角　"));  // full-width spaces stay
  EXPECT_EQ(Trim(u" \r\n "), u"\r\n");
  EXPECT_EQ(LTrim(u"  x  "), u"x  ");
  EXPECT_EQ(RTrim(u"  x  "), u"  x");
  EXPECT_EQ(Trim(u"    "), u"");
  EXPECT_EQ(Trim(u""), u"");
}

TEST(VbTextPositions, JapaneseTextCountsUtf16Units) {
  Str s = U("日本語のテキスト");
  EXPECT_EQ(Len(s), 8);
  EXPECT_EQ(LenB(s), 16);
  EXPECT_EQ(InStr(s, U("テキ")), 5);
  EXPECT_EQ(InStr(6, s, U("テキ")), 0);
  EXPECT_EQ(InStr(5, s, U("テキ")), 5);
  EXPECT_EQ(Mid(s, 4), U("のテキスト"));
  EXPECT_EQ(Mid(s, 4, 100), U("のテキスト"));
  EXPECT_EQ(Mid(s, 9), u"");
  EXPECT_EQ(Left(s, 100), s);
  EXPECT_EQ(Right(s, 3), U("キスト"));
  EXPECT_EQ(InStrRev(U("ああいああ"), U("ああ")), 4);
  // A character outside the BMP takes two units, as in VB.
  Str emoji = U("a😀b");
  EXPECT_EQ(Len(emoji), 4);
  EXPECT_EQ(InStr(emoji, u"b"), 4);
}

TEST(VbTextPositions, EmptyStringsFollowVb) {
  EXPECT_EQ(InStr(u"", u""), 0);
  EXPECT_EQ(InStr(u"abc", u""), 1);
  EXPECT_EQ(InStr(3, u"abc", u""), 3);
  EXPECT_EQ(InStr(4, u"abc", u"c"), 0);
  EXPECT_EQ(InStr(4, u"abc", u""), 0);
  EXPECT_EQ(InStrText(1, u"", u""), 0);
  EXPECT_EQ(InStrText(2, u"ABC", u""), 2);
  EXPECT_EQ(InStrRev(u"abc", u""), 3);
  EXPECT_EQ(InStrRev(u"", u"a"), 0);
  EXPECT_EQ(Replace(u"abc", u"", u"x"), u"abc");
}

TEST(VbTextCase, OnlyAsciiLettersFold) {
  EXPECT_EQ(InStrText(1, U("Ａｂｃ abc"), u"ABC"), 5);  // full-width letters do not fold
  EXPECT_EQ(InStr(u"Dim ABC", u"abc"), 0);            // plain InStr is case-sensitive
  EXPECT_TRUE(EqualsIgnoreCaseAscii(u"frmMain", u"FRMMAIN"));
  EXPECT_FALSE(EqualsIgnoreCaseAscii(u"frmMain", u"frmMai"));
  EXPECT_EQ(UCaseAscii(U("abcé日")), U("ABCé日"));
  EXPECT_EQ(Replace(u"a*9*9b*9*9", u"*9*9", u"\r\n"), u"a\r\nb\r\n");
}

TEST(VbTextNumbers, IsNumericAcceptsVbForms) {
  for (const char16_t* yes : {u"123", u"-4.5", u"+4.5", u"1E3", u"1e-3", u"1D2", u" 7 ", u"\t7",
                              u".5", u"5.", u"&H1F", u"&h1f", u"&O17", u"&HFFFF&", u"007"})
    EXPECT_TRUE(IsNumeric(yes)) << ToUtf8(yes);
  for (const char16_t* no : {u"", u"   ", u"abc", u"1a", u"1 2", u".", u"-", u"1E", u"&H", u"&HG",
                             u"&O8", u"1,000", u"(5)", u"5-", u"$5", u"１２", u"1e999", u"&H100000000"})
    EXPECT_FALSE(IsNumeric(no)) << ToUtf8(no);
}

TEST(VbTextNumbers, WholeNumbersRoundHalvesToEven) {
  EXPECT_EQ(ToLong(u"0.5"), 0);
  EXPECT_EQ(ToLong(u"1.5"), 2);
  EXPECT_EQ(ToLong(u"2.5"), 2);
  EXPECT_EQ(ToLong(u"3.5"), 4);
  EXPECT_EQ(ToLong(u"-2.5"), -2);
  EXPECT_EQ(ToLong(u"-3.5"), -4);
  EXPECT_EQ(ToLong(u"2.51"), 3);
  EXPECT_EQ(ToLong(u"2.49"), 2);
  EXPECT_EQ(ToLong(u"1E3"), 1000);
  EXPECT_EQ(ToLong(u"2147483647"), 2147483647);
  EXPECT_EQ(ToLong(u"-2147483648"), INT32_MIN);
  EXPECT_FALSE(ToLong(u"2147483647.5"));  // rounds to 2^31: overflow
  EXPECT_FALSE(ToLong(u"-2147483649"));
  EXPECT_EQ(ToLong(u"&HFFFFFFFF"), -1);
  EXPECT_EQ(ToLong(u"&H10000"), 65536);
  EXPECT_EQ(ToInteger(u"32767"), 32767);
  EXPECT_EQ(ToInteger(u"-32768.4"), -32768);
  EXPECT_FALSE(ToInteger(u"32767.5"));
  EXPECT_FALSE(ToInteger(u"-32769"));
  EXPECT_EQ(ToInteger(u"&HFFFF"), -1);
  EXPECT_EQ(ToInteger(u"12.5"), 12);
  EXPECT_FALSE(ToInteger(u""));
}

TEST(VbTextNumbers, BooleansAndDecimalText) {
  EXPECT_EQ(ToBoolean(u"True"), true);
  EXPECT_EQ(ToBoolean(u"false"), false);
  EXPECT_EQ(ToBoolean(u" TRUE "), true);
  EXPECT_EQ(ToBoolean(u"0"), false);
  EXPECT_EQ(ToBoolean(u"-1"), true);
  EXPECT_FALSE(ToBoolean(u"yes"));
  EXPECT_FALSE(ToBoolean(u""));
  EXPECT_EQ(FromInt(-32768), u"-32768");
  EXPECT_EQ(FromInt(0), u"0");
  EXPECT_EQ(FormatDateYmd(2026, 1, 5), u"2026/01/05");
}

TEST(VbTextUtf8, LiteralsRoundTrip) {
  EXPECT_EQ(ToUtf8(U("日本語 ａ😀")), "日本語 ａ😀");
  EXPECT_EQ(ToUtf8(Str(1, char16_t{0xDC80})), "\xEF\xBF\xBD");  // lone surrogate shows as U+FFFD
}

}  // namespace
}  // namespace tarno::vb
