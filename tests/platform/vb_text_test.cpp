#include "platform/vb_text.h"

#include <gtest/gtest.h>

namespace tarno::vb {
namespace {

TEST(VbTextPositions, MidLeftRightCountUtf16Units) {
  Str s = U("変数名ABC");
  EXPECT_EQ(Len(s), 6);
  EXPECT_EQ(LenB(s), 12);
  EXPECT_EQ(Mid(s, 3, 2), U("名A"));
  EXPECT_EQ(Mid(s, 0, 1), U("変"));
  EXPECT_EQ(Mid(s, 2, -1), U(""));
  EXPECT_EQ(Left(s, 2), U("変数"));
  EXPECT_EQ(Right(s, 2), U("BC"));
  EXPECT_EQ(InStr(s, U("A")), 4);
  EXPECT_EQ(InStr(0, s, U("変")), 1);
  EXPECT_EQ(InStrText(1, U("Dim ABC"), U("abc")), 5);
}

TEST(VbTextConversion, RoundsToNearestEven) {
  EXPECT_EQ(ToLong(U("2.5")), 2);
  EXPECT_EQ(ToLong(U("3.5")), 4);
  EXPECT_EQ(ToLong(U(" -4.5 ")), -4);
  EXPECT_FALSE(ToLong(U("")).has_value());
  EXPECT_FALSE(ToLong(U("abc")).has_value());
  EXPECT_FALSE(ToLong(U("2147483648")).has_value());
  EXPECT_FALSE(ToInteger(U("32768")).has_value());
  EXPECT_EQ(ToInteger(U("&H1F")), 31);
}

}  // namespace
}  // namespace tarno::vb
