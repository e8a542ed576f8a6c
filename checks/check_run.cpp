#include "checks/check_run.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "checks/unused_code.h"
#include "lang/project_code.h"

namespace tarno::checks {

std::string_view CheckId(CheckKind check) {
  return check == CheckKind::Variables ? "unused-variable" : "unused-procedure";
}

namespace {

// Runs fn(i) for i in [0, count) on up to `jobs` threads, `chunk` items at a
// time taken in turn; a thread is started only for every `perThread` items.
// The exception of the lowest item that threw is thrown again here.
template <class Fn>
void ParallelFor(size_t count, int jobs, size_t chunk, size_t perThread, Fn fn) {
  const size_t threads =
      std::min<size_t>(static_cast<size_t>(std::max(jobs, 1)), std::max<size_t>(count / std::max<size_t>(perThread, 1), 1));
  if (threads <= 1) {
    for (size_t i = 0; i < count; ++i) fn(i);
    return;
  }
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::mutex mutex;
  size_t errorAt = count;
  std::exception_ptr error;
  auto work = [&] {
    for (size_t b = next.fetch_add(chunk); b < count && !failed; b = next.fetch_add(chunk)) {
      for (size_t i = b; i < std::min(count, b + chunk); ++i) {
        try {
          fn(i);
        } catch (...) {
          std::lock_guard<std::mutex> lock(mutex);
          if (i < errorAt) {
            errorAt = i;
            error = std::current_exception();
          }
          failed = true;
          return;
        }
      }
    }
  };
  std::vector<std::thread> pool;
  for (size_t t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (auto& t : pool) t.join();
  if (error) std::rethrow_exception(error);
}

std::vector<int> ComponentsToCheck(ProjectSource& source, const RunOptions& options) {
  std::vector<int> out;
  if (options.onlyComponent) {
    out.push_back(options.onlyComponent);
  } else {
    for (int i = 1; i <= source.ComponentCount(); ++i) out.push_back(i);
  }
  return out;
}

// The precise rules: the project's language model decides.
std::vector<Finding> RunPrecise(ProjectSource& source, const ProjectFacts& facts, const RunOptions& options) {
  std::vector<lang::ProjectCode> code;
  code.push_back(lang::ReadProjectCode(source.Project(), lang::ProjectCondComp(source.Project())));
  lang::Model::Options modelOptions;
  modelOptions.jobs = std::max(options.jobs, 1);
  auto model = lang::Model::Build(std::move(code), modelOptions);
  UnusedOptions unused;
  unused.variables = options.variables;
  unused.procedures = options.procedures;
  unused.kinds = options.kinds;
  unused.transitive = options.transitive;
  if (options.onlyComponent) {
    const auto& indexes = model->Projects()[0].componentIndex;
    auto it = std::find(indexes.begin(), indexes.end(), options.onlyComponent);
    if (it == indexes.end()) return {};
    unused.onlyModule = static_cast<uint32_t>(it - indexes.begin());
  }
  return FindUnused(*model, {facts}, unused);
}

}  // namespace

std::vector<Finding> RunChecks(ProjectSource& source, const ProjectFacts& facts, const RunOptions& options) {
  if (options.rules == RuleSet::Precise) return RunPrecise(source, facts, options);
  const std::vector<int> components = ComponentsToCheck(source, options);
  // Everything the host is asked comes first: each component's module, its
  // declarations and its candidates, components on several threads (each
  // component's host objects on one thread only).
  const size_t count = static_cast<size_t>(source.ComponentCount());
  std::vector<char> checked(count, 0);
  for (int c : components) checked[static_cast<size_t>(c - 1)] = 1;
  const bool projectMode = options.onlyComponent == 0;
  std::vector<std::vector<VariableQuery>> queries(count);
  // The transitive step needs every module's candidates, not only the checked ones.
  std::vector<std::vector<ProcedureCandidate>> candidates(count);
  // The Declare flag each module leaves behind when it starts cleared.
  std::vector<char> flagAfter(count, 0);
  ParallelFor(count, options.jobs, 1, 4, [&](size_t i) {
    const int c = static_cast<int>(i) + 1;
    source.PreloadComponent(c);
    if (options.variables && checked[i]) {
      bool flag = false;
      ScanVariableQueries(source, c, projectMode, flag, queries[i]);
      flagAfter[i] = flag;
    }
    if (options.procedures && checked[i]) candidates[i] = ProcedureCandidates(source, c);
  });
  if (options.variables) {
    // The flag carries over from module to module: a module that a set flag
    // enters is scanned again (rare: a Declare statement continued to the end).
    bool flag = false;
    for (int c : components) {
      const size_t i = static_cast<size_t>(c - 1);
      if (flag) {
        queries[i].clear();
        ScanVariableQueries(source, c, projectMode, flag, queries[i]);
      } else {
        flag = flagAfter[i];
      }
    }
  }
  // Views into the names, which stay in place until the searches are done.
  std::vector<View> anchors;
  for (const auto& list : queries) {
    for (const auto& q : list) {
      View a = AnchorWord(q.name);
      if (!a.empty()) anchors.push_back(a);
    }
  }
  for (const auto& list : candidates) {
    for (const auto& c : list) {
      View a = AnchorWord(c.name);
      if (!a.empty()) anchors.push_back(a);
    }
  }
  std::sort(anchors.begin(), anchors.end());
  anchors.erase(std::unique(anchors.begin(), anchors.end()), anchors.end());
  source.IndexWords(anchors, options.jobs);
  anchors.clear();
  anchors.shrink_to_fit();

  // The use searches: only reads from here on.
  struct VarRef {
    int component;
    size_t index;
  };
  std::vector<VarRef> varRefs;
  for (int c : components) {
    for (size_t k = 0; k < queries[static_cast<size_t>(c - 1)].size(); ++k) varRefs.push_back({c, k});
  }
  std::vector<char> varUsed(varRefs.size(), 0);
  ParallelFor(varRefs.size(), options.jobs, 256, 64, [&](size_t i) {
    const VarRef& r = varRefs[i];
    varUsed[i] = IsVariableUsed(source, r.component, queries[static_cast<size_t>(r.component - 1)][r.index]);
  });
  struct ProcRef {
    int component;
    size_t index;
  };
  std::vector<ProcRef> procRefs;
  for (int c = 1; c <= source.ComponentCount(); ++c) {
    for (size_t k = 0; k < candidates[static_cast<size_t>(c - 1)].size(); ++k) procRefs.push_back({c, k});
  }
  std::vector<ProcedureUse> procUse(procRefs.size(), ProcedureUse::Unused);
  ParallelFor(procRefs.size(), options.jobs, 256, 64, [&](size_t i) {
    const ProcRef& r = procRefs[i];
    procUse[i] = DecideProcedure(source, r.component, candidates[static_cast<size_t>(r.component - 1)][r.index]);
  });

  // The verdicts, in scan order.
  (void)facts;
  std::vector<Finding> out;
  // Reserved exactly: on a large project the findings are tens of megabytes,
  // and a vector that grows holds them twice while it moves them.
  out.reserve(static_cast<size_t>(std::count(varUsed.begin(), varUsed.end(), 0)));
  for (size_t i = 0; i < varRefs.size(); ++i) {
    if (varUsed[i]) continue;
    const VarRef& r = varRefs[i];
    VariableQuery& q = queries[static_cast<size_t>(r.component - 1)][r.index];
    Finding f;
    f.check = CheckKind::Variables;
    f.component = r.component;
    f.module = source.Component(r.component).Name();
    f.name = std::move(q.name);
    f.line = q.line;
    f.level = q.level;
    f.procedure = std::move(q.procedure);
    out.push_back(std::move(f));
  }

  std::vector<std::vector<VariableQuery>>().swap(queries);

  // Procedures: the add-in's decision.
  size_t procFindings = 0;
  for (size_t i = 0; i < procRefs.size(); ++i) procFindings += procUse[i] == ProcedureUse::Unused;
  out.reserve(out.size() + procFindings);
  for (size_t i = 0; i < procRefs.size(); ++i) {
    if (procUse[i] != ProcedureUse::Unused) continue;
    const ProcRef& r = procRefs[i];
    const ProcedureCandidate& cand = candidates[static_cast<size_t>(r.component - 1)][r.index];
    Finding f;
    f.check = CheckKind::Procedures;
    f.component = r.component;
    f.module = source.Component(r.component).Name();
    f.name = cand.name;
    f.line = cand.line;
    f.procedure = cand.name;
    out.push_back(std::move(f));
  }
  return out;
}

VariableCheckResult VariableResultOf(const std::vector<Finding>& findings, const std::u16string& projectName) {
  VariableCheckResult r;
  r.projectName = projectName;
  for (const auto& f : findings) {
    if (f.check != CheckKind::Variables) continue;
    if (r.modules.empty() || r.modules.back().component != f.component) {
      r.modules.push_back({f.module, f.component, {}});
    }
    r.modules.back().findings.push_back({f.name, f.line, f.level, f.procedure});
  }
  return r;
}

ProcedureCheckResult ProcedureResultOf(const std::vector<Finding>& findings) {
  ProcedureCheckResult r;
  for (const auto& f : findings) {
    if (f.check != CheckKind::Procedures) continue;
    if (r.modules.empty() || r.modules.back().component != f.component) {
      r.modules.push_back({f.module, f.component, {}});
    }
    r.modules.back().findings.push_back({f.name, f.line});
  }
  return r;
}

}  // namespace tarno::checks
