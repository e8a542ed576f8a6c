#include "checks/variable_check.h"

#include <algorithm>

#include "checks/declaration_scanner.h"

namespace tarno::checks {

int VariableCheckResult::Total() const {
  int total = 0;
  for (const auto& m : modules) total += static_cast<int>(m.findings.size());
  return total;
}

std::unique_ptr<VariableCheckResult>& CurrentVariableCheckResult() {
  static std::unique_ptr<VariableCheckResult> result;
  return result;
}

namespace {

using Query = VariableQuery;

// The search end and boundary of a declaration inside a procedure, from the
// first procedure kind the host accepts (0, 3, 1, 2). A name that is no plain
// procedure makes the host fail for some kinds; those failures are expected.
struct ProcRange {
  int body = 0;
  int end = 0;
};

ProcRange LookUpProcRange(ide::CodeModule& code, const std::u16string& proc) {
  static constexpr int kKinds[] = {ide::ProcKind::Proc, ide::ProcKind::Get, ide::ProcKind::Let, ide::ProcKind::Set};
  for (int kind : kKinds) {
    try {
      int body = code.ProcBodyLine(proc, kind);
      int count = code.ProcCountLines(proc, kind);
      return {body, body + count};
    } catch (const ide::HostError&) {
    }
  }
  // No kind accepted: an empty range, so the name is reported.
  return {};
}

// Scans one module's two sections into queries, in scan order.
void ScanModule(const ModuleSource& module, ide::CodeModule& code, bool projectMode, bool& declareFlag,
                std::vector<Query>& out) {
  const int n = module.CountOfLines();
  const int decl = module.CountOfDeclarationLines();
  std::u16string joined;
  auto textOf = [&](int line, int end) -> View {
    if (end == line) return TrimView(module.Line(line));
    joined.clear();
    for (int i = line; i <= end; ++i) {
      if (i > line) joined += u"\r\n";
      joined += module.Line(i);
    }
    return TrimView(joined);
  };

  for (int line = 1; line <= decl && line <= n;) {
    const int end = module.StatementEnd(line);
    DeclarationScan scan = ScanDeclarationStatement(textOf(line, end), Section::Declarations, declareFlag);
    if (scan.declaration) {
      const bool wide = scan.scope == DeclScope::Global || scan.scope == DeclScope::Public;
      if (!wide || projectMode) {
        for (auto& name : scan.names) {
          Query q;
          q.name = std::move(name);
          q.line = line;
          q.level = 0;
          q.procedure = kDeclarationsProcedure;
          q.projectWide = wide;
          q.first = decl + 1;
          q.last = n;
          q.boundary = decl;
          out.push_back(std::move(q));
        }
      }
    }
    line = end + 1;
  }

  // The procedure section is read from the line after the declarations
  // section, also when the last declaration ran past it.
  std::u16string lastProc;
  bool haveProc = false;
  ProcRange range;
  for (int line = std::max(decl, 0) + 1; line <= n;) {
    const int end = module.StatementEnd(line);
    DeclarationScan scan = ScanDeclarationStatement(textOf(line, end), Section::Procedures, declareFlag);
    if (scan.declaration && !scan.names.empty()) {
      int kind = 0;
      std::u16string proc = code.ProcOfLine(line, &kind);
      if (!haveProc || proc != lastProc) {
        range = LookUpProcRange(code, proc);
        lastProc = proc;
        haveProc = true;
      }
      for (auto& name : scan.names) {
        Query q;
        q.name = std::move(name);
        q.line = line;
        q.level = 1;
        q.procedure = proc;
        q.first = line + 1;
        q.last = std::min(range.end, n);
        q.boundary = range.body;
        out.push_back(std::move(q));
      }
    }
    line = end + 1;
  }
}

}  // namespace

bool IsVariableUsed(ProjectSource& source, int component, const Query& q) {
  auto prepared = source.Prepare(q.name);
  if (!q.projectWide) return source.FindUseInModule(component, prepared, q.first, q.last, q.boundary) != 0;
  for (int m = source.NextCandidateComponent(prepared, 0); m != 0; m = source.NextCandidateComponent(prepared, m)) {
    const ModuleSource* mod = source.Module(m);
    if (!mod) continue;
    const int decl = mod->CountOfDeclarationLines();
    if (source.FindUseInModule(m, prepared, decl + 1, mod->CountOfLines(), decl) != 0) return true;
  }
  return false;
}

void ScanVariableQueries(ProjectSource& source, int componentIndex, bool projectMode, bool& declareFlag,
                         std::vector<VariableQuery>& out) {
  const ModuleSource* module = source.Module(componentIndex);
  if (!module) return;
  auto code = source.Component(componentIndex).CodeModule();
  ScanModule(*module, *code, projectMode, declareFlag, out);
}

namespace {

struct ModuleQueries {
  int component = 0;
  std::u16string name;
  std::vector<Query> queries;
};

void Run(ProjectSource& source, std::vector<ModuleQueries>& modules, VariableCheckResult& result,
         const CheckProgress& progress) {
  std::vector<std::u16string> anchors;
  for (const auto& m : modules) {
    for (const auto& q : m.queries) {
      View a = AnchorWord(q.name);
      if (!a.empty()) anchors.emplace_back(a);
    }
  }
  std::sort(anchors.begin(), anchors.end());
  anchors.erase(std::unique(anchors.begin(), anchors.end()), anchors.end());
  source.IndexWords(anchors);

  std::vector<VariableModuleEntry> entries;
  int done = 0;
  for (auto& m : modules) {
    VariableModuleEntry entry;
    entry.name = m.name;
    entry.component = m.component;
    for (auto& q : m.queries) {
      if (!IsVariableUsed(source, m.component, q)) {
        entry.findings.push_back({std::move(q.name), q.line, q.level, std::move(q.procedure)});
      }
    }
    if (!entry.findings.empty()) entries.push_back(std::move(entry));
    if (progress) progress(++done, static_cast<int>(modules.size()));
  }
  for (auto& e : entries) result.modules.push_back(std::move(e));
}

}  // namespace

void CheckModuleVariables(ide::VBProject& project, int componentIndex, const std::u16string& moduleName,
                          VariableCheckResult& result, ProjectSource* source) {
  std::unique_ptr<ProjectSource> own;
  if (!source) {
    own = std::make_unique<ProjectSource>(project);
    source = own.get();
  }
  std::vector<ModuleQueries> modules(1);
  modules[0].component = componentIndex;
  modules[0].name = moduleName;
  const ModuleSource* module = source->Module(componentIndex);
  if (module) {
    bool declareFlag = false;
    auto code = source->Component(componentIndex).CodeModule();
    ScanModule(*module, *code, false, declareFlag, modules[0].queries);
  }
  Run(*source, modules, result, {});
}

void CheckProjectVariables(ide::VBProject& project, VariableCheckResult& result, ProjectSource* source,
                           const CheckProgress& progress) {
  std::unique_ptr<ProjectSource> own;
  if (!source) {
    own = std::make_unique<ProjectSource>(project);
    source = own.get();
  }
  std::vector<ModuleQueries> modules;
  bool declareFlag = false;  // carries over from one module to the next
  for (int i = 1; i <= source->ComponentCount(); ++i) {
    ModuleQueries mq;
    mq.component = i;
    mq.name = source->Component(i).Name();
    // A component without a code module (a resource file, a related
    // document) has nothing to check; it does not end the check.
    const ModuleSource* module = source->Module(i);
    if (module) {
      auto code = source->Component(i).CodeModule();
      ScanModule(*module, *code, true, declareFlag, mq.queries);
    }
    modules.push_back(std::move(mq));
  }
  Run(*source, modules, result, progress);
}

bool FindUse(ProjectSource& source, int componentIndex, const std::u16string& name, int first, int last,
             int boundary) {
  return source.FindUseInModule(componentIndex, name, first, last, boundary) != 0;
}

}  // namespace tarno::checks
