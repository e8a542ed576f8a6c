#include "checks/check_run.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "checks/rules/transitive_uses.h"

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

// The verdict of the precise rules for a finding of the add-in's rules.
RuleVerdict ApplyRules(RuleContext& context, const RuleSubject& subject, std::string& rule) {
  for (const auto& entry : PreciseRules()) {
    if (!entry.rule) continue;
    if (subject.check == CheckKind::Variables ? !entry.forVariables : !entry.forProcedures) continue;
    RuleVerdict v = entry.rule->Decide(context, subject);
    if (v != RuleVerdict::None) {
      rule = std::string(entry.id);
      return v;
    }
  }
  return RuleVerdict::None;
}

}  // namespace

std::vector<Finding> RunChecks(ProjectSource& source, const ProjectFacts& facts, const RunOptions& options) {
  const std::vector<int> components = ComponentsToCheck(source, options);
  const bool precise = options.rules == RuleSet::Precise;
  const bool transitive = precise && options.transitive && options.procedures;
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
    if (options.procedures && (transitive || checked[i])) candidates[i] = ProcedureCandidates(source, c);
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
  RuleContext context(source, facts);
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
    if (precise) {
      RuleVerdict v = ApplyRules(context, {CheckKind::Variables, r.component, f.name, f.line, f.level}, f.rule);
      if (v == RuleVerdict::Used) continue;
      if (v == RuleVerdict::Exposed) f.verdict = Verdict::Exposed;
    }
    out.push_back(std::move(f));
  }

  std::vector<std::vector<VariableQuery>>().swap(queries);

  // Procedures: the add-in's decision, then the rules, then --transitive.
  std::vector<std::vector<CandidateState>> states(candidates.size());
  std::vector<std::vector<std::string>> rules(candidates.size());
  std::vector<std::vector<Verdict>> verdicts(candidates.size());
  for (size_t c = 0; c < candidates.size(); ++c) {
    states[c].assign(candidates[c].size(), CandidateState::Unused);
    rules[c].assign(candidates[c].size(), std::string());
    verdicts[c].assign(candidates[c].size(), Verdict::Unused);
  }
  for (size_t i = 0; i < procRefs.size(); ++i) {
    const ProcRef& r = procRefs[i];
    const size_t c = static_cast<size_t>(r.component - 1);
    CandidateState& state = states[c][r.index];
    if (procUse[i] == ProcedureUse::EventName) {
      state = CandidateState::Called;
    } else if (procUse[i] == ProcedureUse::Search) {
      state = CandidateState::Searched;
    }
    if (!precise) continue;
    const ProcedureCandidate& cand = candidates[c][r.index];
    // The rules decide the unused ones; with --transitive also the searched
    // ones, since a rule's call makes a procedure a root of the calls.
    if (state == CandidateState::Unused || (transitive && state == CandidateState::Searched)) {
      std::string rule;
      RuleVerdict v = ApplyRules(context, {CheckKind::Procedures, r.component, cand.name, cand.line, 0}, rule);
      if (v == RuleVerdict::Used) {
        state = CandidateState::Called;
        rules[c][r.index] = rule;
      } else if (v == RuleVerdict::Exposed) {
        // Outside programs call it: a finding of its own kind, and a root.
        if (state == CandidateState::Unused) verdicts[c][r.index] = Verdict::Exposed;
        rules[c][r.index] = rule;
        state = state == CandidateState::Unused ? CandidateState::Unused : CandidateState::Called;
      }
    }
  }
  std::vector<std::vector<bool>> onlyByUnused;
  if (transitive) {
    // Exposed members are called from outside: roots like the others.
    auto graphStates = states;
    for (size_t c = 0; c < candidates.size(); ++c) {
      for (size_t k = 0; k < candidates[c].size(); ++k) {
        if (verdicts[c][k] == Verdict::Exposed) graphStates[c][k] = CandidateState::Called;
      }
    }
    onlyByUnused = UsedOnlyByUnused(source, candidates, graphStates);
  }
  auto byTransitive = [&](size_t c, size_t k) { return transitive && onlyByUnused[c][k]; };
  auto isFinding = [&](size_t c, size_t k) { return states[c][k] == CandidateState::Unused || byTransitive(c, k); };
  size_t procFindings = 0;
  for (int comp : components) {
    const size_t c = static_cast<size_t>(comp - 1);
    for (size_t k = 0; k < candidates[c].size(); ++k) procFindings += isFinding(c, k);
  }
  out.reserve(out.size() + procFindings);
  for (int comp : components) {
    const size_t c = static_cast<size_t>(comp - 1);
    for (size_t k = 0; k < candidates[c].size(); ++k) {
      if (!isFinding(c, k)) continue;
      const ProcedureCandidate& cand = candidates[c][k];
      Finding f;
      f.check = CheckKind::Procedures;
      f.component = comp;
      f.module = source.Component(comp).Name();
      f.name = cand.name;
      f.line = cand.line;
      f.procedure = cand.name;
      f.verdict = verdicts[c][k];
      f.rule = rules[c][k];
      if (byTransitive(c, k)) {
        f.rule = std::string(kTransitiveRuleId);
        f.reason = std::string(kTransitiveReason);
      }
      out.push_back(std::move(f));
    }
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
