// A deterministic synthetic VB 6 project of a given number of code lines, for
// the check benchmarks: standard modules, classes and forms with controls;
// public and private variables, constants and procedures used within their
// module and across modules, event procedures, comments, strings and
// continued lines, and a few names that nothing uses.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tarno::bench {

class SyntheticProject {
 public:
  // Writes Project.vbp and its component files into `dir` (which must exist);
  // returns the total bytes written for components.
  static uint64_t Write(const std::filesystem::path& dir, int codeLines, uint32_t seed = 1) {
    SyntheticProject g(seed);
    return g.WriteAll(dir, codeLines);
  }

 private:
  explicit SyntheticProject(uint32_t seed) : state_(seed * 2654435761u + 7u) {}

  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

  static constexpr int kLinesPerModule = 1500;

  // Public procedures of module m are named Pm_k; public variables Gm_k.
  static std::string PublicProc(int m, int k) { return "Proc" + std::to_string(m) + "_" + std::to_string(k); }
  static std::string PublicVar(int m, int k) { return "g" + std::to_string(m) + "v" + std::to_string(k); }

  std::string Body(int m, int modules, int& lines, const std::vector<std::string>& locals) {
    std::string s;
    // Declarations of the procedure.
    s += "    Dim lngIndex As Long, lngCount As Long\r\n";
    s += "    Dim strText As String\r\n";
    s += "    Dim objItem As Object ' not used\r\n";
    s += "    Const MAX_ITEMS = 100\r\n";
    lines += 4;
    const int statements = 10 + Below(10);
    for (int i = 0; i < statements; ++i) {
      switch (Below(10)) {
        case 0: s += "    For lngIndex = 1 To MAX_ITEMS\r\n        lngCount = lngCount + lngIndex\r\n    Next\r\n"; lines += 3; break;
        case 1: s += "    strText = \"Count: \" & CStr(lngCount) ' show it\r\n"; lines += 1; break;
        case 2: {
          int other = Below(modules);
          s += "    Call " + PublicProc(other, Below(8)) + "(lngCount)\r\n";
          lines += 1;
          break;
        }
        case 3: s += "    ' " + locals[static_cast<size_t>(Below(static_cast<int>(locals.size())))] + " is kept for later\r\n"; lines += 1; break;
        case 4: s += "    If lngCount > 10 And _\r\n       Len(strText) > 0 Then\r\n        lngCount = 0\r\n    End If\r\n"; lines += 4; break;
        case 5: s += "    " + PublicVar(Below(modules), Below(6)) + " = lngCount + " + locals[static_cast<size_t>(Below(static_cast<int>(locals.size())))] + "\r\n"; lines += 1; break;
        case 6: s += "    Debug.Print \"lngIndex\", strText\r\n"; lines += 1; break;
        case 7: s += "    Select Case lngCount\r\n    Case 0: strText = \"\"\r\n    Case Else: strText = \"x\"\r\n    End Select\r\n"; lines += 4; break;
        case 8: s += "    m_lngTotal" + std::to_string(m) + " = m_lngTotal" + std::to_string(m) + " + lngCount\r\n"; lines += 1; break;
        default: s += "    lngCount = lngCount * 2 + Helper" + std::to_string(Below(6)) + "(strText)\r\n"; lines += 1; break;
      }
    }
    return s;
  }

  std::string Module(int m, int modules, int kind, int target, int& lines) {
    std::string s;
    std::vector<std::string> locals;
    s += "Option Explicit\r\n";
    s += "' Module " + std::to_string(m) + ": generated for the benchmark\r\n";
    lines += 2;
    s += "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n";
    lines += 1;
    for (int k = 0; k < 6; ++k) {
      s += (kind == 1 ? "Public " : "Private ") + PublicVar(m, k) + " As Long\r\n";
      locals.push_back(PublicVar(m, k));
      ++lines;
    }
    if (kind == 1) {
      // Every module's public variables are real globals in standard modules.
    }
    s += "Private m_lngTotal" + std::to_string(m) + " As Long, m_strName" + std::to_string(m) + " As String\r\n";
    s += "Private Const LIMIT" + std::to_string(m) + " As Long = 10\r\n";
    s += "Dim m_unused" + std::to_string(m) + " As Variant\r\n";
    lines += 3;
    locals.push_back("m_strName" + std::to_string(m));
    s += "\r\n";
    ++lines;
    int k = 0;
    while (lines < target) {
      std::string name;
      std::string header;
      std::string end = "End Sub";
      switch (k % 8) {
        case 0:
          if (kind == 3) {
            header = "Private Sub Command" + std::to_string(k % 4 + 1) + "_Click()";
          } else if (kind == 2) {
            header = "Private Sub Class_Initialize()";
          } else {
            header = "Public Sub " + PublicProc(m, k / 8 % 8) + "(ByVal lngValue As Long)";
          }
          break;
        case 1: header = "Private Function Helper" + std::to_string(k % 6) + "(ByVal strValue As String) As Long", end = "End Function"; break;
        case 2: header = "Public Property Get Total" + std::to_string(k) + "() As Long", end = "End Property"; break;
        case 3: header = "Public Property Let Total" + std::to_string(k - 1) + "(ByVal lngValue As Long)", end = "End Property"; break;
        case 4: header = "Private Sub Unused" + std::to_string(m) + "_" + std::to_string(k) + "()"; break;
        default: header = "Public Sub " + PublicProc(m, k % 8) + "_" + std::to_string(k) + "()"; break;
      }
      s += header + "\r\n";
      ++lines;
      s += Body(m, modules, lines, locals);
      s += end + "\r\n\r\n";
      lines += 2;
      ++k;
    }
    return s;
  }

  uint64_t WriteAll(const std::filesystem::path& dir, int codeLines) {
    const int modules = std::max(1, codeLines / kLinesPerModule);
    std::string vbp = "Type=Exe\r\n";
    uint64_t bytes = 0;
    int total = 0;
    for (int m = 0; m < modules; ++m) {
      const int kind = m % 5 == 3 ? 2 : (m % 5 == 4 ? 3 : 1);  // 1 module, 2 class, 3 form
      const std::string name = (kind == 1 ? "Module" : kind == 2 ? "Class" : "Form") + std::to_string(m);
      const int target = codeLines / modules + (m < codeLines % modules ? 1 : 0);
      int lines = 0;
      std::string code = Module(m, modules, kind, target, lines);
      total += lines;
      std::string file;
      if (kind == 1) {
        file = name + ".bas";
        vbp += "Module=" + name + "; " + file + "\r\n";
        code = "Attribute VB_Name = \"" + name + "\"\r\n" + code;
      } else if (kind == 2) {
        file = name + ".cls";
        vbp += "Class=" + name + "; " + file + "\r\n";
        code = "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"" + name +
               "\"\r\nAttribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = True\r\n"
               "Attribute VB_PredeclaredId = False\r\nAttribute VB_Exposed = False\r\n" + code;
      } else {
        file = name + ".frm";
        vbp += "Form=" + file + "\r\n";
        std::string head = "VERSION 5.00\r\nBegin VB.Form " + name +
                           "\r\n   Caption         =   \"" + name + "\"\r\n   ClientHeight    =   3000\r\n"
                           "   ClientWidth     =   4000\r\n";
        for (int c = 1; c <= 4; ++c) {
          head += "   Begin VB.CommandButton Command" + std::to_string(c) +
                  "\r\n      Caption         =   \"OK\"\r\n      Height          =   375\r\n"
                  "      Left            =   120\r\n      TabIndex        =   " + std::to_string(c - 1) +
                  "\r\n      Top             =   120\r\n      Width           =   1215\r\n   End\r\n";
        }
        head += "End\r\nAttribute VB_Name = \"" + name +
                "\"\r\nAttribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = False\r\n"
                "Attribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = False\r\n";
        code = head + code;
      }
      bytes += code.size();
      std::ofstream(dir / file, std::ios::binary) << code;
    }
    vbp += "Startup=\"Sub Main\"\r\nName=\"Synthetic\"\r\n";
    std::ofstream(dir / "Project.vbp", std::ios::binary) << vbp;
    (void)total;
    return bytes;
  }

  uint32_t state_;
};

}  // namespace tarno::bench
