#include "checks/project_source.h"

#include <algorithm>
#include <thread>
#include <unordered_set>

#include "platform/vb_text.h"

namespace tarno::checks {

View AnchorWord(View name) {
  size_t best = 0, bestLen = 0;
  size_t i = 0;
  while (i < name.size()) {
    if (!IsWordChar(name[i])) {
      ++i;
      continue;
    }
    size_t b = i;
    while (i < name.size() && IsWordChar(name[i])) ++i;
    if (i - b > bestLen) {
      best = b;
      bestLen = i - b;
    }
  }
  return name.substr(best, bestLen);
}

ProjectSource::ProjectSource(ide::VBProject& project) : project_(project) {
  auto comps = project_.VBComponents();
  int count = comps->Count();
  components_.reserve(static_cast<size_t>(count));
  for (int i = 1; i <= count; ++i) components_.push_back(comps->Item(i));
  modules_.resize(components_.size());
  loaded_.assign(components_.size(), false);
  members_.resize(components_.size());
  controls_.resize(components_.size());
  types_.assign(components_.size(), -1);
}

int ProjectSource::ComponentType(int index) {
  int& type = types_.at(static_cast<size_t>(index - 1));
  if (type < 0) type = components_[static_cast<size_t>(index - 1)]->Type();
  return type;
}

ide::VBComponent& ProjectSource::Component(int index) { return *components_.at(static_cast<size_t>(index - 1)); }

const ModuleSource* ProjectSource::Module(int index) {
  size_t i = static_cast<size_t>(index - 1);
  if (!loaded_.at(i)) {
    auto code = components_[i]->CodeModule();
    if (code) modules_[i] = std::make_unique<ModuleSource>(ModuleSource::Read(*code));
    loaded_[i] = true;
  }
  return modules_[i].get();
}

const std::vector<ide::Member>& ProjectSource::Members(int index) {
  size_t i = static_cast<size_t>(index - 1);
  if (!members_.at(i)) {
    auto list = std::make_unique<std::vector<ide::Member>>();
    auto code = components_[i]->CodeModule();
    if (code) *list = code->Members();
    members_[i] = std::move(list);
  }
  return *members_[i];
}

const std::vector<std::u16string>& ProjectSource::ControlNamesUpper(int index) {
  size_t i = static_cast<size_t>(index - 1);
  if (!controls_.at(i)) {
    auto names = std::make_unique<std::vector<std::u16string>>();
    auto designer = components_[i]->Designer();
    if (designer) {
      auto controls = designer->VBControls();
      int n = controls ? controls->Count() : 0;
      for (int k = 1; k <= n; ++k) {
        auto value = controls->Item(k)->Properties()->Item(u"Name")->Value();
        if (auto* s = std::get_if<std::u16string>(&value)) names->push_back(vb::UCaseAscii(*s));
      }
      std::sort(names->begin(), names->end());
      names->erase(std::unique(names->begin(), names->end()), names->end());
    }
    controls_[i] = std::move(names);
  }
  return *controls_[i];
}

void ProjectSource::Preload() {
  for (int i = 1; i <= ComponentCount(); ++i) PreloadComponent(i);
}

void ProjectSource::PreloadComponent(int index) {
  Module(index);
  ComponentType(index);
  Members(index);
  ControlNamesUpper(index);
}

void ProjectSource::IndexWords(const std::vector<std::u16string>& words, int jobs) {
  IndexWords(std::vector<View>(words.begin(), words.end()), jobs);
}

void ProjectSource::IndexWords(const std::vector<View>& words, int jobs) {
  // The words not indexed yet, numbered, looked up by view while the lines are read.
  std::unordered_map<View, size_t> pending;
  std::vector<Postings*> targets;
  for (const auto& w : words) {
    if (w.empty() || byView_.count(w)) continue;
    auto it = index_.emplace(std::u16string(w), Postings()).first;
    pending.emplace(View(it->first), targets.size());
    targets.push_back(&it->second);
    byView_.emplace(View(it->first), &it->second);
  }
  if (pending.empty()) return;
  // A cheap first test before hashing: which lengths occur among the words.
  size_t maxLen = 0;
  for (auto& [w, _] : pending) maxLen = std::max(maxLen, w.size());
  std::vector<bool> lengthUsed(maxLen + 1, false);
  for (auto& [w, _] : pending) lengthUsed[w.size()] = true;

  // Components first..last into out[word]: (component, line) in order.
  auto scan = [&](int first, int last, std::vector<Postings>& out) {
    for (int m = first; m <= last; ++m) {
      const ModuleSource* mod = modules_[static_cast<size_t>(m - 1)].get();
      if (!mod) continue;
      const int n = mod->CountOfLines();
      for (int line = 1; line <= n; ++line) {
        View l = mod->Line(line);
        size_t i = 0;
        const size_t size = l.size();
        while (i < size) {
          if (!IsWordChar(l[i])) {
            ++i;
            continue;
          }
          size_t b = i;
          while (i < size && IsWordChar(l[i])) ++i;
          size_t len = i - b;
          if (len > maxLen || !lengthUsed[len]) continue;
          auto it = pending.find(l.substr(b, len));
          if (it == pending.end()) continue;
          Postings& p = out[it->second];
          if (p.empty() || p.back().first != m || p.back().second != line) p.emplace_back(m, line);
        }
      }
    }
  };
  for (int m = 1; m <= ComponentCount(); ++m) Module(m);
  const int count = ComponentCount();
  const int threads = std::clamp(jobs, 1, std::max(1, count));
  if (threads == 1) {
    std::vector<Postings> out(targets.size());
    scan(1, count, out);
    for (size_t w = 0; w < targets.size(); ++w) *targets[w] = std::move(out[w]);
    return;
  }
  // Blocks of components in order, one per thread, joined in block order.
  std::vector<std::vector<Postings>> parts(static_cast<size_t>(threads), std::vector<Postings>(targets.size()));
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) {
    const int first = 1 + static_cast<int>(static_cast<long long>(count) * t / threads);
    const int last = static_cast<int>(static_cast<long long>(count) * (t + 1) / threads);
    pool.emplace_back([&, first, last, t] { scan(first, last, parts[static_cast<size_t>(t)]); });
  }
  for (auto& th : pool) th.join();
  for (size_t w = 0; w < targets.size(); ++w) {
    size_t total = 0;
    for (const auto& part : parts) total += part[w].size();
    Postings& p = *targets[w];
    p.reserve(total);
    for (auto& part : parts) {
      p.insert(p.end(), part[w].begin(), part[w].end());
      Postings().swap(part[w]);
    }
  }
}

std::pair<ProjectSource::Postings::const_iterator, ProjectSource::Postings::const_iterator>
ProjectSource::PostingsOf(const PreparedName& name, int index) {
  const Postings& p = *name.postings;
  auto b = std::lower_bound(p.begin(), p.end(), std::make_pair(index, 0));
  auto e = std::lower_bound(b, p.end(), std::make_pair(index + 1, 0));
  return {b, e};
}

int ProjectSource::NextCandidateComponent(const PreparedName& name, int after) const {
  if (name.how == PreparedName::Never) return 0;
  if (name.how == PreparedName::Literal) return after < ComponentCount() ? after + 1 : 0;
  const Postings& p = *name.postings;
  auto it = std::lower_bound(p.begin(), p.end(), std::make_pair(after + 1, 0));
  return it == p.end() ? 0 : it->first;
}

int ProjectSource::FindUseLiteral(const ModuleSource& module, View name, int first, int last, int boundary) {
  for (int s = first; s <= last;) {
    Statement st = ReadStatement(module, s);
    if (IsUseInStatement(module, st, name, boundary)) return s;
    s = st.LastLine() + 1;
  }
  return 0;
}

ProjectSource::PreparedName ProjectSource::Prepare(View name) {
  PreparedName p;
  p.name = name;
  // An empty name, or one that holds a line break, has no whole-word match on
  // any single line.
  if (name.empty() || name.find_first_of(u"\r\n") != View::npos) return p;
  View anchor = AnchorWord(name);
  if (anchor.empty()) {
    p.how = PreparedName::Literal;
    return p;
  }
  auto it = byView_.find(anchor);
  if (it == byView_.end()) {
    IndexWords(std::vector<View>{anchor});
    it = byView_.find(anchor);
  }
  p.how = PreparedName::Indexed;
  p.postings = it->second;
  return p;
}

int ProjectSource::FindUseInModule(int index, View name, int first, int last, int boundary) {
  return FindUseInModule(index, Prepare(name), first, last, boundary);
}

int ProjectSource::FindUseInModule(int index, const PreparedName& name, int first, int last, int boundary) {
  if (name.how == PreparedName::Never) return 0;
  const ModuleSource* module = Module(index);
  if (!module) return 0;
  if (first < 1) first = 1;
  last = std::min(last, module->CountOfLines());
  if (first > last) return 0;
  if (name.how == PreparedName::Literal) return FindUseLiteral(*module, name.name, first, last, boundary);
  auto [begin, end] = PostingsOf(name, index);
  if (begin == end) return 0;
  // A match up to boundary + 1 never counts, so start the candidates after it;
  // the statement that holds a candidate is still read from its own start.
  const int from = std::max(first, boundary + 2);
  const int firstEnd = module->StatementEnd(first);
  int lastTried = 0;
  for (auto it = std::lower_bound(begin, end, std::make_pair(index, from)); it != end; ++it) {
    const int m = it->second;
    const int s = m <= firstEnd ? first : module->StatementStart(m);
    if (s > last) break;
    if (s == lastTried) continue;
    lastTried = s;
    if (module->StatementEnd(s) == s) {
      // One line: its trimmed text, without a copy.
      if (IsUseInStatementText(*module, s, 1, TrimView(module->Line(s)), name.name, boundary)) return s;
      continue;
    }
    Statement st = ReadStatement(*module, s);
    if (IsUseInStatement(*module, st, name.name, boundary)) return s;
  }
  return 0;
}

}  // namespace tarno::checks
