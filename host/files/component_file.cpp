#include "host/files/component_file.h"

#include <cstring>

namespace tarno::host::files {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

// The next blank-separated token of s, removed from s.
std::string_view NextToken(std::string_view& s) {
  s = TrimLeft(s);
  size_t i = 0;
  while (i < s.size() && !IsBlank(s[i])) ++i;
  std::string_view tok = s.substr(0, i);
  s = s.substr(i);
  return tok;
}

size_t IndentOf(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool StartsWithWord(std::string_view line, std::string_view word) {
  if (line.size() < word.size() || !EqualsIgnoreCase(line.substr(0, word.size()), word)) return false;
  return line.size() == word.size() || IsBlank(line[word.size()]) || line[word.size()] == '\r';
}

std::string_view TrimBlanks(std::string_view s) {
  s = TrimLeft(s);
  size_t e = s.size();
  while (e > 0 && (IsBlank(s[e - 1]) || s[e - 1] == '\r')) --e;
  return s.substr(0, e);
}

std::string Unquote(std::string_view s) {
  s = TrimBlanks(s);
  if (s.size() < 2 || s.front() != '"') return std::string(s);
  std::string out;
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] == '"') {
      if (i + 1 < s.size() && s[i + 1] == '"') {
        out += '"';
        ++i;
        continue;
      }
      break;
    }
    out += s[i];
  }
  return out;
}

ComponentFile ComponentFile::Load(const std::filesystem::path& path, Warnings* warnings) {
  return Parse(path, ReadFileBytes(path), warnings);
}

ComponentFile ComponentFile::Parse(const std::filesystem::path& path, std::string bytes, Warnings* warnings) {
  ComponentFile f;
  f.path_ = path;
  if (size_t nul = bytes.find('\0'); nul != std::string::npos) {
    int line = 1;
    for (size_t i = 0; i < nul; ++i)
      if (bytes[i] == '\n') ++line;
    throw ProjectFileError(path, line, "binary data (a NUL byte): not a VB 6 source file");
  }
  f.text_ = TextLines::Parse(std::move(bytes));
  const TextLines& t = f.text_;
  const size_t n = t.size();
  size_t i = 0;
  if (n > 0 && StartsWithWord(TrimLeft(t.line(0)), "VERSION")) i = 1;

  while (i < n) {
    std::string_view s = TrimLeft(t.line(i));
    if (s.size() > 6 && EqualsIgnoreCase(s.substr(0, 6), "Object") && TrimLeft(s.substr(6)).starts_with('=')) {
      ++i;
      continue;
    }
    if (StartsWithWord(s, "Attribute")) {
      std::string_view rest = TrimLeft(s.substr(9));
      size_t eq = rest.find('=');
      HeaderAttribute a;
      a.line = i;
      if (eq != std::string_view::npos) {
        a.name = std::string(TrimBlanks(rest.substr(0, eq)));
        a.value = std::string(TrimBlanks(rest.substr(eq + 1)));
      } else {
        a.name = std::string(TrimBlanks(rest));
      }
      f.attributes_.push_back(std::move(a));
      ++i;
      continue;
    }
    if (!StartsWithWord(s, "Begin")) break;

    // A Begin block, with nested blocks and property groups.
    std::vector<int> stack;
    auto add = [&](DesignerNode node) {
      node.parent = stack.empty() ? -1 : stack.back();
      int idx = int(f.nodes_.size());
      if (node.parent >= 0)
        f.nodes_[size_t(node.parent)].children.push_back(idx);
      else
        f.roots_.push_back(idx);
      f.nodes_.push_back(std::move(node));
      return idx;
    };
    for (; i < n; ++i) {
      std::string_view raw = t.line(i);
      std::string_view line = TrimLeft(raw);
      DesignerNode node;
      node.line = node.end_line = i;
      node.indent = IndentOf(raw);
      if (StartsWithWord(line, "Begin")) {
        std::string_view rest = line.substr(5);
        node.kind = DesignerNode::Kind::Block;
        std::string_view a = NextToken(rest);
        std::string_view b = NextToken(rest);
        if (b.empty() && !a.empty() && a.front() != '{' && a.find('.') == std::string_view::npos) {
          node.name = std::string(a);
        } else {
          node.type = std::string(a);
          node.name = std::string(b);
        }
        stack.push_back(add(std::move(node)));
      } else if (StartsWithWord(line, "BeginProperty")) {
        std::string_view rest = line.substr(13);
        node.kind = DesignerNode::Kind::Group;
        node.name = std::string(NextToken(rest));
        node.type = std::string(NextToken(rest));
        if (stack.empty()) throw ProjectFileError(path, int(i) + 1, "BeginProperty outside a Begin block");
        stack.push_back(add(std::move(node)));
      } else if (StartsWithWord(line, "EndProperty")) {
        if (stack.empty() || f.nodes_[size_t(stack.back())].kind != DesignerNode::Kind::Group)
          throw ProjectFileError(path, int(i) + 1, "EndProperty without a matching BeginProperty");
        f.nodes_[size_t(stack.back())].end_line = i;
        stack.pop_back();
      } else if (StartsWithWord(line, "End")) {
        if (f.nodes_[size_t(stack.back())].kind != DesignerNode::Kind::Block) {
          const auto& open = f.nodes_[size_t(stack.back())];
          throw ProjectFileError(path, int(i) + 1,
                                 "End inside the BeginProperty " + open.name + " group of line " +
                                     std::to_string(open.line + 1) + " (EndProperty missing)");
        }
        f.nodes_[size_t(stack.back())].end_line = i;
        stack.pop_back();
        if (stack.empty()) {
          ++i;
          break;
        }
      } else if (TrimBlanks(line).empty()) {
        add(std::move(node));
      } else {
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || TrimBlanks(line.substr(0, eq)).empty()) {
          if (warnings)
            warnings->push_back({path, int(i) + 1,
                                 "cannot read the property line \"" + std::string(TrimBlanks(line)) +
                                     "\"; kept as it is"});
          add(std::move(node));
        } else {
          node.kind = DesignerNode::Kind::Property;
          node.name = std::string(TrimBlanks(line.substr(0, eq)));
          node.value = std::string(TrimBlanks(line.substr(eq + 1)));
          add(std::move(node));
        }
      }
    }
    if (!stack.empty()) {
      const auto& open = f.nodes_[size_t(stack.front())];
      throw ProjectFileError(path, int(open.line) + 1,
                             std::string(open.kind == DesignerNode::Kind::Group ? "BeginProperty" : "Begin") +
                                 " without a matching End: the file ends inside the block (truncated?)");
    }
  }
  f.header_end_ = i;
  return f;
}

int ComponentFile::designer_root() const {
  for (int r : roots_)
    if (!nodes_[size_t(r)].type.empty()) return r;
  return -1;
}

std::optional<std::string> ComponentFile::VbName() const {
  for (const auto& a : attributes_)
    if (EqualsIgnoreCase(a.name, "VB_Name")) return Unquote(a.value);
  return std::nullopt;
}

int ComponentFile::FindProperty(int node, std::string_view name) const {
  for (int c : nodes_[size_t(node)].children) {
    const auto& n = nodes_[size_t(c)];
    if ((n.kind == DesignerNode::Kind::Property || n.kind == DesignerNode::Kind::Group) && EqualsIgnoreCase(n.name, name))
      return c;
  }
  return -1;
}

}  // namespace tarno::host::files
