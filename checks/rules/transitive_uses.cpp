#include "checks/rules/transitive_uses.h"

#include <algorithm>

namespace tarno::checks {

namespace {

// The candidates' own lines of one module, for finding the procedure that
// holds a line.
struct LineOwners {
  struct Span {
    int start, end, candidate;
  };
  std::vector<Span> spans;  // by start
  // The candidate whose own lines hold the line, -1 for none (own lines do
  // not overlap).
  int At(int line) const {
    auto it = std::upper_bound(spans.begin(), spans.end(), line, [](int l, const Span& s) { return l < s.start; });
    if (it == spans.begin()) return -1;
    --it;
    return line <= it->end ? it->candidate : -1;
  }
};

}  // namespace

std::vector<std::vector<bool>> UsedOnlyByUnused(ProjectSource& source,
                                                const std::vector<std::vector<ProcedureCandidate>>& candidates,
                                                const std::vector<std::vector<CandidateState>>& states) {
  const int components = static_cast<int>(candidates.size());
  // Candidates numbered across the project.
  std::vector<int> base(static_cast<size_t>(components) + 1, 0);
  for (int c = 0; c < components; ++c) base[static_cast<size_t>(c) + 1] = base[static_cast<size_t>(c)] + static_cast<int>(candidates[static_cast<size_t>(c)].size());
  const int total = base.back();
  std::vector<LineOwners> owners(static_cast<size_t>(components));
  for (int c = 0; c < components; ++c) {
    const auto& list = candidates[static_cast<size_t>(c)];
    for (size_t k = 0; k < list.size(); ++k) {
      if (list[k].start > 0) owners[static_cast<size_t>(c)].spans.push_back({list[k].start, list[k].end, base[static_cast<size_t>(c)] + static_cast<int>(k)});
    }
    auto& spans = owners[static_cast<size_t>(c)].spans;
    std::sort(spans.begin(), spans.end(), [](const auto& a, const auto& b) { return a.start < b.start; });
  }

  // users[n]: the candidates inside which candidate n is used.
  std::vector<std::vector<int>> usedIn(static_cast<size_t>(total));
  std::vector<bool> reached(static_cast<size_t>(total), false);
  std::vector<int> queue;
  for (int c = 0; c < components; ++c) {
    const int component = c + 1;
    const auto& list = candidates[static_cast<size_t>(c)];
    for (size_t k = 0; k < list.size(); ++k) {
      const int node = base[static_cast<size_t>(c)] + static_cast<int>(k);
      const CandidateState state = states[static_cast<size_t>(c)][k];
      if (state == CandidateState::Called) {
        reached[static_cast<size_t>(node)] = true;
        queue.push_back(node);
      }
      if (state != CandidateState::Searched) continue;
      const ProcedureCandidate& cand = list[k];
      auto prepared = source.Prepare(cand.name);
      bool outside = false;
      auto visit = [&](int m, int line) {
        const ModuleSource* module = source.Module(m);
        if (!module || module->CountOfLines() <= 1) return;
        if (m == component && line >= cand.start && line <= cand.end) return;
        if (prepared.how == ProjectSource::PreparedName::Indexed &&
            AnchorWord(cand.name).size() != cand.name.size() && !HasWholeWord(module->Line(line), cand.name)) {
          return;
        }
        const int owner = owners[static_cast<size_t>(m - 1)].At(line);
        if (owner < 0) {
          outside = true;
        } else {
          usedIn[static_cast<size_t>(node)].push_back(owner);
        }
      };
      if (prepared.how == ProjectSource::PreparedName::Indexed) {
        for (int m = cand.isPublic ? source.NextCandidateComponent(prepared, 0) : component; m != 0 && !outside;
             m = cand.isPublic ? source.NextCandidateComponent(prepared, m) : 0) {
          auto [b, e] = ProjectSource::PostingsOf(prepared, m);
          for (auto it = b; it != e && !outside; ++it) visit(m, it->second);
        }
      } else if (prepared.how == ProjectSource::PreparedName::Literal) {
        for (int m = cand.isPublic ? 1 : component; m <= (cand.isPublic ? components : component) && !outside; ++m) {
          const ModuleSource* module = source.Module(m);
          if (!module) continue;
          for (int line = 1; line <= module->CountOfLines() && !outside; ++line) {
            if (HasWholeWord(module->Line(line), cand.name)) visit(m, line);
          }
        }
      }
      if (outside) {
        reached[static_cast<size_t>(node)] = true;
        queue.push_back(node);
      }
    }
  }
  // users -> callee edges, then everything a used procedure uses is used.
  std::vector<std::vector<int>> uses(static_cast<size_t>(total));
  for (int n = 0; n < total; ++n) {
    for (int user : usedIn[static_cast<size_t>(n)]) uses[static_cast<size_t>(user)].push_back(n);
  }
  while (!queue.empty()) {
    int n = queue.back();
    queue.pop_back();
    for (int callee : uses[static_cast<size_t>(n)]) {
      if (!reached[static_cast<size_t>(callee)]) {
        reached[static_cast<size_t>(callee)] = true;
        queue.push_back(callee);
      }
    }
  }
  std::vector<std::vector<bool>> out(static_cast<size_t>(components));
  for (int c = 0; c < components; ++c) {
    const auto& st = states[static_cast<size_t>(c)];
    out[static_cast<size_t>(c)].resize(st.size());
    for (size_t k = 0; k < st.size(); ++k) {
      const int node = base[static_cast<size_t>(c)] + static_cast<int>(k);
      out[static_cast<size_t>(c)][k] = st[k] == CandidateState::Searched && !reached[static_cast<size_t>(node)];
    }
  }
  return out;
}

}  // namespace tarno::checks
