#include "random_modules.h"

#include <array>

namespace tarno::checks::testing {

namespace {
const std::array<const char*, 22> kNames = {"a",     "b",     "x",    "i",        "cnt",   "m_x",   "lngAsset", "Astro",
                                            "s",     "Foo",   "Bar",  "Text1",    "Command1", "Mnu", "g_v",     "C1",
                                            "Helper", "Value", "Form", "Class",   "obj",   "名前"};
}  // namespace

uint32_t RandomModules::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

std::string RandomModules::Name() { return kNames[static_cast<size_t>(Below(static_cast<int>(kNames.size())))]; }

std::string RandomModules::Declaration() {
  switch (Below(24)) {
    case 0: return "Option Explicit";
    case 1: return "Private " + Name() + " As Long";
    case 2: return "Dim " + Name() + ", " + Name() + " As Integer";
    case 3: return "Public " + Name() + " As String";
    case 4: return "Global " + Name();
    case 5: return "Private Const " + Name() + " = 1";
    case 6: return "Public Const " + Name() + " As Long = 2, " + Name() + " = 3";
    case 7: {
      // The IDE writes a hidden attribute line after every WithEvents variable.
      std::string n = Name();
      return "Private WithEvents " + n + " As Class1" + (Chance(50) ? "\nAttribute " + n + ".VB_VarHelpID = -1" : "");
    }
    case 8: return "Private Declare Function " + Name() + " Lib \"k32\" () As Long";
    case 9: return "' Declare comment";
    case 10: return "' note _";
    case 11: return "Private Type T" + Name() + "\n    " + Name() + " As Long\nEnd Type";
    case 12: return "Private " + Name() + " As Long, _\n    " + Name() + " As Long";
    case 13: return "Dim " + Name() + "(10) As Long";
    case 14: return "Public Event " + Name() + "()";
    case 15: return "";
    case 16: return "Dim " + Name() + " ' " + Name();
    case 17: return "Private " + Name() + " As String: Private Const K = \"a, b\"";
    case 18: return "Public " + Name() + "_" + Name() + " As Long";
    case 19: return "Dim " + Name() + "As Long";
    case 20: return "Private Enum E" + Name() + "\n    " + Name() + " = 1\nEnd Enum";
    case 21: return "Dim " + Name() + " As New Collection";
    case 22: return "Private " + Name() + " As Long ' Rem " + Name();
    default: return "Public Declare Sub " + Name() + " Lib \"k\" (ByVal " + Name() + "_x As Long)";
  }
}

std::string RandomModules::BodyLine() {
  switch (Below(30)) {
    case 0: return "    Dim " + Name() + " As Long";
    case 1: return "    Dim " + Name() + ", " + Name();
    case 2: return "    Static " + Name() + " As Long";
    case 3: return "    Const " + Name() + " = 5";
    case 4: return "    ReDim " + Name() + "(3)";
    case 5: return "    " + Name() + " = " + Name() + " + 1";
    case 6: return "    Call " + Name() + "(" + Name() + ")";
    case 7: return "    Debug.Print \"" + Name() + "\" & " + Name();
    case 8: return "    ' " + Name();
    case 9: return "    Rem " + Name();
    case 10: return "    y = " + Name() + " ' " + Name();
    case 11: return "    If " + Name() + " Then _\n        " + Name() + " = 1";
    case 12: return "    rs.CursorType = adOpenStatic";
    case 13: return "    " + Name() + " = \"it's\" & " + Name();
    case 14: return "    Call RemoveAll(" + Name() + ")";
    case 15: return "    " + Name() + "." + Name() + " = 1";
    case 16: return "    Set " + Name() + " = New Class1";
    case 17: return "    s = \"a, b\" & \"" + Name() + "\"";
    case 18: return "    " + Name() + Name() + " = 2";
    case 19: return "";
    case 20: return "    Dim " + Name() + " As Long, _\n        " + Name() + " As Long";
    case 21: return "    x = 1: Dim " + Name();
    case 22: return "    Static " + Name() + " =Static";
    case 23: return "    Const " + Name() + " As String = \"" + Name() + "\"";
    case 24: return "    MsgBox \"'\" & " + Name() + " & \"'\"";
    case 25: return "    " + Name() + " = '" + Name() + "\"";
    case 26: return "    Dim " + Name() + "(1 To 3) As String ' Declare";
    case 27: return "    " + Name() + "_" + Name();
    case 28: return "    Dim " + Name() + " As Long, " + Name() + " As Long, " + Name() + " As Long";
    default: return "    x = " + Name() + "(1) _ ";
  }
}

std::string RandomModules::Module(bool form) {
  std::string code;
  const int decls = Below(8);
  for (int i = 0; i < decls; ++i) code += Declaration() + "\n";
  const int procs = Below(6);
  for (int p = 0; p < procs; ++p) {
    if (Chance(20)) code += "' about the next one\n";
    std::string name = Name();
    std::string end = "End Sub";
    switch (Below(10)) {
      case 0: code += "Private Sub " + name + "()\n"; break;
      case 1: code += "Public Function " + name + "() As Long\n", end = "End Function"; break;
      case 2: code += "Property Get " + name + "() As Long\n", end = "End Property"; break;
      case 3: code += "Property Let " + name + "(ByVal v As Long)\n", end = "End Property"; break;
      case 4: code += "Private Sub " + Name() + "_Click()\n"; break;
      case 5: code += "Friend Sub " + name + "()\n"; break;
      case 6: code += std::string(form ? "Private Sub Form_Load()\n" : "Private Sub Class_Initialize()\n"); break;
      case 7: code += "Sub " + name + "(): " + Name() + " = 1: End Sub\n", end.clear(); break;
      case 8:
        // One body under two declarations, one per #If branch.
        code += "#If VBA7 Then\nPublic Function " + name + "(a As Long) As Long\n#Else\nPublic Function " + name +
                "(b As String) As Long\n#End If\n";
        end = "End Function";
        break;
      default: code += "Private Sub " + Name() + "_Change()\n"; break;
    }
    if (end.empty()) continue;
    if (Chance(15)) code += "Attribute " + name + ".VB_Description = \"" + Name() + "\"\n";
    const int lines = Below(7);
    for (int i = 0; i < lines; ++i) code += BodyLine() + "\n";
    code += end + "\n";
  }
  if (Chance(10)) code += "    x = " + Name() + " _\n";
  return code;
}

test::TestHost RandomModules::Project() {
  test::HostBuilder b;
  const int count = 1 + Below(4);
  for (int i = 1; i <= count; ++i) {
    std::string n = std::to_string(i);
    switch (Below(5)) {
      case 0: b.Class("Class" + n, Module(false)); break;
      case 1:
        b.Form("Form" + n, Module(true), {{"CommandButton", "Command1"}, {"TextBox", "Text1", 0}, {"TextBox", "Text1", 1}});
        break;
      case 2: b.Component(ide::ComponentType::ResFile, "Res" + n, ""); break;
      default: b.Module("Module" + n, Module(false)); break;
    }
  }
  if (Chance(10)) b.Module("OneLine", "Sub " + Name() + "(): End Sub");
  return b.Build();
}

}  // namespace tarno::checks::testing
