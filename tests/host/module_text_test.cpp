#include <gtest/gtest.h>

#include "host/code_module.h"
#include "host/module_text.h"

namespace tarno {
namespace {

using host::ModuleText;
using Lines = std::vector<std::u16string>;

std::vector<bool> HiddenFlags(const ModuleText& t) {
  std::vector<bool> out;
  for (const auto& l : t.PhysicalLines()) out.push_back(l.hidden);
  return out;
}

TEST(ModuleText, SplitsAtCrLfWithoutAFinalEmptyLine) {
  EXPECT_EQ(ModuleText::SplitLines(u""), Lines{});
  EXPECT_EQ(ModuleText::SplitLines(u"a\r\nb\r\n"), (Lines{u"a", u"b"}));
  EXPECT_EQ(ModuleText::SplitLines(u"a\r\n\r\n"), (Lines{u"a", u""}));
  EXPECT_EQ(ModuleText::SplitLines(u"a\nb"), (Lines{u"a\nb"}));  // a lone LF is not a line end
}

TEST(ModuleText, MemberAttributesAreHiddenWhereverTheyStand) {
  ModuleText t(Lines{
      u"Option Explicit",                                   // code 1
      u"Private WithEvents m_Timer As Timer",               // code 2
      u"Attribute m_Timer.VB_VarHelpID = -1",               // hidden: after a variable
      u"Public Property Get Value() As Long",               // code 3
      u"  attribute Value.VB_UserMemId = 0",                // hidden (any case, leading blanks)
      u"Attribute Value.VB_Description = \"The value\"",    // hidden
      u"End Property",                                      // code 4
      u"Attribute VB_Exposed = False",                      // code 5: module attribute after code
      u"Sub Foo()",                                         // code 6
      u"  x = 1",                                           // code 7
      u"Attribute Foo.VB_Description = \"in the body\"",  // hidden
      u"End Sub",                                           // code 8
  });
  EXPECT_EQ(t.CountOfLines(), 8);
  EXPECT_EQ(t.PhysicalCount(), 12);
  EXPECT_EQ(HiddenFlags(t), (std::vector<bool>{false, false, true, false, true, true, false, false, false, false,
                                               true, false}));
  EXPECT_EQ(t.Line(3), u"Public Property Get Value() As Long");
  EXPECT_EQ(t.Line(4), u"End Property");
  EXPECT_EQ(t.PhysicalIndex(3), 3);  // 0-based physical positions
  EXPECT_EQ(t.PhysicalIndex(4), 6);
  EXPECT_EQ(t.PhysicalIndex(8), 11);
  EXPECT_THROW(t.Line(9), std::out_of_range);
  // A line a continued statement goes on with stays code.
  ModuleText c(Lines{u"Private x As Long, _", u"Attribute x.VB_VarHelpID = -1"});
  EXPECT_EQ(c.CountOfLines(), 2);
}

TEST(ModuleText, ContinuedDeclarationTakesItsAttributes) {
  ModuleText t(Lines{u"Public Function F( _", u"  ByVal x As Long) As Long", u"Attribute F.VB_UserMemId = 0",
                     u"End Function"});
  EXPECT_EQ(t.CountOfLines(), 3);
  EXPECT_TRUE(t.PhysicalLines()[2].hidden);
}

TEST(ModuleText, EditsKeepHiddenLinesWithTheirDeclaration) {
  const Lines body{u"Sub A()", u"Attribute A.VB_Description = \"a\"", u"End Sub", u"Sub B()",
                   u"Attribute B.VB_Description = \"b\"", u"End Sub"};
  ModuleText t(body);
  // Inserting after the declaration puts the lines after its attributes.
  t.InsertLines(2, {u"  On Error GoTo E"});
  t.InsertLines(1, {u"' top"});
  auto phys = t.PhysicalLines();
  ASSERT_EQ(phys.size(), 8u);
  EXPECT_EQ(phys[1].text, u"Sub A()");
  EXPECT_EQ(phys[2].text, u"Attribute A.VB_Description = \"a\"");
  EXPECT_TRUE(phys[2].hidden);
  EXPECT_EQ(phys[3].text, u"  On Error GoTo E");
  EXPECT_EQ(t.PhysicalIndex(5), 5);  // Sub B()

  // Deleting a declaration drops the attributes that belonged to it.
  t.DeleteLines(5, 2);  // Sub B and its End Sub
  EXPECT_EQ(t.CodeText(), u"' top\r\nSub A()\r\n  On Error GoTo E\r\nEnd Sub");
  EXPECT_EQ(t.PhysicalCount(), 5);
  EXPECT_THROW(t.DeleteLines(4, 2), std::out_of_range);
  EXPECT_THROW(t.InsertLines(6, {u"x"}), std::out_of_range);
}

TEST(ModuleText, WritingBackGivesTheLoadedLines) {
  const Lines body{u"Option Explicit", u"Public Event Changed()", u"Sub Main()",
                   u"Attribute Main.VB_Description = \"m\"", u"End Sub"};
  ModuleText t(body);
  Lines back;
  for (const auto& l : t.PhysicalLines()) back.push_back(l.text);
  EXPECT_EQ(back, body);
  // The code module sees only code lines.
  host::MemCodeModule m(t);
  EXPECT_EQ(m.CountOfLines(), 4);
  EXPECT_EQ(m.ProcBodyLine(u"Main", 0), 3);
  EXPECT_EQ(m.CountOfDeclarationLines(), 2);
}

}  // namespace
// Lines live in shared buffers: a long run of edits (past the point where
// the buffers are merged again) gives the lines a plain list of strings
// would, copies taken on the way keep their own lines, and the text built
// from one buffer with line starts equals the one built from strings.
TEST(ModuleText, EditsAndCopiesKeepEveryLine) {
  Lines expected{u"Option Explicit", u"Dim a", u"Attribute a.VB_VarHelpID = -1", u"", u"Sub S()", u"End Sub"};
  std::u16string joined;
  std::vector<uint32_t> starts;
  for (const auto& l : expected) {
    starts.push_back(static_cast<uint32_t>(joined.size()));
    joined += l;
  }
  starts.push_back(static_cast<uint32_t>(joined.size()));
  ModuleText fromBuffer(joined, starts);
  ModuleText t(expected);
  EXPECT_EQ(fromBuffer.PhysicalLines(), t.PhysicalLines());
  expected.erase(expected.begin() + 2);  // the hidden line is no code line
  auto codeLines = [](const ModuleText& m) {
    Lines out;
    for (int i = 1; i <= m.CountOfLines(); ++i) out.emplace_back(m.Line(i));
    return out;
  };
  std::vector<std::pair<ModuleText, Lines>> copies;
  uint32_t seed = 7;
  for (int step = 0; step < 200; ++step) {
    seed = seed * 1103515245u + 12345u;
    const int n = t.CountOfLines();
    if (n > 0 && seed % 3 == 0) {
      const int at = static_cast<int>(seed / 8 % static_cast<uint32_t>(n)) + 1;
      const int count = std::min(n - at + 1, static_cast<int>(seed / 64 % 3) + 1);
      t.DeleteLines(at, count);
      expected.erase(expected.begin() + (at - 1), expected.begin() + (at - 1 + count));
    } else {
      const int at = static_cast<int>(seed / 8 % static_cast<uint32_t>(n + 1)) + 1;
      Lines added{u"x = " + std::u16string(1, static_cast<char16_t>(u'a' + step % 26)), u"' step"};
      t.InsertLines(at, added);
      expected.insert(expected.begin() + (at - 1), added.begin(), added.end());
    }
    ASSERT_EQ(codeLines(t), expected) << "after step " << step;
    if (step % 50 == 0) copies.emplace_back(t, expected);
  }
  for (const auto& [copy, lines] : copies) EXPECT_EQ(codeLines(copy), lines);
}

}  // namespace tarno
