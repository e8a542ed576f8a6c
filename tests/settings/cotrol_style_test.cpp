#include "controls/cotrol_style.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/vb_text.h"

namespace tarno {
namespace {

TEST(CotrolStyle, NewRecordHasTheDefaults) {
  clsCotrolStyle s;
  EXPECT_EQ(s.Flg(), u"0");
  EXPECT_EQ(s.BackStyle(), 1);
  EXPECT_EQ(s.Locked(), 1);
  EXPECT_EQ(s.Font(), vb::U("ＭＳ Ｐゴシック"));
  EXPECT_EQ(s.FontSize(), 9);
  EXPECT_EQ(s.PatrnName(), u"");
  EXPECT_EQ(s.CType(), 0);
  EXPECT_EQ(s.Enabled(), 0);
  EXPECT_FALSE(s.FontBold() || s.FontItalic() || s.FontStrikethru() || s.FontUnderline());
  EXPECT_EQ(s.Height() + s.Left() + s.Top() + s.Width() + s.MaxLength(), 0);
  EXPECT_EQ(s.DelFlg(), 0);
}

TEST(CotrolStyle, FlgIsTextOutsideAndAnIntegerInside) {
  clsCotrolStyle s;
  s.SetFlg(u"1");
  EXPECT_EQ(s.Flg(), u"1");
  EXPECT_EQ(s.FlgValue(), 1);
  s.SetFlg(u" 01 ");
  EXPECT_EQ(s.Flg(), u"1");
  s.SetFlg(u"2.5");  // ties go to the even number
  EXPECT_EQ(s.Flg(), u"2");
  s.SetFlg(u"-3");
  EXPECT_EQ(s.Flg(), u"-3");
  s.SetFlg(u"");  // a settings file without the key
  EXPECT_EQ(s.Flg(), u"0");
  s.SetFlg(u"1");
  s.SetFlg(u"   ");
  EXPECT_EQ(s.Flg(), u"0");
  EXPECT_THROW(s.SetFlg(u"abc"), std::invalid_argument);
  EXPECT_THROW(s.SetFlg(u"40000"), std::out_of_range);
  EXPECT_EQ(s.Flg(), u"0");  // a failed write changes nothing
}

TEST(CotrolStyleCollection, NumbersArePositionsAndRecordsAreShared) {
  CotrolStyleCollection c;
  for (const char16_t* name : {u"A", u"B", u"C"}) {
    auto r = std::make_shared<clsCotrolStyle>();
    r->SetPatrnName(name);
    c.Add(r);
  }
  EXPECT_EQ(c.Count(), 3);
  c.Item(2).SetDelFlg(1);  // deleting only marks
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Item(3).PatrnName(), u"C");  // keeps its number during the connection
  auto added = std::make_shared<clsCotrolStyle>();
  added->SetPatrnName(u"D");
  c.Add(added);
  EXPECT_EQ(c.Item(4).PatrnName(), u"D");  // a new pattern gets count + 1, not the gap
  EXPECT_THROW(c.Item(0), std::out_of_range);
  EXPECT_THROW(c.Item(5), std::out_of_range);
  EXPECT_THROW(c.Add(nullptr), std::invalid_argument);
  c.RemoveMarked();
  ASSERT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Item(2).PatrnName(), u"C");
  EXPECT_EQ(c.ItemPtr(3), added);
}

}  // namespace
}  // namespace tarno
