// The checks read every line, search names and ask for members over whole
// projects; this measures the in-memory code module on a project of
// 1,000,000 code lines (100 modules of 10,000 lines).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "host/code_module.h"
#include "host/module_text.h"

using Clock = std::chrono::steady_clock;

static double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

static std::vector<std::u16string> ModuleBody(int lines) {
  std::vector<std::u16string> body;
  body.push_back(u"Option Explicit");
  for (int i = 0; i < 20; ++i) body.push_back(u"Private m_value" + std::u16string(1, u'A' + i) + u" As Long, m_other As String");
  body.push_back(u"Private Declare Function GetTickCount Lib \"kernel32\" () As Long");
  int proc = 0;
  while (static_cast<int>(body.size()) + 20 <= lines) {
    std::u16string name = u"Proc";
    for (int n = ++proc; n > 0; n /= 10) name.insert(name.begin() + 4, char16_t(u'0' + n % 10));
    body.push_back(u"");
    body.push_back(u"' " + name + u" does things");
    body.push_back(u"Public Function " + name + u"(ByVal x As Long) As Long");
    for (int k = 0; k < 15; ++k) body.push_back(u"    x = x + m_valueA * " + name + u"(x - 1) ' step");
    body.push_back(u"End Function");
  }
  while (static_cast<int>(body.size()) < lines) body.push_back(u"");
  return body;
}

int main() {
  const int kModules = 100, kLines = 10000;
  auto t0 = Clock::now();
  std::vector<tarno::host::MemCodeModule> modules;
  modules.reserve(kModules);
  auto body = ModuleBody(kLines);
  for (int i = 0; i < kModules; ++i) modules.emplace_back(tarno::host::ModuleText(std::vector<std::u16string>(body)));
  auto t1 = Clock::now();
  std::printf("load %d modules x %d lines: %.1f ms\n", kModules, kLines, Ms(t0, t1));

  size_t members = 0;
  for (auto& m : modules) members += m.Members().size();
  auto t2 = Clock::now();
  std::printf("first Members() (analysis) of all modules: %.1f ms (%zu members)\n", Ms(t1, t2), members);

  for (int r = 0; r < 100; ++r) {
    for (auto& m : modules) members += m.Members().size();
  }
  auto t3 = Clock::now();
  std::printf("Members() again, 100 x %d modules: %.1f ms\n", kModules, Ms(t2, t3));

  size_t chars = 0;
  for (auto& m : modules) {
    const int n = m.CountOfLines();
    for (int i = 1; i <= n; ++i) chars += m.Lines(i, 1).size();
  }
  auto t4 = Clock::now();
  std::printf("Lines(i, 1) over 1,000,000 lines: %.1f ms (%zu chars)\n", Ms(t3, t4), chars);

  int found = 0;
  for (auto& m : modules) {
    const int n = m.CountOfLines();
    for (int i = 1; i <= n; i += 10) {
      int sl = i, sc = 1, el = i, ec = -1;
      found += m.Find(u"m_valueA", sl, sc, el, ec, true, true) ? 1 : 0;
    }
  }
  auto t5 = Clock::now();
  std::printf("Find whole word on 100,000 single-line ranges: %.1f ms (%d found)\n", Ms(t4, t5), found);

  // The procedure check searches each name through whole modules.
  int hits = 0;
  for (auto& mod : modules) {
    int sl = 1, sc = 1, el = mod.CountOfLines(), ec = -1;
    hits += mod.Find(u"NoSuchProcedureName", sl, sc, el, ec, true, true) ? 1 : 0;
  }
  auto t5b = Clock::now();
  std::printf("Find of an absent name through all 1,000,000 lines: %.1f ms\n", Ms(t5, t5b));
  t5 = t5b;

  int procs = hits;
  for (auto& m : modules) {
    for (int i = 1; i <= m.CountOfLines(); i += 50) {
      int kind;
      procs += m.ProcOfLine(i, &kind).empty() ? 0 : 1;
    }
  }
  auto t6 = Clock::now();
  std::printf("ProcOfLine on 20,000 lines: %.1f ms\n", Ms(t5, t6));

  // An edit makes the next query work the module out again, once.
  auto& m = modules.front();
  for (int r = 0; r < 100; ++r) {
    m.InsertLines(40, u"    On Error GoTo ErrHandler\r\n");
    procs += m.ProcStartLine(u"Proc1", 0);
  }
  auto t7 = Clock::now();
  std::printf("100 x (InsertLines + ProcStartLine) on a 10,000-line module: %.1f ms\n", Ms(t6, t7));
  return procs > 0 ? 0 : 1;
}
