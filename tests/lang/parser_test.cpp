// The lexer and the parser on hand-written lines: token kinds and columns,
// which names are declared and which referenced, and the errors of code
// that is not VB.
#include <gtest/gtest.h>

#include "lang/keywords.h"
#include "lang/lexer.h"
#include "lang/parser.h"
#include "platform/vb_text.h"

namespace tarno::lang {
namespace {

std::vector<std::u16string> Lines(std::string_view code) {
  std::vector<std::u16string> out;
  std::u16string all = vb::U(code);
  size_t from = 0;
  while (from <= all.size()) {
    size_t nl = all.find(u'\n', from);
    if (nl == std::u16string::npos) nl = all.size();
    out.push_back(all.substr(from, nl - from));
    from = nl + 1;
  }
  return out;
}

std::vector<std::u16string_view> Views(const std::vector<std::u16string>& lines) {
  return {lines.begin(), lines.end()};
}

// One letter a token: N name, 9 number, S string, D date, P punct, C comment,
// _ continuation, ? bad; a name with a type character is n, a bracketed one [.
std::string Kinds(std::string_view code) {
  auto lines = Lines(code);
  NameTable names;
  auto m = LexModule(Views(lines), names);
  std::string out;
  for (size_t i = 0; i + 1 < m.starts.size(); ++i) {
    if (i) out += '|';
    for (uint32_t k = m.starts[i]; k < m.starts[i + 1]; ++k) {
      const Token& t = m.tokens[k];
      switch (t.kind) {
        case TokenKind::Name: out += (t.flags & kBracketed) ? '[' : (t.flags & kTypeChar) ? 'n' : 'N'; break;
        case TokenKind::Number: out += '9'; break;
        case TokenKind::String: out += 'S'; break;
        case TokenKind::Date: out += 'D'; break;
        case TokenKind::Punct: out += 'P'; break;
        case TokenKind::Comment: out += 'C'; break;
        case TokenKind::Continuation: out += '_'; break;
        case TokenKind::Bad: out += '?'; break;
      }
    }
  }
  return out;
}

TEST(Lexer, TokenKinds) {
  struct Case {
    const char* code;
    const char* kinds;
  } cases[] = {
      {"a$ = \"x \"\"y\"\" z\" & b", "nPSPN"},
      {"d = #1/2/2000# + #12:30:00 PM#", "NPDPD"},
      {"Print #1, x#; y!", "NP9PnPn"},
      {"v = rs!Name & rs![Field 1]", "NPNPNPNP["},
      {"x = .5 + a.b + 1.5E+3 + 12# + &H1F& + &O17 + 1D3", "NP9PNPNP9P9P9P9P9"},
      {"Rem all of it: x = 1", "C"},
      {"x = 1: Rem the rest", "NP9PC"},
      {"If a Then Rem why", "NNNC"},
      {"名前 = \"値\" ' コメント", "NPSC"},
      {"y = x _\n  + 1", "NPN_|P9"},
      {"' one _\ntwo _\nthree\nx", "C|C|C|N"},
      {"10 GoTo 10", "9N9"},
      {"x = a & b&", "NPNPn"},
      {"s = a &H10", "NPN9"},
      {"#If Win32 Then", "PNNN"},
      {"x = y ~ z", "NPN?N"},
      {"[Error] = 1", "[P9"},
      {"Call f(a:=1)", "NNPNP9P"},
  };
  for (const auto& c : cases) EXPECT_EQ(Kinds(c.code), c.kinds) << c.code;
}

TEST(Lexer, PositionsAndAtomsIgnoreCaseAndTypeCharacters) {
  auto lines = Lines("  Dim lngX&, LNGx");
  NameTable names;
  auto m = LexModule(Views(lines), names);
  ASSERT_EQ(m.tokens.size(), 4u);
  EXPECT_EQ(m.tokens[1].Column1(), 7);
  EXPECT_EQ(m.tokens[1].length, 5);
  EXPECT_EQ(m.tokens[1].atom, m.tokens[3].atom);
  EXPECT_EQ(m.tokens[0].atom, A(Kw::Dim));
}

struct Parsed {
  NameTable names;
  std::vector<std::u16string> lines;
  ModuleSyntax syntax;
};

std::unique_ptr<Parsed> Parse(std::string_view code) {
  auto p = std::make_unique<Parsed>();
  p->lines = Lines(code);
  p->syntax = ParseModule(Views(p->lines), p->names);
  return p;
}

// "kind name" of every declaration, and "name@line:column" of every reference
// (a member as "qualifier.name", "?" for an unknown qualifier).
std::string Decls(const Parsed& p) {
  std::string out;
  for (const auto& d : p.syntax.decls) {
    if (!out.empty()) out += ", ";
    out += std::string(DeclKindName(d.kind)) + " " + vb::ToUtf8(p.names.Text(d.name));
  }
  return out;
}
std::string Refs(const Parsed& p) {
  std::string out;
  for (const auto& r : p.syntax.refs) {
    if (!out.empty()) out += ", ";
    if (r.flags & kRefInactive) out += "~";
    if (r.flags & kRefMember) {  // qualifier.name
      out += r.qualifier >= 0 ? vb::ToUtf8(p.names.Text(p.syntax.refs[static_cast<size_t>(r.qualifier)].name))
             : r.qualifier == kSelfQualifier ? "self" : "?";
      out += ".";
    }
    out += vb::ToUtf8(p.names.Text(r.name)) + "@" + std::to_string(r.line) + ":" + std::to_string(r.column);
  }
  return out;
}
std::string Errors(const Parsed& p) {
  std::string out;
  for (const auto& e : p.syntax.errors) out += std::to_string(e.line) + ":" + std::to_string(e.column) + " " + e.message + "\n";
  return out;
}

TEST(Parser, DeclarationsAndReferences) {
  struct Case {
    const char* code;
    const char* decls;
    const char* refs;
  } cases[] = {
      // Every name of a list, arrays by their name, bounds and types as references.
      {"Dim a(10) As Long, b As String * LEN_B, c() As Class1",
       "variable a, variable b, variable c", "LEN_B@1:34, Class1@1:48"},
      {"Private Type RECT\n  Left As Long\n  cDims(1 To N) As Integer\nEnd Type",
       "type RECT, type member Left, type member cDims", "N@3:14"},
      {"Enum Color\n  Red = 1\n  [Blue Sky]\nEnd Enum", "enum Color, enum member Red, enum member Blue Sky", ""},
      {"Const A = 1, B = A + 2", "constant A, constant B", "A@1:18"},
      {"Private Declare Function GetTickCount Lib \"kernel32\" Alias \"x\" (ByVal n As Long, p As POINTAPI) As Long",
       "declare function GetTickCount, parameter n, parameter p", "POINTAPI@1:87"},
      {"Public Event Changed(ByVal Value As Long)", "event Changed, parameter Value", ""},
      // Comments and strings are never code.
      {"Sub S()\n  x = \"y\" ' z _\n  w = 1\nEnd Sub", "sub S", "x@2:3"},  // the comment goes on
      {"Sub S()\n  ', l2() As Variant\n  Dim k() As Byte: k = F(&H2B, &H7E)\nEnd Sub",
       "sub S, variable k", "k@3:20, F@3:24"},
      // Keywords inside names are names.
      {"Sub S(ByVal lbConstitucion As Long)\n  With m\n    .cDims = 1: !Bang = .x.y(1)\n  End With\nEnd Sub",
       "sub S, parameter lbConstitucion", "m@2:8, m.cDims@3:6, m.Bang@3:18, m.x@3:26, x.y@3:28"},
      {"Property Let X(ByVal v As Long)\n  m = v\nEnd Property\nProperty Get X() As Long\n  X = m\nEnd Property",
       "property let X, parameter v, property get X", "m@2:3, v@2:7, X@5:3, m@5:7"},
      {"Sub S()\n  On Error GoTo Fail\n  Call obj.Method(1, n:=2)\n  Set o = New Class1\n  Exit Sub\nFail:\n  Resume Next\nEnd Sub",
       "sub S, label Fail", "Fail@2:17, obj@3:8, obj.Method@3:12, n@3:22, o@4:7, Class1@4:15"},
      {"Sub S()\n  CallByName o, \"Run\", VbMethod\n  Me.Controls(\"Text1\").Text = \"\"\nEnd Sub",
       "sub S", "CallByName@2:3, o@2:14, ?.Run@2:18, VbMethod@2:24, Me@3:3, Me.Controls@3:6, Me.Text1@3:16, Controls.Text@3:24"},
      {"#Const DEBUG_ON = 0\n#If DEBUG_ON Then\nDim dead As Long\n#Else\nDim live As Long\n#End If",
       "variable live", "~dead@3:5"},
      {"#If Win32 Then\nPrivate a As Long\n#ElseIf X Then\nPrivate b As Long\n#End If", "variable a", "~b@4:9"},
      {"Sub S()\n  If a Then b = 1: c Else d 2\n  Open f For Binary Access Read Lock Write As #n Len = 4\n  Line Input #n, s\nEnd Sub",
       "sub S", "a@2:6, b@2:13, c@2:20, d@2:27, f@3:8, n@3:48, n@4:15, S@4:18"},
      {"Sub S()\n  With o\n    .Move .Left + 1, x _\n      .Top\n  End With\nEnd Sub", "sub S",
       "o@2:8, o.Move@3:6, o.Left@3:12, x@3:22, x.Top@4:8"},
      {"Sub S()\n  Me.Line (0, 0)-(w, h), c, BF\n  Debug.Print a; Tab(2); b,\nEnd Sub",
       "sub S", "Me@2:3, Me.Line@2:6, w@2:19, h@2:22, c@2:26, BF@2:29, Debug@3:3, Debug.Print@3:9, a@3:15, Tab@3:18, b@3:26"},
  };
  for (const auto& c : cases) {
    auto p = Parse(c.code);
    EXPECT_EQ(Errors(*p), "") << c.code;
    EXPECT_EQ(Decls(*p), c.decls) << c.code;
    EXPECT_EQ(Refs(*p), c.refs) << c.code;
  }
}

TEST(Parser, CodeThatIsNotVbIsReportedWithItsPlace) {
  struct Case {
    const char* code;
    const char* error;  // "line:column message" of the first error
  } cases[] = {
      {"Sub S()\n  x = (1\nEnd Sub", "2:9 expected ), found the end of the statement"},
      {"Sub S()\n  End If\nEnd Sub", "2:3 End If without If"},
      {"Sub S()\n  If a Then\nEnd Sub", "3:1 If of line 2 is not closed before End Sub"},
      {"Sub S()\n  .x = 1\nEnd Sub", "2:3 a member without its object (\".name\" outside With)"},
      {"Sub S()\n  s = \"open\nEnd Sub", "2:7 the string has no closing quote"},
      {"x = 1", "1:1 statement outside a procedure"},
      {"Dim 5", "1:5 expected a name, found \"5\""},
      {"Sub S()\n  For i = 1 To\nEnd Sub", "2:15 expected an expression, found the end of the statement"},
      {"Sub S()", "1:1 Sub without End Sub"},
      {"#If X Then\nDim a", "1:1 #If without #End If"},
      {"#If X = Then\n#End If", "1:5 the #If condition is not a constant expression"},
      {"Sub S()\n  x = a ~ b\nEnd Sub", "2:9 expected the end of the statement, found \"~\""},
  };
  std::string longLine = "Sub S()\n  x = \"" + std::string(70000, 'a') + "\"\nEnd Sub";
  std::vector<Case> all(std::begin(cases), std::end(cases));
  all.push_back({longLine.c_str(), "2:1 the line is longer than 65535 characters"});
  for (const auto& c : all) {
    auto p = Parse(c.code);
    if (p->syntax.errors.empty()) {
      ADD_FAILURE() << "no error in " << c.code;
      continue;
    }
    const auto& e = p->syntax.errors[0];
    EXPECT_EQ(std::to_string(e.line) + ":" + std::to_string(e.column) + " " + e.message, c.error) << c.code;
  }
}

TEST(Parser, ProjectConstantsChooseTheBranch) {
  auto lines = Lines("#If DEBUG_ON And Not Win16 Then\nDim a\n#Else\nDim b\n#End If");
  for (auto [value, expected] : {std::pair{1.0, "a"}, std::pair{0.0, "b"}}) {
    NameTable names;
    CcValue v;
    v.number = value;
    auto s = ParseModule(Views(lines), names, {{u"debug_on", v}});
    ASSERT_EQ(s.decls.size(), 1u);
    EXPECT_EQ(vb::ToUtf8(names.Text(s.decls[0].name)), expected);
  }
  auto parsed = ParseCondComp(u"DEBUG = 1 : LEVEL = -2 : NAME = \"x\"");
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->size(), 3u);
  EXPECT_EQ((*parsed)[1].second.number, -2);
  EXPECT_EQ((*parsed)[2].second.text, u"x");
  EXPECT_FALSE(ParseCondComp(u"DEBUG 1"));
}

}  // namespace
}  // namespace tarno::lang
