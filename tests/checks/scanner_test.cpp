// Statement reading, name cutting and the use rules on single statements.
#include <gtest/gtest.h>

#include "checks/declaration_scanner.h"
#include "checks/source_reader.h"
#include "oracle_checks.h"
#include "platform/vb_text.h"
#include "support/host_builders.h"

namespace tarno::checks {
namespace {

using vb::U;

std::vector<std::string> Names(std::string_view text, Section section = Section::Declarations) {
  bool flag = false;
  auto scan = ScanDeclarationStatement(U(text), section, flag);
  std::vector<std::string> out;
  for (const auto& n : scan.names) out.push_back(vb::ToUtf8(n));
  return out;
}

using V = std::vector<std::string>;

TEST(DeclarationNames, GeneralRuleCutsEachNameOfTheHostLayout) {
  EXPECT_EQ(Names("Dim a As Integer, b As Long"), (V{"a", "b"}));
  EXPECT_EQ(Names("Dim a, b As Integer"), (V{"a", "b"}));
  EXPECT_EQ(Names("Dim x"), (V{"x"}));
  EXPECT_EQ(Names("Private m_a As String, m_b As String, m_c"), (V{"m_a", "m_b", "m_c"}));
  EXPECT_EQ(Names("Dim a As Integer, b As Long", Section::Procedures), (V{"a", "b"}));
}

TEST(DeclarationNames, AsInsideAnIdentifierIsSkipped) {
  EXPECT_EQ(Names("Dim lngAsset As Long"), (V{"lngAsset"}));
  EXPECT_EQ(Names("Dim lngAsset As Long, x As Long"), (V{"lngAsset", "x"}));
  EXPECT_EQ(Names("Dim a As Long, lngAsset As Long"), (V{"a", "lngAsset"}));
  // No blank-preceded "As" at all: the name runs to the end.
  EXPECT_EQ(Names("Dim lngAsset"), (V{"lngAsset"}));
}

TEST(DeclarationNames, OddNamesFollowFromTheRule) {
  EXPECT_EQ(Names("Dim a(10) As Long"), (V{"a(10)"}));
  EXPECT_EQ(Names("Dim x ' counter"), (V{"x ' counter"}));
  EXPECT_EQ(Names("Private Type POINTAPI"), (V{"Type POINTAPI"}));
  // A name that begins with "As" is cut to nothing.
  EXPECT_EQ(Names("Dim Astro As Long"), (V{""}));
  // A comma inside a string literal ends the names.
  EXPECT_EQ(Names("Dim s: s = \"a, b\""), (V{"s: s = \"a"}));
  // So does any double quote after a comma.
  EXPECT_EQ(Names("Dim s As String, t: t = \"ab\""), (V{"s"}));
}

TEST(DeclarationNames, WithEventsGivesOneName) {
  EXPECT_EQ(Names("Private WithEvents m_obj As Class1"), (V{"m_obj"}));
  EXPECT_EQ(Names("Dim WithEvents x As Class1, y As Class2"), (V{"x"}));
  EXPECT_EQ(Names("Private WithEvents m_obj"), (V{"m_obj"}));
}

TEST(DeclarationNames, ConstantRule) {
  EXPECT_EQ(Names("Private Const MAX_N As Long = 10"), (V{"MAX_N"}));
  EXPECT_EQ(Names("Private Const MAX_N = 10"), (V{"MAX_N"}));
  EXPECT_EQ(Names("Private Const A = 1, B = 2"), (V{"A"}));
  EXPECT_EQ(Names("Public Const LIMIT = 5"), (V{"LIMIT"}));
  EXPECT_EQ(Names("Global Const LIMIT As Integer = 5"), (V{"LIMIT"}));
  EXPECT_EQ(Names("Const C = 1", Section::Procedures), (V{"C"}));
  EXPECT_EQ(Names("Const C As String = \"x\"", Section::Procedures), (V{"C"}));
  // Without a blank before "=" the cut loses the name's last character.
  EXPECT_EQ(Names("Const Cx=1", Section::Procedures), (V{"C"}));
  // A Dim whose text holds "Const" and no "=" yields nothing.
  EXPECT_EQ(Names("Dim strConstant As String", Section::Procedures), V{});
}

TEST(DeclarationNames, ProcedureSectionScopes) {
  EXPECT_EQ(Names("ReDim a(5)", Section::Procedures), V{});
  EXPECT_EQ(Names("rs.CursorType = adOpenStatic", Section::Procedures), V{});
  EXPECT_EQ(Names("Static s As Long", Section::Procedures), (V{"s"}));
  // After the first "=" exactly "Static" (no trimming) still declares.
  EXPECT_EQ(Names("Static x =Static", Section::Procedures).size(), 1u);
  EXPECT_EQ(Names("Static x = Static", Section::Procedures), V{});
  // Private and Public are no procedure-level keywords.
  EXPECT_EQ(Names("Private x As Long", Section::Procedures), V{});
  // The keyword counts anywhere in the text, with its fixed name start.
  EXPECT_EQ(Names("x = 1: Dim y", Section::Procedures), (V{"1: Dim y"}));
}

TEST(DeclarationNames, DeclarationsSectionScopeOrder) {
  bool flag = false;
  EXPECT_EQ(ScanDeclarationStatement(u"Public Dim x", Section::Declarations, flag).scope, DeclScope::Public);
  EXPECT_EQ(ScanDeclarationStatement(u"Dim x", Section::Declarations, flag).scope, DeclScope::Dim);
  EXPECT_EQ(ScanDeclarationStatement(u"Option Explicit", Section::Declarations, flag).scope, DeclScope::None);
  EXPECT_FALSE(ScanDeclarationStatement(u"ReDim x", Section::Declarations, flag).declaration);
  // Static and Const alone are no declarations-section keywords.
  EXPECT_FALSE(ScanDeclarationStatement(u"Const A = 1", Section::Declarations, flag).declaration);
}

TEST(DeclareFlag, CarriesOverAsTheRulesSay) {
  bool flag = false;
  auto scan = [&](std::u16string_view t, Section s = Section::Declarations) {
    return ScanDeclarationStatement(t, s, flag);
  };
  EXPECT_FALSE(scan(u"Private Declare Function GetTickCount Lib \"kernel32\" () As Long").declaration);
  EXPECT_TRUE(flag);
  // A statement with "_" after a Declare is skipped and the flag stays set.
  EXPECT_FALSE(scan(u"Private m_count As Long").declaration);
  EXPECT_TRUE(flag);
  // A statement without a scope leaves the flag alone.
  EXPECT_FALSE(scan(u"Option Explicit").declaration);
  EXPECT_TRUE(flag);
  // A declaration without "_" clears it and is taken.
  EXPECT_TRUE(scan(u"Private count As Long").declaration);
  EXPECT_FALSE(flag);
  // Comments: "Declare" sets, "_" keeps a set flag, anything else clears.
  scan(u"' Declare section");
  EXPECT_TRUE(flag);
  scan(u"' some_thing");
  EXPECT_TRUE(flag);
  scan(u"' plain");
  EXPECT_FALSE(flag);
  scan(u"' some_thing");
  EXPECT_FALSE(flag);
  // The flag also skips procedure-level declarations.
  scan(u"' Declare");
  EXPECT_FALSE(scan(u"Dim a_b As Long", Section::Procedures).declaration);
  EXPECT_TRUE(scan(u"Dim ab As Long", Section::Procedures).declaration);
}

TEST(CommentOrString, FollowsThePositionRules) {
  // Both implementations must agree; they are written separately.
  struct Case {
    const char* text;
    const char* name;
    bool ignored;
  };
  const Case cases[] = {
      {"y = x ' note", "x", false},
      {"y = 1 ' x", "x", true},
      {"x = 1", "x", false},  // at position 1
      {"y = 2", "x", true},   // missing
      {"Call RemoveAll(x)", "x", true},
      {"s = \"x\"", "x", false},      // one literal: decided later
      {"s = \"a\" & \"x\"", "x", true},  // third quote before the name, one after it
      {"s = \"a\" & x", "x", false},
      {"s = \"it's\" & x", "x", false},  // apostrophe inside a literal, literal closed before x
      // The apostrophe's literal closes before the name: not ignored here
      // (the string-literal check of the use test decides).
      {"s = \"it's \" & \"x\"", "x", false},
      {"s = \"a'b\" & x ' c", "x", false},
      {"s = \"a\" ' \"x\"", "x", true},
      {"t = x: ' x", "x", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsInCommentOrString(U(c.text), U(c.name)), c.ignored) << c.text;
    EXPECT_EQ(oracle::IsInCommentOrString(U(c.text), U(c.name)), c.ignored) << c.text;
  }
}

TEST(CommentOrString, AgreesWithTheLiteralReadingOnRandomText) {
  // Random strings over the characters that matter.
  const char16_t alphabet[] = {u'x', u'"', u'\'', u' ', u'R', u'e', u'm', u'a'};
  uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7fff;
  };
  for (int i = 0; i < 20000; ++i) {
    std::u16string text;
    int len = static_cast<int>(next() % 14);
    for (int k = 0; k < len; ++k) text += alphabet[next() % 8];
    std::u16string name = (next() % 3 == 0) ? u"xa" : u"x";
    ASSERT_EQ(IsInCommentOrString(text, name), oracle::IsInCommentOrString(text, name)) << vb::ToUtf8(text);
  }
}

TEST(Statements, ContinuationLinesAreJoinedAndTrimmed) {
  ModuleSource m({u"Dim a As Long, _", u"    b As Long, _", u"    c As Long", u"x = 1 _ ", u"y", u"z _"}, 3);
  Statement st = ReadStatement(m, 1);
  EXPECT_EQ(st.count, 3);
  EXPECT_EQ(st.text, u"Dim a As Long, _\r\n    b As Long, _\r\n    c As Long");
  // Reading resumes after the last line; "_ " does not continue.
  st = ReadStatement(m, st.LastLine() + 1);
  EXPECT_EQ(st.line, 4);
  EXPECT_EQ(st.count, 1);
  EXPECT_EQ(st.text, u"x = 1 _");
  // A statement read from the middle of a continued one starts there.
  st = ReadStatement(m, 2);
  EXPECT_EQ(st.count, 2);
  // The module's last line ending in "_" ends the statement.
  st = ReadStatement(m, 6);
  EXPECT_EQ(st.count, 1);
  EXPECT_EQ(st.text, u"z _");
  EXPECT_EQ(m.StatementStart(3), 1);
  EXPECT_EQ(m.StatementStart(5), 5);
}

TEST(Statements, NamesOfAContinuedDeclarationHoldTheLineBreak) {
  bool flag = false;
  auto scan = ScanDeclarationStatement(u"Dim a As Long, _\r\n    b As Long", Section::Procedures, flag);
  ASSERT_EQ(scan.names.size(), 2u);
  EXPECT_EQ(scan.names[0], u"a");
  EXPECT_EQ(scan.names[1], u"_\r\n    b");
}

TEST(WholeWord, MatchesOnlyWholeIdentifiers) {
  EXPECT_TRUE(HasWholeWord(u"y = x + 1", u"x"));
  EXPECT_FALSE(HasWholeWord(u"y = xy + 1", u"x"));
  EXPECT_FALSE(HasWholeWord(u"y = x_1", u"x"));
  EXPECT_TRUE(HasWholeWord(u"y = xy + x", u"x"));
  EXPECT_FALSE(HasWholeWord(u"y = \u5909x", u"x"));   // a Japanese letter is a word character
  EXPECT_TRUE(HasWholeWord(u"y =\u3000x", u"x"));     // the ideographic space is not
  EXPECT_FALSE(HasWholeWord(u"anything", u""));
}

// A host that lends no views of its lines: the reader copies them instead.
class CopyOnlyModule : public ide::CodeModule {
 public:
  explicit CopyOnlyModule(ide::CodeModule& inner) : inner_(inner) {}
  std::u16string Lines(int start, int count) override { return inner_.Lines(start, count); }
  int CountOfLines() override { return inner_.CountOfLines(); }
  int CountOfDeclarationLines() override { return inner_.CountOfDeclarationLines(); }
  void InsertLines(int, const std::u16string&) override { Unused(); }
  void DeleteLines(int, int) override { Unused(); }
  int ProcStartLine(const std::u16string&, int) override { return Unused(); }
  int ProcBodyLine(const std::u16string&, int) override { return Unused(); }
  int ProcCountLines(const std::u16string&, int) override { return Unused(); }
  std::u16string ProcOfLine(int, int*) override { return Unused(), u""; }
  bool Find(const std::u16string&, int&, int&, int&, int&, bool, bool, bool) override { return Unused(); }
  std::vector<ide::Member> Members() override { return Unused(), std::vector<ide::Member>{}; }
  std::shared_ptr<ide::VBComponent> Parent() override { return Unused(), nullptr; }

 private:
  static int Unused() { throw std::logic_error("the reader needs only the lines"); }
  ide::CodeModule& inner_;
};

TEST(ModuleSourceRead, LentViewsAndACopyGiveTheSameLinesAndStatements) {
  const char* texts[] = {
      "",
      "Option Explicit\r\n",
      "Dim a As Long, _\r\n    b As Long\r\n\r\nPublic Sub S()\r\nAttribute S.VB_UserMemId = 0\r\n  x = \"\xe6\x97\xa5\" _\r\n\r\nEnd Sub",
      "x\r\ny _",
  };
  for (const char* text : texts) {
    auto host = test::HostBuilder().Module("M", text).Build();
    auto module = host.Module("M");
    ASSERT_EQ(module->LineViews().size(), static_cast<size_t>(module->CountOfLines())) << text;
    CopyOnlyModule copyOnly(*module);
    // Moved once, as the project source keeps it: the views must survive the move.
    ModuleSource lent = ModuleSource::Read(*module);
    ModuleSource copied = ModuleSource::Read(copyOnly);
    ModuleSource moved = std::move(copied);
    ASSERT_EQ(lent.CountOfLines(), module->CountOfLines()) << text;
    ASSERT_EQ(moved.CountOfLines(), lent.CountOfLines()) << text;
    EXPECT_EQ(moved.CountOfDeclarationLines(), lent.CountOfDeclarationLines()) << text;
    for (int n = 1; n <= lent.CountOfLines(); ++n) {
      EXPECT_EQ(lent.Line(n), module->Lines(n, 1)) << text << " line " << n;
      EXPECT_EQ(moved.Line(n), lent.Line(n)) << text << " line " << n;
      EXPECT_EQ(moved.StatementEnd(n), lent.StatementEnd(n)) << text << " line " << n;
      EXPECT_EQ(moved.StatementStart(n), lent.StatementStart(n)) << text << " line " << n;
    }
  }
}

}  // namespace
}  // namespace tarno::checks
