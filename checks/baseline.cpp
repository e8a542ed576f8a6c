#include "checks/baseline.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::checks {

namespace {
bool Counts(const Finding& f, bool withExposed) {
  return f.suppressed.empty() && (f.verdict == Verdict::Unused || withExposed);
}
constexpr const char* kFields[] = {"check", "project", "component", "procedure", "name"};
}  // namespace

Baseline::Key Baseline::KeyOf(const Finding& f, const std::u16string& project) {
  return {std::string(CheckId(f.check)), vb::ToUtf8(project), vb::ToUtf8(f.module), vb::ToUtf8(f.procedure),
          vb::ToUtf8(f.name)};
}

namespace {
const std::u16string& ProjectOf(const Finding& f, const std::vector<std::u16string>& projects) {
  static const std::u16string none;
  const size_t p = static_cast<size_t>(f.project);
  return p < projects.size() ? projects[p] : none;
}
}  // namespace

Baseline Baseline::Of(const std::vector<Finding>& findings, const std::vector<std::u16string>& projects,
                      bool withExposed) {
  Baseline b;
  for (const auto& f : findings) {
    if (Counts(f, withExposed)) ++b.counts_[KeyOf(f, ProjectOf(f, projects))];
  }
  return b;
}

Baseline Baseline::Load(const std::filesystem::path& path) {
  const std::string name = path.string();
  std::string bytes;
  try {
    bytes = files::ReadAllBytes(path);
  } catch (const std::exception& e) {
    throw std::runtime_error(name + ": cannot read the baseline (" + e.what() + ")");
  }
  nlohmann::json j;
  try {
    j = nlohmann::json::parse(bytes);
  } catch (const nlohmann::json::parse_error& e) {
    throw std::runtime_error(name + ": not a baseline file: " + e.what());
  }
  if (!j.is_object() || !j.contains("findings") || !j["findings"].is_array()) {
    throw std::runtime_error(name + ": not a baseline file: no \"findings\" list");
  }
  Baseline b;
  size_t n = 0;
  for (const auto& e : j["findings"]) {
    ++n;
    std::string values[5];
    for (int i = 0; i < 5; ++i) {
      if (!e.is_object() || !e.contains(kFields[i]) || !e[kFields[i]].is_string()) {
        throw std::runtime_error(name + ": entry " + std::to_string(n) + " has no text \"" + kFields[i] + "\"");
      }
      values[i] = e[kFields[i]].get<std::string>();
    }
    ++b.counts_[{values[0], values[1], values[2], values[3], values[4]}];
  }
  return b;
}

void Baseline::Write(const std::filesystem::path& path) const {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const auto& [key, count] : counts_) {
    for (int i = 0; i < count; ++i) {
      list.push_back({{"check", std::get<0>(key)},
                      {"project", std::get<1>(key)},
                      {"component", std::get<2>(key)},
                      {"procedure", std::get<3>(key)},
                      {"name", std::get<4>(key)}});
    }
  }
  nlohmann::ordered_json doc = {{"tarno-baseline", 1}, {"findings", list}};
  files::WriteAllBytes(path, doc.dump(1) + "\n");
}

int Baseline::Match(std::vector<Finding>& findings, const std::vector<std::u16string>& projects,
                    bool withExposed) const {
  std::map<Key, int> left = counts_;
  for (auto& f : findings) {
    if (!Counts(f, withExposed)) continue;
    auto it = left.find(KeyOf(f, ProjectOf(f, projects)));
    if (it != left.end() && it->second > 0) {
      --it->second;
      f.inBaseline = true;
    }
  }
  int gone = 0;
  for (const auto& [key, count] : left) gone += count;
  return gone;
}

int Baseline::size() const {
  int n = 0;
  for (const auto& [key, count] : counts_) n += count;
  return n;
}

}  // namespace tarno::checks
