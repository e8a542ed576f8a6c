// Going to definitions, back, and listing references in the workbench, over
// the language model of the open projects: across modules, into a class
// through a typed variable, past a local that shadows a module-level name,
// across the projects of a group; an unresolved member says so.
#include <QHelpEvent>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QToolTip>
#include <QTreeWidget>
#include <set>
#include <tuple>

#include "lang/model.h"
#include "workbench/code_navigation.h"
#include "workbench/find_replace.h"
#include "workbench/lang_navigator.h"
#include "workbench/results_pane.h"
#include "workbench_fixture.h"

namespace tarno::workbench::test {
namespace {

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

std::shared_ptr<host::MemComponent> Component(MainWindow& w, const std::u16string& name, size_t project = 0) {
  auto c = w.workspace().projects.at(project)->Component(name);
  EXPECT_NE(c, nullptr) << vb::ToUtf8(name);
  return c;
}

// The place of `name` on the first line of the component that holds `text`
// (the name's middle, as a click would put the caret), from line `after` on.
CodePlace PlaceOf(const std::shared_ptr<host::MemComponent>& c, const std::u16string& text, const std::u16string& name,
                  int after = 1) {
  const auto& lines = c->code()->text();
  for (int i = after; i <= lines.CountOfLines(); ++i) {
    const std::u16string_view line = lines.Line(i);
    size_t at = line.find(text);
    if (at == std::u16string::npos) continue;
    size_t n = line.find(name, at);
    EXPECT_NE(n, std::u16string::npos) << vb::ToUtf8(name);
    return {c, i, static_cast<int>(n) + 1 + static_cast<int>(name.size()) / 2, 0};
  }
  ADD_FAILURE() << vb::ToUtf8(text) << " is not in " << vb::ToUtf8(c->name());
  return {c, 1, 1, 0};
}

// Opens the place's pane with the caret there.
CodeEditor* PutCaret(MainWindow& w, const CodePlace& place) {
  CodeEditor* e = w.ShowCode(place.component);
  EXPECT_NE(e, nullptr);
  e->SelectPlace(place.line, place.column, 0);
  return e;
}

QString CaretLineText(CodeEditor* e) { return e->textCursor().block().text().trimmed(); }

class NavigationTest : public WorkbenchTest {
 protected:
  // Key presses reach the window's shortcuts only in the active window.
  void Activate() {
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  QString Status() { return window_->statusBar()->currentMessage(); }
};

TEST_F(NavigationTest, ShiftF2GoesToTheDeclarationAcrossModulesAndIntoClasses) {
  Activate();
  struct Case {
    const char16_t* from;
    const char16_t* line;  // a line of `from` holding the name
    const char16_t* name;
    const char16_t* to;     // the component declaring it
    const char* declared;   // the start of its declaration line
  };
  const Case cases[] = {
      // A Public Sub of a .bas called from a form.
      {u"frmMain", u"Call modDraw.ChangeResolution", u"ChangeResolution", u"modDraw", "Public Sub ChangeResolution()"},
      // A member of a class through a variable declared As New clsLog.
      {u"frmMain", u"Call g_InputLog.Forward", u"Forward", u"clsLog", "Public Sub Forward()"},
      {u"frmMain", u"Call g_InputLog.Forward", u"g_InputLog", u"modMain", "Public g_InputLog       As New clsLog"},
      // The same module, called without its module's name.
      {u"modDraw", u"    Call InitPen", u"InitPen", u"modDraw", "Public Sub InitPen()"},
      // A parameter used in its procedure.
      {u"modMain", u"objCtl.Font.Name = MainFont", u"MainFont", u"modMain", "Private Sub LoadFont(ByVal MainFont"},
  };
  size_t depth = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.name));
    CodeEditor* e = PutCaret(*window_, PlaceOf(Component(*window_, c.from), c.line, c.name));
    QTest::keyClick(e, Qt::Key_F2, Qt::ShiftModifier);
    CodeEditor* shown = window_->ActiveEditor();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->component()->name(), c.to);
    EXPECT_TRUE(CaretLineText(shown).startsWith(QString::fromUtf8(c.declared))) << CaretLineText(shown).toStdString();
    EXPECT_EQ(shown->textCursor().selectedText(), Q(c.name));
    EXPECT_EQ(window_->navigation().depth(), ++depth);
  }
  // Ctrl+click on a name does the same.
  const CodePlace target = PlaceOf(Component(*window_, u"frmMain"), u"Call modDraw.ObjSelectCancel", u"ObjSelectCancel");
  CodeEditor* e = PutCaret(*window_, {target.component, target.line, 1, 0});  // the line in view
  QTextCursor c(e->document()->findBlockByNumber(target.line - 1));
  c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, target.column - 1);
  QTest::mouseClick(e->viewport(), Qt::LeftButton, Qt::ControlModifier, e->cursorRect(c).center());
  ASSERT_NE(window_->ActiveEditor(), nullptr);
  EXPECT_EQ(window_->ActiveEditor()->component()->name(), u"modDraw");
  EXPECT_EQ(CaretLineText(window_->ActiveEditor()), QStringLiteral("Public Sub ObjSelectCancel()"));
  // A control, declared by no statement: its form's view.
  ASSERT_TRUE(window_->FormViews().empty());
  PutCaret(*window_, PlaceOf(target.component, u"If mnuOptionsNumFF.Checked", u"mnuOptionsNumFF"));
  ASSERT_TRUE(window_->navigation().GoToDefinition());
  ASSERT_EQ(window_->FormViews().size(), 1u);
  EXPECT_EQ(window_->FormViews()[0]->component(), target.component);
}

TEST_F(NavigationTest, TypedLocalsShadowModuleLevelNamesAndTheModelFollowsTheEdit) {
  LangNavigator& nav = window_->navigator();
  auto modInput = Component(*window_, u"modInput");
  CodeEditor* e = window_->ShowCode(modInput);
  // Before the edit: the names are the module's and modMain's.
  const CodePlace use = PlaceOf(Component(*window_, u"frmMain"), u"Call g_InputLog.Forward", u"g_InputLog");
  ASSERT_TRUE(nav.DefinitionAt(use));
  EXPECT_EQ(nav.DefinitionAt(use)->component->name(), u"modMain");
  const int builds = nav.builds();
  // Asking again without a change builds nothing.
  nav.ReferencesAt(use);
  nav.Describe(use);
  EXPECT_EQ(nav.builds(), builds);
  // A procedure typed into the pane at its end, with locals named as a
  // Private variable of this module and a Public one of modMain.
  QTextCursor end(e->document());
  end.movePosition(QTextCursor::End);
  e->setTextCursor(end);
  const int first = e->document()->blockCount() + 1;
  e->insertPlainText(QStringLiteral(
      "\nPrivate Sub Shadowing()\n    Dim m_strEXInfo As Long\n    Dim g_InputLog As Long\n    m_strEXInfo = 1\n"
      "    g_InputLog = 2\n    Call modMain.g_InputLog.Back\nEnd Sub"));
  ASSERT_EQ(modInput->code()->text().Line(first + 2), u"    Dim g_InputLog As Long");
  struct Case {
    const char16_t* line;
    const char16_t* name;
    const char16_t* declaredIn;
    int declaredAt;  // the line; 0: where the corpus has it
  };
  const int strEXInfo = PlaceOf(modInput, u"Private m_strEXInfo", u"m_strEXInfo").line;
  const Case cases[] = {
      {u"    m_strEXInfo = 1", u"m_strEXInfo", u"modInput", first + 1},
      {u"    g_InputLog = 2", u"g_InputLog", u"modInput", first + 2},
      // Qualified by its module, the name is the module-level one again, and its member the class's.
      {u"modMain.g_InputLog.Back", u"g_InputLog", u"modMain", 0},
      {u"modMain.g_InputLog.Back", u"Back", u"clsLog", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.line));
    std::optional<CodePlace> def = nav.DefinitionAt(PlaceOf(modInput, c.line, c.name, first));
    ASSERT_TRUE(def);
    EXPECT_EQ(def->component->name(), c.declaredIn);
    if (c.declaredAt) {
      EXPECT_EQ(def->line, c.declaredAt);
    }
  }
  // Elsewhere in the module the Private variable is still the one used.
  const CodePlace outside = PlaceOf(modInput, u"m_strEXInfo", u"m_strEXInfo", strEXInfo + 1);
  ASSERT_LT(outside.line, first);
  ASSERT_TRUE(nav.DefinitionAt(outside));
  EXPECT_EQ(nav.DefinitionAt(outside)->line, strEXInfo);
  // The locals' references: their assignments only, not the module-level uses.
  for (int local : {1, 2}) {
    std::vector<CodePlace> refs = nav.ReferencesAt({modInput, first + local, 10, 0});
    ASSERT_EQ(refs.size(), 1u);
    EXPECT_EQ(refs[0].line, first + 2 + local);
  }
  // One build for the edit, however many questions follow.
  EXPECT_EQ(nav.builds(), builds + 1);
}

TEST_F(NavigationTest, LastPositionGoesBackThroughEveryJump) {
  Activate();
  CodeNavigation& nav = window_->navigation();
  EXPECT_FALSE(nav.GoBack());
  EXPECT_FALSE(nav.message().isEmpty());
  const CodePlace a = PlaceOf(Component(*window_, u"frmMain"), u"Call modDraw.ChangeResolution", u"ChangeResolution");
  PutCaret(*window_, a);
  ASSERT_TRUE(nav.GoToDefinition());
  const CodePlace b = PlaceOf(Component(*window_, u"modDraw"), u"    Call InitPen", u"InitPen");
  PutCaret(*window_, b);
  ASSERT_TRUE(nav.GoToDefinition());
  // On a declaration, Shift+F2 stays there, and is still a place to go back to.
  const CodePlace c = CodeNavigation::CaretOf(*window_->ActiveEditor());
  ASSERT_TRUE(nav.GoToDefinition());
  EXPECT_EQ(CodeNavigation::CaretOf(*window_->ActiveEditor()).line, c.line);
  for (const CodePlace& expected : {c, b, a}) {
    QTest::keyClick(window_->ActiveEditor(), Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    CodeEditor* e = window_->ActiveEditor();
    ASSERT_NE(e, nullptr);
    const CodePlace at = CodeNavigation::CaretOf(*e);
    EXPECT_EQ(std::tie(at.component, at.line, at.column), std::tie(expected.component, expected.line, expected.column));
    EXPECT_TRUE(e->textCursor().selectedText().isEmpty());
  }
  EXPECT_EQ(nav.depth(), 0u);
  QTest::keyClick(window_->ActiveEditor(), Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Status(), QStringLiteral("No earlier position to go back to"));
}

TEST_F(NavigationTest, ShiftF12ListsTheReferencesTheLanguageModelBinds) {
  Activate();
  // The model of the project as `tarno refs` builds it, from the corpus.
  auto ws = host::files::LoadPath(fs::path(TARNO_CORPUS_DIR) / kProjectDir / kProject, CodePage::Cp932());
  std::vector<lang::ProjectCode> code;
  for (auto& p : ws.projects) code.push_back(lang::ReadProjectCode(*p, lang::ProjectCondComp(*p)));
  auto model = lang::Model::Build(std::move(code));
  for (const char16_t* name : {u"modInput.lngNumConv", u"modMain.g_InputLog", u"clsLog.GetPos"}) {
    SCOPED_TRACE(vb::ToUtf8(name));
    const auto symbols = model->Lookup(name);
    ASSERT_EQ(symbols.size(), 1u);
    const lang::Symbol& sym = model->Sym(symbols[0]);
    std::set<std::tuple<std::u16string, int, int>> expected;
    for (const lang::RefId& id : model->References(symbols[0])) {
      const lang::Ref& r = model->RefAt(id);
      expected.emplace(model->Module(id.module).code->name, r.line, r.column);
    }
    ASSERT_GT(expected.size(), 1u);
    // From the declaration in its pane.
    auto declaring = Component(*window_, model->Module(sym.module).code->name);
    CodeEditor* e = PutCaret(*window_, {declaring, sym.decl.line, sym.decl.column + 1, 0});
    QTest::keyClick(e, Qt::Key_F12, Qt::ShiftModifier);
    ResultsPane* pane = window_->resultsPane();
    EXPECT_FALSE(pane->isHidden());
    EXPECT_TRUE(pane->windowTitle().startsWith(QStringLiteral("References of"))) << pane->windowTitle().toStdString();
    ASSERT_EQ(pane->list()->topLevelItemCount(), static_cast<int>(expected.size()));
    std::set<std::tuple<std::u16string, int, int>> listed;
    for (const CodePlace& p : pane->places()) listed.emplace(p.component->name(), p.line, p.column);
    EXPECT_EQ(listed, expected);
    const QString shortName = Q(std::u16string(model->SymbolName(symbols[0])));
    for (int i = 0; i < pane->list()->topLevelItemCount(); ++i)
      EXPECT_TRUE(pane->list()->topLevelItem(i)->text(2).contains(shortName, Qt::CaseInsensitive));
    // By name, as --refs lists them.
    EXPECT_EQ(window_->navigation().ListReferences(name), static_cast<int>(expected.size()));
  }
  // A row opens its place with the name selected.
  ResultsPane* pane = window_->resultsPane();
  pane->Open(1);
  ASSERT_NE(window_->ActiveEditor(), nullptr);
  EXPECT_EQ(window_->ActiveEditor()->textCursor().selectedText(), QStringLiteral("GetPos"));
}

TEST_F(NavigationTest, UnresolvedNamesSayWhyAndHoverShowsTheDeclaration) {
  Activate();
  auto modMain = Component(*window_, u"modMain");
  struct Case {
    const char16_t* line;
    const char16_t* name;
    const char* status;  // the start of the status bar's message
  };
  const Case cases[] = {
      {u"objCtl.Font.Name = MainFont", u"Font", "Unresolved member Font"},  // objCtl As Object
      {u"Forms(i).Font.Name = MainFont", u"Forms", "Forms is not declared in the projects"},
      {u"    Exit Sub", u"Exit", "Identifier under cursor is not recognized"},  // a keyword
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToUtf8(c.name));
    const CodePlace at = PlaceOf(modMain, c.line, c.name, modMain->code()->ProcStartLine(u"LoadFont", 0));
    CodeEditor* e = PutCaret(*window_, at);
    QTest::keyClick(e, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(window_->ActiveEditor(), e);
    EXPECT_EQ(e->CaretLine(), at.line);
    EXPECT_TRUE(Status().startsWith(QString::fromUtf8(c.status))) << Status().toStdString();
    EXPECT_EQ(window_->navigation().ListReferences(), -1);
  }
  // Hovering a name: its declaration and where it is; a member of an Object: why not.
  CodeEditor* e = window_->ShowCode(modMain);
  auto hover = [&](const std::u16string& text, const std::u16string& name) {
    const CodePlace at = PlaceOf(modMain, text, name, modMain->code()->ProcStartLine(u"LoadFont", 0));
    e->SelectPlace(at.line, at.column, 0);
    const QPoint pos = e->cursorRect().center();
    QHelpEvent help(QEvent::ToolTip, pos, e->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(e->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  const QString tip = hover(u"= Charset", u"Charset");
  EXPECT_TRUE(tip.startsWith(QStringLiteral("Private Sub LoadFont(ByVal MainFont As String"))) << tip.toStdString();
  EXPECT_TRUE(tip.endsWith(QStringLiteral("modMain, line %1").arg(modMain->code()->ProcBodyLine(u"LoadFont", 0))))
      << tip.toStdString();
  EXPECT_TRUE(hover(u"objCtl.Font.Charset = Charset", u"Font").startsWith(QStringLiteral("Unresolved member Font")));
}

// The group of two projects: the test project's form uses the user control
// of the control's project.
class GroupNavigationTest : public NavigationTest {
 protected:
  void SetUp() override {
    project_dir_ = "EduardoVB__SSTabEx";
    project_ = "Group1.vbg";
    code_page_ = CodePage::Named("CP1252");
    Prepare("1");
  }
};

TEST_F(GroupNavigationTest, DefinitionsLieInTheOtherProjectOfTheGroup) {
  ASSERT_EQ(window_->workspace().projects.size(), 2u);
  auto form = Component(*window_, u"frmTest", 1);
  auto control = Component(*window_, u"SSTabEx", 0);
  struct Case {
    const char16_t* line;
    const char16_t* name;
    const char* declared;
  };
  const Case cases[] = {
      {u"(SSTabEx1.BackStyle = ssOpaque)", u"ssOpaque", "ssOpaque = 1"},
      {u"(SSTabEx1.BackStyle = ssOpaque)", u"BackStyle", "Public Property Get BackStyle()"},
      {u"    SSTabEx1.BackStyle = cboBackStyle", u"BackStyle", "Public Property Let BackStyle("},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.declared);
    PutCaret(*window_, PlaceOf(form, c.line, c.name));
    ASSERT_TRUE(window_->navigation().GoToDefinition()) << window_->navigation().message().toStdString();
    CodeEditor* e = window_->ActiveEditor();
    EXPECT_EQ(e->component(), control);
    EXPECT_TRUE(CaretLineText(e).startsWith(QString::fromUtf8(c.declared))) << CaretLineText(e).toStdString();
  }
  // A property's references are its Get's and its Let's, as `tarno refs SSTabEx.BackStyle` lists them.
  const std::vector<CodePlace> refs =
      window_->navigator().ReferencesAt(PlaceOf(form, u"    SSTabEx1.BackStyle = cboBackStyle", u"BackStyle"));
  std::multiset<std::u16string> where;
  for (const CodePlace& p : refs) where.insert(p.component->name());
  EXPECT_EQ(where, (std::multiset<std::u16string>{u"SSTabEx", u"frmTest", u"frmTest", u"frmTest"}));
  // The tooltip names the project as well as the module.
  const QString tip = window_->navigation().Tooltip(PlaceOf(form, u"(SSTabEx1.BackStyle = ssOpaque)", u"ssOpaque"));
  EXPECT_TRUE(tip.contains(QStringLiteral("TabExCtl.SSTabEx, line "))) << tip.toStdString();
}

TEST_F(GroupNavigationTest, FindInAllProjectsFindsInEachProjectOfTheGroup) {
  FindReplace& f = window_->finder();
  f.options = {QStringLiteral("hWnd"), false, true, false};
  // What each project holds, found from a pane of it.
  int perProject[2] = {0, 0};
  for (size_t p = 0; p < 2; ++p) {
    window_->ShowCode(Component(*window_, u"cDlg", p));
    f.scope = FindScope::Project;
    perProject[p] = f.FindAll();
    for (const CodePlace& place : window_->resultsPane()->places())
      EXPECT_EQ(place.component->project(), window_->workspace().projects[p]);
  }
  ASSERT_GT(perProject[0], 0);
  ASSERT_GT(perProject[1], 0);
  f.scope = FindScope::AllProjects;
  EXPECT_EQ(f.FindAll(), perProject[0] + perProject[1]);
  std::set<std::shared_ptr<host::MemProject>> projects;
  for (const CodePlace& place : window_->resultsPane()->places()) projects.insert(place.component->project());
  EXPECT_EQ(projects.size(), 2u);
  // The two projects hold the same cDlg.cls: each is listed, as often.
  int cDlgRows[2] = {0, 0};
  for (const CodePlace& place : window_->resultsPane()->places())
    for (size_t p = 0; p < 2; ++p)
      cDlgRows[p] += place.component == Component(*window_, u"cDlg", p);
  EXPECT_GT(cDlgRows[0], 0);
  EXPECT_EQ(cDlgRows[0], cDlgRows[1]);
}

}  // namespace
}  // namespace tarno::workbench::test
