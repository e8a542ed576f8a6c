#include "host/module_text.h"

#include <stdexcept>
#include <type_traits>

#include "host/vb_syntax.h"

namespace tarno::host {

bool ModuleText::IsMemberAttribute(std::u16string_view line) {
  // Most lines are not: look at the first non-blank character before reading words.
  size_t first = 0;
  while (first < line.size() && syntax::IsSpaceOrTab(line[first])) ++first;
  if (first == line.size() || (line[first] != u'A' && line[first] != u'a')) return false;
  syntax::Words w(line);
  if (!syntax::EqualsNoCase(w.Next(), u"Attribute")) return false;
  if (w.Next().empty()) return false;
  auto rest = w.Rest();
  return rest.size() >= 4 && rest[0] == u'.' && syntax::EqualsNoCase(rest.substr(1, 3), u"VB_");
}

void ModuleText::Concatenate(const std::vector<std::u16string>& lines, std::u16string& text,
                             std::vector<uint32_t>& starts) {
  size_t total = 0;
  for (const auto& l : lines) total += l.size();
  text.reserve(total);
  starts.reserve(lines.size() + 1);
  for (const auto& l : lines) {
    starts.push_back(static_cast<uint32_t>(text.size()));
    text += l;
  }
  starts.push_back(static_cast<uint32_t>(text.size()));
}

ModuleText::ModuleText(const std::vector<std::u16string>& bodyLines) {
  std::u16string text;
  std::vector<uint32_t> starts;
  Concatenate(bodyLines, text, starts);
  Classify(std::move(text), starts);
}

ModuleText::ModuleText(std::vector<std::u16string>&& bodyLines)
    : ModuleText(static_cast<const std::vector<std::u16string>&>(bodyLines)) {
  bodyLines.clear();
}

ModuleText::ModuleText(std::u16string text, const std::vector<uint32_t>& starts) { Classify(std::move(text), starts); }

void ModuleText::Classify(std::u16string text, const std::vector<uint32_t>& starts) {
  auto buffer = std::make_shared<const std::u16string>(std::move(text));
  const char16_t* base = buffer->data();
  const size_t count = starts.empty() ? 0 : starts.size() - 1;
  lines_.reserve(count);
  // Member attribute lines are hidden wherever they stand: after a
  // procedure's declaration and after a variable or event declaration alike
  // (the IDE writes `Attribute m_x.VB_VarHelpID = -1` after every WithEvents
  // variable). A line that a continued statement goes on with is code.
  bool inStatement = false;
  for (size_t i = 0; i < count; ++i) {
    std::u16string_view line(base + starts[i], starts[i + 1] - starts[i]);
    if (!inStatement && !lines_.empty() && IsMemberAttribute(line)) {
      lines_.back().Hide(std::u16string(line));
      continue;
    }
    lines_.emplace_back(line.data(), line.size());
    inStatement = syntax::Continues(line);
  }
  buffers_.push_back(std::move(buffer));
}

std::vector<std::u16string> ModuleText::SplitLines(std::u16string_view text) {
  std::vector<std::u16string> out;
  size_t b = 0;
  while (b < text.size()) {
    size_t e = text.find(u"\r\n", b);
    if (e == std::u16string_view::npos) {
      out.emplace_back(text.substr(b));
      break;
    }
    out.emplace_back(text.substr(b, e - b));
    b = e + 2;
  }
  return out;
}

ModuleText ModuleText::FromText(std::u16string_view text) { return ModuleText(SplitLines(text)); }

std::u16string_view ModuleText::Line(int n) const {
  if (n < 1 || n > CountOfLines()) {
    throw std::out_of_range("code line " + std::to_string(n) + " outside 1.." + std::to_string(CountOfLines()));
  }
  return lines_[static_cast<size_t>(n - 1)].text();
}

std::vector<ModuleText::PhysicalLine> ModuleText::PhysicalLines() const {
  std::vector<PhysicalLine> out;
  out.reserve(static_cast<size_t>(PhysicalCount()));
  for (const auto& e : lines_) {
    out.push_back({std::u16string(e.text()), false});
    if (e.hiddenAfter) {
      for (const auto& h : *e.hiddenAfter) out.push_back({h, true});
    }
  }
  return out;
}

std::vector<std::u16string_view> ModuleText::HiddenLines() const {
  std::vector<std::u16string_view> out;
  for (const auto& e : lines_) {
    if (e.hiddenAfter) out.insert(out.end(), e.hiddenAfter->begin(), e.hiddenAfter->end());
  }
  return out;
}

int ModuleText::PhysicalCount() const { return PhysicalIndex(CountOfLines() + 1); }

int ModuleText::PhysicalIndex(int n) const {
  if (n < 1 || n > CountOfLines() + 1) {
    throw std::out_of_range("code line " + std::to_string(n) + " outside 1.." + std::to_string(CountOfLines() + 1));
  }
  if (!physicalValid_) {
    physical_.resize(lines_.size() + 1);
    int pos = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
      physical_[i] = pos;
      pos += 1 + static_cast<int>(lines_[i].HiddenCount());
    }
    physical_[lines_.size()] = pos;
    physicalValid_ = true;
  }
  return physical_[static_cast<size_t>(n - 1)];
}

void ModuleText::Touch() {
  ++version_;
  physicalValid_ = false;
  CompactIfFragmented();
}

void ModuleText::CompactIfFragmented() {
  constexpr size_t kMaxBuffers = 32;
  if (buffers_.size() <= kMaxBuffers) return;
  size_t total = 0;
  for (const auto& e : lines_) total += e.length;
  auto buffer = std::make_shared<std::u16string>();
  buffer->reserve(total);
  std::vector<size_t> starts;
  starts.reserve(lines_.size());
  for (const auto& e : lines_) {
    starts.push_back(buffer->size());
    buffer->append(e.data, e.length);
  }
  for (size_t i = 0; i < lines_.size(); ++i) lines_[i].data = buffer->data() + starts[i];
  buffers_.clear();
  buffers_.push_back(std::move(buffer));
}

void ModuleText::InsertLines(int before, const std::vector<std::u16string>& lines) {
  if (before < 1 || before > CountOfLines() + 1) {
    throw std::out_of_range("insert position " + std::to_string(before) + " outside 1.." +
                            std::to_string(CountOfLines() + 1));
  }
  std::u16string text;
  std::vector<uint32_t> starts;
  Concatenate(lines, text, starts);
  auto buffer = std::make_shared<const std::u16string>(std::move(text));
  std::vector<Entry> entries;
  entries.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) entries.emplace_back(buffer->data() + starts[i], starts[i + 1] - starts[i]);
  buffers_.push_back(std::move(buffer));
  lines_.insert(lines_.begin() + (before - 1), std::make_move_iterator(entries.begin()),
                std::make_move_iterator(entries.end()));
  Touch();
}

void ModuleText::DeleteLines(int start, int count) {
  if (count < 0 || start < 1 || start + count - 1 > CountOfLines()) {
    throw std::out_of_range("lines " + std::to_string(start) + ".." + std::to_string(start + count - 1) +
                            " outside 1.." + std::to_string(CountOfLines()));
  }
  lines_.erase(lines_.begin() + (start - 1), lines_.begin() + (start - 1 + count));
  Touch();
}

std::u16string ModuleText::CodeText() const {
  std::u16string out;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i) out += u"\r\n";
    out += lines_[i].text();
  }
  return out;
}

}  // namespace tarno::host
