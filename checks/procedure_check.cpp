#include "checks/procedure_check.h"

#include <algorithm>
#include <array>

#include "platform/vb_text.h"

namespace tarno::checks {

int ProcedureCheckResult::Total() const {
  int total = 0;
  for (const auto& m : modules) total += static_cast<int>(m.findings.size());
  return total;
}

namespace {

constexpr std::array<std::u16string_view, 15> kOwnObjectNames = {
    u"Class",      u"Form",     u"MDIForm",        u"UserControl", u"PropertyPage",
    u"DataReport", u"BaseWindow", u"DHTMLPage",    u"Document",    u"WebClass",
    u"UserConnection", u"DataEnvironment", u"Connection", u"UserDocument", u"IDTExtensibility"};

struct OwnLines {
  int start = 0;
  int end = 0;
};

// start = ProcStartLine, end = start + ProcCountLines, for the first kind the
// host accepts (0, 3, 1, 2).
OwnLines LookUpOwnLines(ide::CodeModule& code, const std::u16string& name) {
  static constexpr int kKinds[] = {ide::ProcKind::Proc, ide::ProcKind::Get, ide::ProcKind::Let, ide::ProcKind::Set};
  for (int kind : kKinds) {
    try {
      int start = code.ProcStartLine(name, kind);
      int count = code.ProcCountLines(name, kind);
      return {start, start + count};
    } catch (const ide::HostError&) {
    }
  }
  return {};
}

bool IsDesignerForPrivate(int type) {
  return type == ide::ComponentType::VBForm || type == ide::ComponentType::MDIForm ||
         type == ide::ComponentType::PropPage || type == ide::ComponentType::UserControl;
}

bool IsDesignerForPublic(int type) {
  return type == ide::ComponentType::VBForm || type == ide::ComponentType::MDIForm;
}

// The name rules that keep event procedures out of the report.
bool IsEventProcedure(ProjectSource& source, int componentIndex, const std::u16string& name, bool designer) {
  size_t us = name.rfind(u'_');
  if (us == std::u16string::npos) return false;
  View prefix = TrimView(View(name).substr(0, us));
  View suffix = TrimView(View(name).substr(us + 1));
  if (IsOwnEventObjectName(prefix)) return true;
  if (designer) {
    const auto& controls = source.ControlNamesUpper(componentIndex);
    if (std::binary_search(controls.begin(), controls.end(), vb::UCaseAscii(prefix))) return true;
  }
  for (const auto& m : source.Members(componentIndex)) {
    if (m.Type == ide::MemberType::Variable && vb::EqualsIgnoreCaseAscii(m.Name, prefix)) return true;
  }
  if (!designer && vb::EqualsIgnoreCaseAscii(suffix, u"Click")) return true;
  return false;
}

// Whether module `index` holds a whole-word match of the name that counts:
// not in a one-line module (a match over the whole module is ignored), and
// in the declaring module not within the procedure's own lines.
bool HasCountingMatch(ProjectSource& source, int index, const ProjectSource::PreparedName& name,
                      const OwnLines* own) {
  if (name.how == ProjectSource::PreparedName::Never) return false;
  const ModuleSource* module = source.Module(index);
  if (!module) return false;
  const int n = module->CountOfLines();
  if (n <= 1) return false;
  auto counts = [&](int line) { return !own || line < own->start || line > own->end; };
  if (name.how == ProjectSource::PreparedName::Literal) {
    for (int line = 1; line <= n; ++line) {
      if (counts(line) && HasWholeWord(module->Line(line), name.name)) return true;
    }
    return false;
  }
  auto [begin, end] = ProjectSource::PostingsOf(name, index);
  const bool anchorIsName = AnchorWord(name.name).size() == name.name.size();
  for (auto it = begin; it != end; ++it) {
    const int line = it->second;
    if (!counts(line)) continue;
    if (anchorIsName || HasWholeWord(module->Line(line), name.name)) return true;
  }
  return false;
}

bool IsEventName(ProjectSource& source, int componentIndex, const std::u16string& name, bool isPublic) {
  const int type = source.ComponentType(componentIndex);
  const bool designer = isPublic ? IsDesignerForPublic(type) : IsDesignerForPrivate(type);
  return IsEventProcedure(source, componentIndex, name, designer);
}

// The whole-word search outside the procedure's own lines: its own module
// for a private procedure, every module for a public one.
bool IsFoundOutsideOwnLines(ProjectSource& source, int componentIndex, const std::u16string& name, bool isPublic,
                            const OwnLines& own) {
  auto prepared = source.Prepare(name);
  if (!isPublic) return HasCountingMatch(source, componentIndex, prepared, &own);
  for (int m = source.NextCandidateComponent(prepared, 0); m != 0; m = source.NextCandidateComponent(prepared, m)) {
    if (HasCountingMatch(source, m, prepared, m == componentIndex ? &own : nullptr)) return true;
  }
  return false;
}

bool IsProcedureUsed(ProjectSource& source, int componentIndex, const std::u16string& name, bool isPublic) {
  if (IsEventName(source, componentIndex, name, isPublic)) return true;
  auto code = source.Component(componentIndex).CodeModule();
  if (!code) return false;
  return IsFoundOutsideOwnLines(source, componentIndex, name, isPublic, LookUpOwnLines(*code, name));
}

using Candidate = ProcedureCandidate;

// The members that are candidates, in collection order: methods and
// properties whose start line lies after the declarations section.
}  // namespace

std::vector<ProcedureCandidate> ProcedureCandidates(ProjectSource& source, int index) {
  std::vector<Candidate> out;
  const ModuleSource* module = source.Module(index);
  if (!module) return out;
  auto code = source.Component(index).CodeModule();
  const int decl = module->CountOfDeclarationLines();
  for (const auto& m : source.Members(index)) {
    int start = 0;
    bool known = false;
    if (m.Type == ide::MemberType::Method) {
      try {
        start = code->ProcStartLine(m.Name, ide::ProcKind::Proc);
        known = true;
      } catch (const ide::HostError&) {
      }
    } else if (m.Type == ide::MemberType::Property) {
      for (int kind : {ide::ProcKind::Get, ide::ProcKind::Let, ide::ProcKind::Set}) {
        try {
          start = code->ProcStartLine(m.Name, kind);
          known = true;
          break;
        } catch (const ide::HostError&) {
        }
      }
    }
    if (known && start > decl) {
      const OwnLines own = LookUpOwnLines(*code, m.Name);
      out.push_back({m.Name, m.CodeLocation, m.Scope != ide::MemberScope::Private, own.start, own.end});
    }
  }
  return out;
}

ProcedureUse DecideProcedure(ProjectSource& source, int componentIndex, const ProcedureCandidate& c) {
  if (IsEventName(source, componentIndex, c.name, c.isPublic)) return ProcedureUse::EventName;
  return IsFoundOutsideOwnLines(source, componentIndex, c.name, c.isPublic, {c.start, c.end}) ? ProcedureUse::Search
                                                                                              : ProcedureUse::Unused;
}

namespace {

void Run(ProjectSource& source, const std::vector<std::pair<int, std::u16string>>& modules,
         ProcedureCheckResult& result, const CheckProgress& progress) {
  std::vector<std::vector<Candidate>> candidates;
  std::vector<std::u16string> anchors;
  for (const auto& [index, _] : modules) {
    candidates.push_back(ProcedureCandidates(source, index));
    for (const auto& c : candidates.back()) {
      View a = AnchorWord(c.name);
      if (!a.empty()) anchors.emplace_back(a);
    }
  }
  std::sort(anchors.begin(), anchors.end());
  anchors.erase(std::unique(anchors.begin(), anchors.end()), anchors.end());
  source.IndexWords(anchors);

  std::vector<ProcedureModuleEntry> entries;
  for (size_t i = 0; i < modules.size(); ++i) {
    ProcedureModuleEntry entry;
    entry.Name = modules[i].second;
    entry.component = modules[i].first;
    for (const auto& c : candidates[i]) {
      const bool used = DecideProcedure(source, entry.component, c) != ProcedureUse::Unused;
      if (!used) entry.findings.push_back({c.name, c.line});
    }
    if (!entry.findings.empty()) entries.push_back(std::move(entry));
    if (progress) progress(static_cast<int>(i) + 1, static_cast<int>(modules.size()));
  }
  for (auto& e : entries) result.modules.push_back(std::move(e));
}

}  // namespace

bool IsOwnEventObjectName(std::u16string_view prefix) {
  for (auto name : kOwnObjectNames) {
    if (vb::EqualsIgnoreCaseAscii(prefix, name)) return true;
  }
  return prefix.size() >= 16 && vb::EqualsIgnoreCaseAscii(prefix.substr(0, 16), u"IDTExtensibility");
}

bool IsPrivateProcedureUsed(ProjectSource& source, int componentIndex, const std::u16string& name) {
  return IsProcedureUsed(source, componentIndex, name, false);
}

bool IsPublicProcedureUsed(ProjectSource& source, int componentIndex, const std::u16string& name) {
  return IsProcedureUsed(source, componentIndex, name, true);
}

void CheckModuleProcedures(ide::VBProject& project, int componentIndex, const std::u16string& moduleName,
                           ProcedureCheckResult& result, ProjectSource* source) {
  std::unique_ptr<ProjectSource> own;
  if (!source) {
    own = std::make_unique<ProjectSource>(project);
    source = own.get();
  }
  Run(*source, {{componentIndex, moduleName}}, result, {});
}

void CheckProjectProcedures(ide::VBProject& project, ProcedureCheckResult& result, ProjectSource* source,
                            const CheckProgress& progress) {
  std::unique_ptr<ProjectSource> own;
  if (!source) {
    own = std::make_unique<ProjectSource>(project);
    source = own.get();
  }
  std::vector<std::pair<int, std::u16string>> modules;
  for (int i = 1; i <= source->ComponentCount(); ++i) modules.emplace_back(i, source->Component(i).Name());
  Run(*source, modules, result, progress);
}

}  // namespace tarno::checks
