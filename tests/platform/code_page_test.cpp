#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/vb_text.h"

namespace tarno {
namespace {

using vb::U;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

class RoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, EverySingleByte) {
  CodePage cp = CodePage::Named(GetParam());
  for (int b = 0; b < 256; ++b) {
    std::string in(1, static_cast<char>(b));
    std::u16string text = cp.Decode(in);
    ASSERT_EQ(text.size(), 1u) << "byte " << b;
    EXPECT_EQ(cp.Encode(text), in) << "byte " << b;
  }
}

TEST_P(RoundTrip, EveryTwoByteSequence) {
  CodePage cp = CodePage::Named(GetParam());
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      std::string in = Bytes({a, b});
      ASSERT_EQ(cp.Encode(cp.Decode(in)), in) << a << " " << b;
    }
  }
}

TEST_P(RoundTrip, RandomByteStrings) {
  CodePage cp = CodePage::Named(GetParam());
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> byte(0, 255), len(0, 64);
  for (int n = 0; n < 5000; ++n) {
    std::string in;
    int l = len(rng);
    for (int k = 0; k < l; ++k) in.push_back(static_cast<char>(byte(rng)));
    ASSERT_EQ(cp.Encode(cp.Decode(in)), in);
  }
}

INSTANTIATE_TEST_SUITE_P(CodePages, RoundTrip,
                         ::testing::Values("CP932", "CP1252", "CP936", "UTF-8", "CP949", "CP950"));

TEST(CodePageCp932, DecodesJapaneseAndKeepsAsciiBackslash) {
  CodePage cp = CodePage::Cp932();
  EXPECT_EQ(cp.Decode(Bytes({0x93, 0xFA, 0x96, 0x7B})), U("日本"));
  EXPECT_EQ(cp.Encode(U("日本語")), Bytes({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA}));
  EXPECT_EQ(cp.Decode("\\~"), u"\\~");
  EXPECT_EQ(cp.Decode(Bytes({0xB1})), U("ｱ"));  // half-width katakana is one byte
}

TEST(CodePageCp932, TrailByteBackslashIsPartOfOneCharacter) {
  CodePage cp = CodePage::Cp932();
  // 0x95 0x5C is one character, so a byte-wise search for "\" would split it.
  std::u16string text = cp.Decode(Bytes({0x95, 0x5C}));
  ASSERT_EQ(text.size(), 1u);
  EXPECT_EQ(text, U("表"));
  EXPECT_EQ(text.find(u'\\'), std::u16string::npos);
  // Likewise "_" (0x5F) and "]" (0x5D) as trail bytes.
  EXPECT_EQ(cp.Decode(Bytes({0x83, 0x5F})).size(), 1u);
  EXPECT_EQ(cp.Decode(Bytes({0x83, 0x5D})), U("ゾ"));
}

TEST(CodePageCp932, InvalidBytesBecomeLoneSurrogates) {
  CodePage cp = CodePage::Cp932();
  EXPECT_EQ(cp.Decode(Bytes({0x80})), std::u16string(1, char16_t{0xDC80}));
  EXPECT_EQ(cp.Decode(Bytes({0xFF, 0x41})), (std::u16string{char16_t{0xDCFF}, u'A'}));
  // A lead byte without a valid trail: the lead is escaped, the next byte read afresh.
  EXPECT_EQ(cp.Decode(Bytes({0x81, 0x20})), (std::u16string{char16_t{0xDC81}, u' '}));
  EXPECT_EQ(cp.Decode(Bytes({0x93})), std::u16string(1, char16_t{0xDC93}));
  // The duplicate spelling of a character (NEC row) would not survive re-encoding.
  EXPECT_EQ(cp.Encode(cp.Decode(Bytes({0x87, 0x90}))), Bytes({0x87, 0x90}));
  EXPECT_EQ(cp.Encode(cp.Decode(Bytes({0xED, 0x40}))), Bytes({0xED, 0x40}));
}

TEST(CodePageEncode, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(CodePage::Cp932().Encode(U("a😀b")), "a?b");
  EXPECT_EQ(CodePage::Named("CP1252").Encode(U("é日")), Bytes({0xE9, '?'}));
  EXPECT_EQ(CodePage::Named("UTF-8").Encode(U("é😀")), "é😀");
  // A lone high surrogate has no UTF-8 form.
  EXPECT_EQ(CodePage::Named("UTF-8").Encode(std::u16string(1, char16_t{0xD800})), "?");
}

TEST(CodePageUtf8, RejectsOverlongAndEncodedSurrogates) {
  CodePage cp = CodePage::Named("utf8");
  EXPECT_EQ(cp.Decode(Bytes({0xC0, 0xAF})).size(), 2u);
  EXPECT_EQ(cp.Decode(Bytes({0xED, 0xA0, 0x80})).size(), 3u);
  EXPECT_EQ(cp.Decode(Bytes({0xF4, 0x90, 0x80, 0x80})).size(), 4u);
  EXPECT_EQ(cp.Decode("\xE6\x97\xA5"), U("日"));
}

TEST(CodePageNames, AliasesAndUnknownNames) {
  EXPECT_EQ(CodePage::Named("shift_jis"), CodePage::Cp932());
  EXPECT_EQ(CodePage::Named("932").name(), "CP932");
  EXPECT_EQ(CodePage::Named("GBK").name(), "CP936");
  EXPECT_EQ(CodePage::Named("windows-1252").name(), "CP1252");
  EXPECT_EQ(CodePage::Named("65001").name(), "UTF-8");
  EXPECT_THROW(CodePage::Named("EBCDIC-XY"), std::invalid_argument);
  EXPECT_THROW(CodePage::Named(""), std::invalid_argument);
  EXPECT_EQ(CodePage::Named("CP936").Decode(Bytes({0x80})), U("€"));
}

TEST(CodePageBoundaries, CutNeverSplitsACharacter) {
  CodePage cp = CodePage::Cp932();
  std::string s = Bytes({'a', 0x93, 0xFA, 'b'});
  EXPECT_EQ(cp.CharLength(s, 0), 1u);
  EXPECT_EQ(cp.CharLength(s, 1), 2u);
  EXPECT_EQ(cp.CutAtCharBoundary(s, 2), 1u);
  EXPECT_EQ(cp.CutAtCharBoundary(s, 3), 3u);
  EXPECT_EQ(cp.CutAtCharBoundary(s, 10), 4u);
  // An invalid lead byte at the end counts as one byte.
  EXPECT_EQ(cp.CharLength(Bytes({0x93}), 0), 1u);
  CodePage utf8 = CodePage::Named("UTF-8");
  std::string j = "\xE6\x97\xA5\xE6\x9C\xAC";  // two 3-byte characters
  EXPECT_EQ(utf8.CutAtCharBoundary(j, 5), 3u);
  EXPECT_EQ(utf8.CutAtCharBoundary(j, 2), 0u);
}

TEST(CodePageSystem, DefaultsToCp932AndCanBeChanged) {
  EXPECT_EQ(SystemCodePage(), CodePage::Cp932());
  SetSystemCodePage(CodePage::Named("UTF-8"));
  EXPECT_EQ(SystemCodePage().name(), "UTF-8");
  SetSystemCodePage(CodePage::Cp932());
  EXPECT_EQ(SystemCodePage(), CodePage::Cp932());
}

}  // namespace
}  // namespace tarno
