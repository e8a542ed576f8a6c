#include "oracle_checks.h"

#include "platform/vb_text.h"

namespace tarno::checks::oracle {

using vb::InStr;
using vb::Mid;
using vb::Trim;
using Str = std::u16string;

namespace {
const Str kQuote = u"\"";
const Str kApos = u"'";

// The character at position p is a blank (position 0 is none).
bool BlankAt(const Str& text, int p) { return p >= 1 && Mid(text, p, 1) == u" "; }
}  // namespace

Statement ReadStatement(ide::CodeModule& module, int L) {
  Statement st;
  st.L = L;
  st.n = 1;
  Str current = module.Lines(L, 1);
  while (!current.empty() && current.back() == u'_' && L + st.n <= module.CountOfLines()) {
    current = module.Lines(L + st.n, 1);
    st.n = st.n + 1;
  }
  st.text = Trim(module.Lines(L, st.n));
  return st;
}

bool IsInCommentOrString(const Str& text, const Str& name) {
  int w = InStr(text, name);
  if (w == 0) return true;
  if (w == 1) return false;
  if (InStr(text, u"Rem") > 0 && InStr(text, u"Rem") < w) return true;
  int q = InStr(text, kQuote);
  int apos = InStr(text, kApos);
  while (apos > 0 && InStr(apos + 1, text, kApos) > 0 && InStr(apos + 1, text, kApos) < w) {
    apos = InStr(apos + 1, text, kApos);
  }
  if (!(apos == 0 || apos > w)) {
    int k = q > 0 ? 1 : 0;
    while (q > 0 && InStr(q + 1, text, kQuote) > 0 && InStr(q + 1, text, kQuote) < apos) {
      q = InStr(q + 1, text, kQuote);
      k = k + 1;
    }
    if (InStr(text, kQuote) == 0 || k % 2 == 0) return true;
    int z = InStr(apos + 1, text, kQuote);
    if (z > 0) return z > w;
    return InStr(w + 1, text, kQuote) > 0;
  }
  int k = q > 0 ? 1 : 0;
  while (q > 0 && InStr(q + 1, text, kQuote) > 0 && InStr(q + 1, text, kQuote) < w) {
    q = InStr(q + 1, text, kQuote);
    k = k + 1;
  }
  if (InStr(text, kQuote) == 0) return false;
  if (k % 2 == 0) return false;
  if (k == 1) return false;
  return InStr(w + 1, text, kQuote) > 0;
}

bool IsUseInStatement(ide::CodeModule& module, const Statement& st, const Str& name, int boundary) {
  if (vb::Left(st.text, 1) == kApos) return false;
  if (IsInCommentOrString(st.text, name)) return false;
  if (Trim(st.text).empty()) return false;
  int startLine = st.L, startColumn = 1, endLine = st.L + st.n - 1, endColumn = -1;
  if (!module.Find(name, startLine, startColumn, endLine, endColumn, true, true, false)) return false;
  if (startLine <= boundary + 1) return false;
  int q1 = InStr(st.text, kQuote);
  if (q1 == 0) return true;
  int q2 = InStr(q1 + 1, st.text, kQuote);
  int p = InStr(st.text, name);
  if (q1 < p && p < q2) return false;
  return true;
}

bool FindUse(ide::CodeModule& module, const Str& name, int first, int last, int boundary) {
  int L = first;
  while (L <= last) {
    Statement st = ReadStatement(module, L);
    if (IsUseInStatement(module, st, name, boundary)) return true;
    L = L + st.n;
  }
  return false;
}

namespace {

enum Scope { kNone, kGlobal, kPublic, kPrivate, kDim, kConst, kStatic };

// The scanner, with its state as the rules name it.
class VariableScanner {
 public:
  VariableScanner(ide::VBProject& project, bool projectMode) : project_(project), projectMode_(projectMode) {}

  void ScanModule(ide::CodeModule& cm, VariableModuleEntry& entry) {
    cm_ = &cm;
    entry_ = &entry;
    haveProc_ = false;
    procName_.clear();
    section_ = 0;
    int L = 1;
    while (L <= cm.CountOfDeclarationLines()) {
      Statement st = ReadStatement(cm, L);
      DeclarationStatement(st);
      L = L + st.n;
    }
    section_ = 1;
    L = cm.CountOfDeclarationLines() + 1;
    while (L <= cm.CountOfLines()) {
      Statement st = ReadStatement(cm, L);
      ProcedureStatement(st);
      L = L + st.n;
    }
  }

 private:
  void CommentFlag() {
    if (InStr(text_, u"Declare") > 0) {
      declareFlag_ = true;
    } else if (declareFlag_ && InStr(text_, u"_") > 0) {
      declareFlag_ = true;
    } else {
      declareFlag_ = false;
    }
  }

  // True when the Declare flag makes the statement skipped.
  bool DeclareSkips() {
    if (InStr(text_, u"Declare") > 0) {
      declareFlag_ = true;
      return true;
    }
    if (declareFlag_ && InStr(text_, u"_") > 0) return true;
    declareFlag_ = false;
    return false;
  }

  void DeclarationStatement(const Statement& st) {
    text_ = st.text;
    if (vb::Left(text_, 1) == kApos) {
      CommentFlag();
      return;
    }
    scope_ = kNone;
    if (InStr(text_, u"Global") > 0) {
      scope_ = kGlobal;
      nameStart_ = 7;
    } else if (InStr(text_, u"Public") > 0) {
      scope_ = kPublic;
      nameStart_ = 7;
    } else if (InStr(text_, u"Private") > 0) {
      scope_ = kPrivate;
      nameStart_ = 8;
    } else if (InStr(text_, u"Dim") > 0) {
      if (InStr(text_, u"ReDim") == 0) {
        scope_ = kDim;
        nameStart_ = 4;
      }
    }
    if (scope_ == kNone) return;
    declLine_ = st.L;
    if (DeclareSkips()) return;
    if ((scope_ == kGlobal || scope_ == kPublic) && !projectMode_) return;
    if (InStr(text_, u"Const") > 0) {
      ConstantName();
    } else {
      GeneralNames();
    }
  }

  void ProcedureStatement(const Statement& st) {
    text_ = st.text;
    if (vb::Left(text_, 1) == kApos) {
      CommentFlag();
      return;
    }
    scope_ = kNone;
    if (InStr(text_, u"Dim") > 0) {
      if (InStr(text_, u"ReDim") == 0) {
        scope_ = kDim;
        nameStart_ = 4;
      }
    } else if (InStr(text_, u"Const") > 0) {
      scope_ = kConst;
      nameStart_ = 6;
    } else if (InStr(text_, u"Static") > 0) {
      if (InStr(text_, u"=") > 0 && Mid(text_, InStr(text_, u"=") + 1) != u"Static") {
        scope_ = kNone;
      } else {
        scope_ = kStatic;
        nameStart_ = 7;
      }
    }
    if (scope_ == kNone) return;
    declLine_ = st.L;
    if (DeclareSkips()) return;
    if (InStr(text_, u"Const") > 0) {
      ConstantName();
    } else {
      GeneralNames();
    }
  }

  int NextAsAfterBlank(int from) {
    int a = InStr(from, text_, u"As");
    while (a != 0 && !BlankAt(text_, a - 1)) a = InStr(a + 1, text_, u"As");
    return a;
  }

  void EndMarker() {
    if (InStr(mark_ + 1, text_, u",") == 0) {
      mark_ = InStr(mark_ + 1, text_, u"As");
      if (mark_ != 0 && InStr(mark_ - 1, text_, kQuote) == 0 && !BlankAt(text_, mark_ - 1)) {
        mark_ = NextAsAfterBlank(mark_ + 1);
      }
    } else {
      int a = NextAsAfterBlank(mark_ + 1);
      int c = InStr(mark_ + 1, text_, u",");
      if (a != 0 && a < c) {
        mark_ = a;
      } else {
        mark_ = c;
      }
    }
  }

  void GeneralNames() {
    mark_ = 0;
    do {
      EndMarker();
      if (!more_) commaStart_ = 1;
      Str name;
      if (InStr(text_, u"WithEvents") > 0) {
        if (mark_ == 0) {
          name = Trim(Mid(text_, nameStart_ + 12));
        } else {
          name = Trim(Mid(text_, nameStart_ + 12, mark_ - nameStart_ - 13));
        }
        Search(name);
        return;
      }
      int c = InStr(commaStart_, text_, u",");
      if (c == 0) {
        if (mark_ == 0) {
          name = Trim(Mid(text_, nameStart_));
        } else {
          name = Trim(Mid(text_, nameStart_, mark_ - 1 - nameStart_));
        }
        more_ = false;
      } else {
        int x = mark_ == 0 ? c : mark_;
        name = Trim(Mid(text_, nameStart_ + 1, x - 1 - nameStart_));
        nameStart_ = c + 1;
        commaStart_ = c + 1;
        if (mark_ != 0) mark_ = c + 1;
        more_ = InStr(c - 1, text_, kQuote) == 0;
      }
      Search(name);
    } while (more_);
  }

  void ConstantName() {
    mark_ = InStr(1, text_, u"As");
    if (mark_ != 0 && InStr(mark_ - 1, text_, kQuote) == 0 && !BlankAt(text_, mark_ - 1)) {
      mark_ = NextAsAfterBlank(mark_ + 1);
    }
    int e = InStr(nameStart_, text_, u"=");
    if (e == 0) return;
    int s;
    if (section_ == 0) {
      s = nameStart_ + 7;
    } else {
      s = scope_ == kConst ? 7 : nameStart_ + 7;
    }
    Str name;
    if (mark_ == 0 || e < mark_) {
      name = Trim(Mid(text_, s, e - 1 - s));
    } else {
      name = Trim(Mid(text_, s, mark_ - 1 - s));
    }
    Search(name);
  }

  void Search(const Str& name) {
    bool used = false;
    int level = 0;
    Str proc = u"Declarations";
    if (section_ == 0) {
      if (scope_ == kGlobal || scope_ == kPublic) {
        auto comps = project_.VBComponents();
        for (int i = 1; i <= comps->Count() && !used; ++i) {
          auto cm = comps->Item(i)->CodeModule();
          if (!cm) continue;
          used = FindUse(*cm, name, cm->CountOfDeclarationLines() + 1, cm->CountOfLines(),
                         cm->CountOfDeclarationLines());
        }
      } else {
        used = FindUse(*cm_, name, cm_->CountOfDeclarationLines() + 1, cm_->CountOfLines(),
                       cm_->CountOfDeclarationLines());
      }
    } else {
      level = 1;
      int kind = 0;
      proc = cm_->ProcOfLine(declLine_, &kind);
      if (!haveProc_ || proc != procName_) {
        procName_ = proc;
        haveProc_ = true;
        bodyLine_ = 0;
        searchEnd_ = 0;
        for (int k : {0, 3, 1, 2}) {
          try {
            int body = cm_->ProcBodyLine(proc, k);
            int count = cm_->ProcCountLines(proc, k);
            bodyLine_ = body;
            searchEnd_ = body + count;
            break;
          } catch (const ide::HostError&) {
          }
        }
      }
      int last = searchEnd_;
      if (last > cm_->CountOfLines()) last = cm_->CountOfLines();
      used = FindUse(*cm_, name, declLine_ + 1, last, bodyLine_);
    }
    if (!used) entry_->findings.push_back({name, declLine_, level, proc});
  }

  ide::VBProject& project_;
  bool projectMode_;
  ide::CodeModule* cm_ = nullptr;
  VariableModuleEntry* entry_ = nullptr;
  bool declareFlag_ = false;
  int section_ = 0;
  Str text_;
  Scope scope_ = kNone;
  int nameStart_ = 0, mark_ = 0, commaStart_ = 1, declLine_ = 0;
  bool more_ = false;
  bool haveProc_ = false;
  Str procName_;
  int bodyLine_ = 0, searchEnd_ = 0;
};

}  // namespace

VariableCheckResult CheckModuleVariables(ide::VBProject& project, int componentIndex, const Str& moduleName) {
  VariableCheckResult result;
  result.projectName = project.Name();
  VariableScanner scanner(project, false);
  auto comp = project.VBComponents()->Item(componentIndex);
  VariableModuleEntry entry;
  entry.name = moduleName;
  entry.component = componentIndex;
  auto cm = comp->CodeModule();
  if (cm) scanner.ScanModule(*cm, entry);
  if (!entry.findings.empty()) result.modules.push_back(entry);
  return result;
}

VariableCheckResult CheckProjectVariables(ide::VBProject& project) {
  VariableCheckResult result;
  result.projectName = project.Name();
  VariableScanner scanner(project, true);
  auto comps = project.VBComponents();
  for (int i = 1; i <= comps->Count(); ++i) {
    auto comp = comps->Item(i);
    VariableModuleEntry entry;
    entry.name = comp->Name();
    entry.component = i;
    auto cm = comp->CodeModule();
    if (!cm) continue;
    scanner.ScanModule(*cm, entry);
    if (!entry.findings.empty()) result.modules.push_back(entry);
  }
  return result;
}

namespace {

const Str kObjectNames[] = {u"Class",          u"Form",          u"MDIForm",         u"UserControl",
                            u"PropertyPage",   u"DataReport",    u"BaseWindow",      u"DHTMLPage",
                            u"Document",       u"WebClass",      u"UserConnection",  u"DataEnvironment",
                            u"Connection",     u"UserDocument",  u"IDTExtensibility"};

// The search of one module: true when a match outside the own lines counts
// (own lines apply only when `own` is set).
bool SearchModule(ide::CodeModule& cm, const Str& name, int start, int end, bool own) {
  int searchLine = 1;
  for (int i = 1; i <= cm.CountOfLines(); ++i) {
    if (searchLine > cm.CountOfLines()) return false;
    int sl = searchLine, sc = 1, el = cm.CountOfLines(), ec = -1;
    if (!cm.Find(name, sl, sc, el, ec, true, true, false)) return false;
    if (sl == 1 && el == cm.CountOfLines()) continue;
    if (!own) return true;
    if (sl < start || el > end) return true;
    searchLine = sl + 1;
  }
  return false;
}

bool EventRules(ide::CodeModule& cm, ide::VBComponent& comp, const Str& name, bool publicRules) {
  if (InStr(name, u"_") == 0) return false;
  int pos = vb::InStrRev(name, u"_");
  Str prefix = Trim(vb::Left(name, pos - 1));
  Str suffix = Trim(Mid(name, pos + 1));
  for (const auto& o : kObjectNames) {
    if (vb::EqualsIgnoreCaseAscii(prefix, o)) return true;
  }
  if (vb::EqualsIgnoreCaseAscii(vb::Left(prefix, 16), u"IDTExtensibility")) return true;
  int type = comp.Type();
  bool designer = publicRules ? (type == 5 || type == 6) : (type == 5 || type == 6 || type == 7 || type == 8);
  if (designer) {
    auto form = comp.Designer();
    if (form) {
      auto controls = form->VBControls();
      for (int i = 1; i <= controls->Count(); ++i) {
        auto v = controls->Item(i)->Properties()->Item(u"Name")->Value();
        if (auto* s = std::get_if<Str>(&v); s && vb::EqualsIgnoreCaseAscii(*s, prefix)) return true;
      }
    }
  }
  for (const auto& m : cm.Members()) {
    if (m.Type == 3 && vb::EqualsIgnoreCaseAscii(m.Name, prefix)) return true;
  }
  if (!designer && vb::EqualsIgnoreCaseAscii(suffix, u"Click")) return true;
  return false;
}

void OwnLines(ide::CodeModule& cm, const Str& name, int& start, int& end) {
  start = 0;
  end = 0;
  for (int k : {0, 3, 1, 2}) {
    try {
      start = cm.ProcStartLine(name, k);
      end = start + cm.ProcCountLines(name, k);
      return;
    } catch (const ide::HostError&) {
      start = 0;
      end = 0;
    }
  }
}

bool IsPrivateProcedureUsed(ide::CodeModule& cm, ide::VBComponent& comp, const Str& name) {
  if (EventRules(cm, comp, name, false)) return true;
  int start, end;
  OwnLines(cm, name, start, end);
  return SearchModule(cm, name, start, end, true);
}

bool IsPublicProcedureUsed(ide::VBProject& project, ide::CodeModule& cm, ide::VBComponent& comp, int index,
                           const Str& name) {
  if (EventRules(cm, comp, name, true)) return true;
  int start, end;
  OwnLines(cm, name, start, end);
  auto comps = project.VBComponents();
  for (int i = 1; i <= comps->Count(); ++i) {
    auto other = comps->Item(i)->CodeModule();
    if (!other) continue;
    if (SearchModule(*other, name, start, end, i == index)) return true;
  }
  return false;
}

void CheckOne(ide::VBProject& project, int index, const Str& moduleName, ProcedureCheckResult& result) {
  auto comp = project.VBComponents()->Item(index);
  auto cm = comp->CodeModule();
  if (!cm) return;
  ProcedureModuleEntry entry;
  entry.Name = moduleName;
  entry.component = index;
  for (const auto& m : cm->Members()) {
    int start = 0;
    bool candidate = false;
    if (m.Type == 1) {
      try {
        start = cm->ProcStartLine(m.Name, 0);
        candidate = start > cm->CountOfDeclarationLines();
      } catch (const ide::HostError&) {
      }
    } else if (m.Type == 2) {
      for (int k : {3, 1, 2}) {
        try {
          start = cm->ProcStartLine(m.Name, k);
          candidate = start > cm->CountOfDeclarationLines();
          break;
        } catch (const ide::HostError&) {
        }
      }
    }
    if (!candidate) continue;
    bool used = m.Scope == 1 ? IsPrivateProcedureUsed(*cm, *comp, m.Name)
                             : IsPublicProcedureUsed(project, *cm, *comp, index, m.Name);
    if (!used) entry.findings.push_back({m.Name, m.CodeLocation});
  }
  if (!entry.findings.empty()) result.modules.push_back(entry);
}

}  // namespace

ProcedureCheckResult CheckModuleProcedures(ide::VBProject& project, int componentIndex, const Str& moduleName) {
  ProcedureCheckResult result;
  CheckOne(project, componentIndex, moduleName, result);
  return result;
}

ProcedureCheckResult CheckProjectProcedures(ide::VBProject& project) {
  ProcedureCheckResult result;
  auto comps = project.VBComponents();
  for (int i = 1; i <= comps->Count(); ++i) CheckOne(project, i, comps->Item(i)->Name(), result);
  return result;
}

}  // namespace tarno::checks::oracle
