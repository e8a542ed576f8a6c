#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>

#include "workbench/editor_font.h"
#include "workbench/pretty_listing.h"
#include "workbench/vb_highlighter.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

TEST(PrettyListingTest, ListsKeywordsNamesAndOperatorsAndLeavesTheRestAsTyped) {
  DeclaredNames names;
  CollectDeclaredNames({u"Dim strName As String, lngCount As Long",
                        u"Public Function GetValue(ByVal nIndex As Integer, Optional sKey As String = \"a,b\") As Long",
                        u"Private Type udtRec", u"  FieldOne As Long", u"End Type", u"Const MAX_N = 5",
                        u"Sub Foo()", u"Private Declare Function GetTickCount Lib \"kernel32\" () As Long"},
                       names);
  for (const char* n : {"strName", "lngCount", "GetValue", "nIndex", "sKey", "udtRec", "FieldOne", "MAX_N", "Foo",
                        "GetTickCount"})
    EXPECT_EQ(names.value(QString::fromLatin1(n).toLower()), QString::fromLatin1(n)) << n;

  const std::pair<const char*, const char*> cases[] = {
      {"dim x as long", "Dim x As Long"},
      {"    x=y+1", "    x = y + 1"},
      {"if a<>b then call foo( 1,2 )", "If a <> b Then Call Foo(1, 2)"},
      {"strname = getvalue(nindex)", "strName = GetValue(nIndex)"},
      {"x = -1", "x = -1"},
      {"y = a-1", "y = a - 1"},
      {"z = ( -b )*c", "z = (-b) * c"},
      {"a = b * -c", "a = b * -c"},
      {"select case n: case -1, 2", "Select Case n: Case -1, 2"},
      {"s = \"a=b\"&t   ' x=1", "s = \"a=b\" & t   ' x=1"},
      {"n = &HFF+1&", "n = &HFF + 1&"},
      {"rs!name = 1", "rs!name = 1"},
      {"msgbox prompt:=\"x\",buttons:=vbOKOnly", "msgbox prompt:=\"x\", buttons:=vbOKOnly"},
      {"  .Caption=\"a\"", "  .Caption = \"a\""},
      {"x = me.text", "x = Me.text"},
      {"d = #1/2/2003#", "d = #1/2/2003#"},
      {"foo (x)", "Foo (x)"},
      {"x = Array(1,2)", "x = Array(1, 2)"},
      {"ErrHandler:", "ErrHandler:"},
      {"x = a.Type", "x = a.Type"},
      {"rem dim x", "rem dim x"},
      {"a = b _", "a = b _"},
      // Left as typed: what the listing does not read whole.
      {"print #1, x; y", "print #1, x; y"},
      {"#if debug then", "#if debug then"},
      {"s = \"open", "s = \"open"},
      {"[my name] = 1", "[my name] = 1"},
  };
  for (const auto& [typed, listed] : cases)
    EXPECT_EQ(PrettyLine(QString::fromUtf8(typed), names).toStdString(), listed) << typed;
}

TEST(VbHighlighter, ColoursKeywordsWhateverTheirCase) {
  EXPECT_EQ(VbHighlighter::Classify(QStringLiteral("dIM s aS STRING")).toStdString(), "kkk   kk kkkkkk");
}

void TypeAtEnd(CodeEditor* e, int line, const char* text) {
  QTextCursor c(e->document()->findBlockByNumber(line - 1));
  c.movePosition(QTextCursor::EndOfBlock);
  e->setTextCursor(c);
  QTest::keyClicks(e, text);
}

TEST_F(WorkbenchTest, AnEditedLineIsListedWhenTheCaretLeavesIt) {
  CodeEditor* e = window_->ShowCode(u"modInput");
  auto module = e->component()->code();
  const int start = module->ProcStartLine(u"QuickSort", 0);
  const int line = start + 3;  // "    Dim j   As Long"
  TypeAtEnd(e, line, "");
  QTest::keyClick(e, Qt::Key_Return);
  QTest::keyClicks(e, "    dim k as long:k=lngleft+1");
  EXPECT_EQ(module->text().Line(line + 1), u"    dim k as long:k=lngleft+1");  // not while the caret is on it
  QTest::keyClick(e, Qt::Key_Down);
  // Keywords, the parameter's declared case, blanks around operators.
  EXPECT_EQ(module->text().Line(line + 1), u"    Dim k As Long: k = lngLeft + 1");
  EXPECT_EQ(e->document()->findBlockByNumber(line).text(), QStringLiteral("    Dim k As Long: k = lngLeft + 1"));
  // The status bar follows the caret.
  EXPECT_EQ(window_->caretLabel()->text(), QStringLiteral("Ln %1, Col %2").arg(line + 2).arg(e->textCursor().positionInBlock() + 1));

  // Turned off, a line stays as typed.
  window_->SetPrettyListing(false);
  QTest::keyClick(e, Qt::Key_Return);
  QTest::keyClicks(e, "x=1");
  QTest::keyClick(e, Qt::Key_Up);
  EXPECT_EQ(module->text().Line(line + 3), u"x=1");
}

TEST_F(WorkbenchTest, UndoingBackToTheSavedTextClearsTheChangedMark) {
  CodeEditor* e = window_->ShowCode(u"modMain");
  window_->SetPrettyListing(false);
  auto label = [&] {
    for (QTreeWidgetItemIterator it(window_->explorer()); *it; ++it)
      if ((*it)->text(0).startsWith(QStringLiteral("modMain "))) return (*it)->text(0);
    return QString();
  };
  TypeAtEnd(e, 1, " ' x");
  EXPECT_TRUE(e->component()->dirty());
  EXPECT_TRUE(label().endsWith(QStringLiteral(" *")));
  while (e->document()->isUndoAvailable() && e->document()->isModified()) e->undo();
  EXPECT_FALSE(e->component()->dirty());
  EXPECT_FALSE(label().endsWith(QStringLiteral(" *")));
  // Redo makes it changed again; saving makes the new text the clean one.
  e->redo();
  EXPECT_TRUE(e->component()->dirty());
  ASSERT_TRUE(window_->Save());
  EXPECT_FALSE(e->component()->dirty());
  e->undo();
  EXPECT_TRUE(e->component()->dirty());
  e->redo();
  EXPECT_FALSE(e->component()->dirty());
}

TEST(EditorFontTest, TheBackslashIsABackslashOutsideJapaneseProjects) {
  EXPECT_EQ(EditorFont(CodePage::Cp932()).family(), QStringLiteral("IPAGothic"));
  for (const char* cp : {"CP1252", "CP936", "UTF-8"}) {
    QFont f = EditorFont(CodePage::Named(cp));
    EXPECT_NE(f.family(), QStringLiteral("IPAGothic")) << cp;
    EXPECT_TRUE(QFontInfo(f).fixedPitch()) << cp;
  }
}

}  // namespace
}  // namespace tarno::workbench::test
