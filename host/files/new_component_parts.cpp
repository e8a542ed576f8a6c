#include "host/files/new_component_parts.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>

#include "host/controls.h"
#include "host/files/file_state.h"
#include "platform/vb_text.h"

namespace tarno::host::files {

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (auto& ch : out) ch = char(std::toupper(static_cast<unsigned char>(ch)));
  return out;
}

// "MSComctlLib" of "MSComctlLib.ListViewCtrl.2"; empty for intrinsic controls.
std::string LibraryOf(std::string_view type) {
  size_t dot = type.find('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  std::string lib = Upper(type.substr(0, dot));
  return lib == "VB" ? std::string() : lib;
}

// The GUID of an Object line ("{831FDD16-...}"), upper case; empty when it names none.
std::string GuidOf(std::string_view line) {
  size_t open = line.find('{');
  size_t close = line.find('}', open == std::string_view::npos ? 0 : open);
  if (open == std::string_view::npos || close == std::string_view::npos) return {};
  return Upper(line.substr(open, close - open + 1));
}

struct LoadedObjects {
  std::vector<std::string> lines;  // the file's Object header lines
  std::set<std::string> libraries;
};

std::vector<LoadedObjects> ScanLoaded(MemComponent& component) {
  std::vector<LoadedObjects> out;
  auto project = component.project();
  auto vbe = project ? project->vbe() : nullptr;
  if (!vbe) return out;
  for (const auto& p : vbe->projects())
    for (const auto& c : p->components()) {
      ComponentState* st = StateOf(*c);
      if (!st || !st->file) continue;
      LoadedObjects o;
      const ComponentFile& f = *st->file;
      for (size_t i = 0; i < f.header_end(); ++i) {
        std::string_view line = TrimBlanks(f.text().line(i));
        if (StartsWithWord(line, "Object") && line.find('=') != std::string_view::npos) o.lines.emplace_back(line);
        if (StartsWithWord(line, "Begin")) break;
      }
      for (const auto& n : f.nodes())
        if (n.kind == DesignerNode::Kind::Block)
          if (auto lib = LibraryOf(n.type); !lib.empty()) o.libraries.insert(lib);
      if (!o.lines.empty() && !o.libraries.empty()) out.push_back(std::move(o));
    }
  return out;
}

// `Object = "{G}#2.0#0"; "X.OCX"` as the project file writes it: `Object={G}#2.0#0; X.OCX`.
std::optional<std::string> ProjectForm(std::string_view line) {
  std::vector<std::string> quoted;
  for (size_t pos = 0; (pos = line.find('"', pos)) != std::string_view::npos;) {
    size_t end = line.find('"', pos + 1);
    if (end == std::string_view::npos) break;
    quoted.emplace_back(line.substr(pos + 1, end - pos - 1));
    pos = end + 1;
  }
  if (quoted.size() < 2 || !quoted[0].starts_with('{')) return std::nullopt;
  return "Object=" + quoted[0] + "; " + quoted[1];
}

}  // namespace

std::optional<std::string> NewSidecar::StoreText(const CodePage& cp, const std::u16string& text) {
  if (name.empty()) return std::nullopt;
  std::string encoded = cp.Encode(text);
  const size_t offset = bytes.size();
  const uint32_t length = static_cast<uint32_t>(encoded.size());
  for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>((length >> (8 * k)) & 0xFF));
  bytes += encoded;
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04zX", offset);
  return "$\"" + name + "\":" + hex;
}

std::vector<std::string> ObjectLinesFor(MemComponent& component) {
  std::vector<std::string> out;
  auto d = component.designer();
  if (!d) return out;
  std::set<std::string> wanted;
  for (const auto& c : d->controls())
    if (!c->cls().intrinsic)
      if (auto lib = LibraryOf(vb::ToUtf8(c->cls().progId)); !lib.empty()) wanted.insert(lib);
  if (wanted.empty()) return out;
  const auto loaded = ScanLoaded(component);
  std::set<std::string> taken;
  for (const auto& lib : wanted) {
    // The lines every file that uses the library has in common.
    std::optional<std::vector<std::string>> common;
    for (const auto& o : loaded) {
      if (!o.libraries.count(lib)) continue;
      if (!common) {
        common = o.lines;
        continue;
      }
      std::vector<std::string> kept;
      for (const auto& l : *common)
        if (std::any_of(o.lines.begin(), o.lines.end(), [&](const std::string& m) { return GuidOf(m) == GuidOf(l); }))
          kept.push_back(l);
      common = std::move(kept);
    }
    if (!common) continue;
    for (const auto& l : *common)
      if (taken.insert(GuidOf(l).empty() ? l : GuidOf(l)).second) out.push_back(l);
  }
  // In the order the libraries' files list them.
  return out;
}

std::vector<std::string> MissingObjectLines(MemComponent& component) {
  ComponentState* st = StateOf(component);
  auto d = component.designer();
  if (!st || !st->file || !d) return {};
  const ComponentFile& f = *st->file;
  std::set<std::string> have, used;
  for (size_t i = 0; i < f.header_end(); ++i) {
    std::string_view line = TrimBlanks(f.text().line(i));
    if (StartsWithWord(line, "Begin")) break;
    if (StartsWithWord(line, "Object") && line.find('=') != std::string_view::npos) have.insert(GuidOf(line));
  }
  for (const auto& n : f.nodes())
    if (n.kind == DesignerNode::Kind::Block) used.insert(LibraryOf(n.type));
  // A user control of an open project needs no library line.
  std::set<std::string> projects;
  if (auto p = component.project())
    if (auto vbe = p->vbe())
      for (const auto& other : vbe->projects()) projects.insert(Upper(vb::ToUtf8(other->name())));
  std::set<std::string> wanted;
  for (const auto& c : d->controls())
    if (!c->cls().intrinsic)
      if (auto lib = LibraryOf(vb::ToUtf8(c->cls().progId)); !lib.empty() && !used.count(lib) && !projects.count(lib))
        wanted.insert(lib);
  if (wanted.empty()) return {};
  const auto loaded = ScanLoaded(component);
  std::vector<std::string> out;
  for (const auto& lib : wanted) {
    // The lines every file that uses the library has, less those a file
    // that does not use it has too (another library's).
    std::optional<std::vector<std::string>> common;
    std::set<std::string> elsewhere;
    for (const auto& o : loaded) {
      if (!o.libraries.count(lib)) {
        for (const auto& l : o.lines) elsewhere.insert(GuidOf(l));
        continue;
      }
      if (!common) {
        common = o.lines;
        continue;
      }
      std::erase_if(*common, [&](const std::string& l) {
        return std::none_of(o.lines.begin(), o.lines.end(), [&](const std::string& m) { return GuidOf(m) == GuidOf(l); });
      });
    }
    if (!common) continue;
    std::vector<std::string> own;
    for (const auto& l : *common)
      if (!elsewhere.count(GuidOf(l))) own.push_back(l);
    for (const auto& l : own.empty() ? *common : own)
      if (have.insert(GuidOf(l)).second) out.push_back(l);
  }
  return out;
}

namespace {

// The Object lines a component's file has, or will have when first written.
std::vector<std::string> ObjectLinesOf(MemComponent& c) {
  ComponentState* st = StateOf(c);
  if (!st) return ObjectLinesFor(c);
  std::vector<std::string> out;
  if (!st->file) return out;
  for (size_t i = 0; i < st->file->header_end(); ++i) {
    std::string_view line = TrimBlanks(st->file->text().line(i));
    if (StartsWithWord(line, "Begin")) break;
    if (StartsWithWord(line, "Object") && line.find('=') != std::string_view::npos) out.emplace_back(line);
  }
  return out;
}

}  // namespace

std::vector<std::string> MissingProjectObjects(const VbpFile* vbp, const std::vector<MemComponent*>& added) {
  std::set<std::string> have;
  if (vbp)
    for (size_t i = 0; i < vbp->project_end(); ++i) {
      std::string_view line = TrimBlanks(vbp->text().line(i));
      if (StartsWithWord(line, "Object") || line.starts_with("Object=")) have.insert(GuidOf(line));
    }
  std::vector<std::string> out;
  for (MemComponent* c : added) {
    for (const auto& line : ObjectLinesOf(*c)) {
      std::string guid = GuidOf(line);
      if (guid.empty() || !have.insert(guid).second) continue;
      if (auto entry = ProjectForm(line)) out.push_back(*entry);
    }
  }
  return out;
}

namespace {

// The key and value of a project file line ("Reference", "*\G{...}#..."); empty key when none.
std::pair<std::string, std::string> KeyOf(std::string_view line) {
  line = TrimBlanks(line);
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  return {std::string(TrimBlanks(line.substr(0, eq))), std::string(TrimBlanks(line.substr(eq + 1)))};
}

// "*\A<path>[#...]": the project a reference leads to, from `base`.
std::optional<std::filesystem::path> ProjectReference(const std::string& value, const std::filesystem::path& base) {
  if (!value.starts_with("*\\A")) return std::nullopt;
  std::string written = value.substr(3, value.find('#') == std::string::npos ? std::string::npos : value.find('#') - 3);
  std::replace(written.begin(), written.end(), '\\', '/');
  if (written.empty()) return std::nullopt;
  std::filesystem::path p = written.starts_with('/') ? std::filesystem::path(written) : base / written;
  return std::filesystem::absolute(p).lexically_normal();
}

// The identity of a Reference or Object value: its GUID, else the project it leads to.
std::string IdentityOf(const std::string& value, const std::filesystem::path& base) {
  if (auto project = ProjectReference(value, base)) return Upper(project->generic_string());
  return GuidOf(value);
}

}  // namespace

SourceProjectLines MissingSourceProjectLines(const VbpFile* vbp, const std::vector<MemComponent*>& added,
                                             const std::filesystem::path& dir) {
  std::set<std::string> have;
  if (vbp)
    for (size_t i = 0; i < vbp->project_end(); ++i) {
      auto [key, value] = KeyOf(vbp->text().line(i));
      if (EqualsIgnoreCase(key, "Reference") || EqualsIgnoreCase(key, "Object")) have.insert(IdentityOf(value, dir));
    }
  SourceProjectLines out;
  std::set<const VbpFile*> seen;
  for (MemComponent* c : added) {
    auto source = c->copied_from();
    auto project = source ? source->project() : nullptr;
    ProjectState* st = project ? StateOf(*project) : nullptr;
    if (!st || !st->vbp || !seen.insert(&*st->vbp).second) continue;
    const std::filesystem::path from = st->path.parent_path();
    for (size_t i = 0; i < st->vbp->project_end(); ++i) {
      auto [key, value] = KeyOf(st->vbp->text().line(i));
      const bool reference = EqualsIgnoreCase(key, "Reference");
      if (!reference && !EqualsIgnoreCase(key, "Object")) continue;
      std::string id = IdentityOf(value, from);
      if (id.empty() || !have.insert(id).second) continue;
      if (auto project_file = ProjectReference(value, from)) {
        // The same project, named from the new folder.
        std::filesystem::path rel = project_file->lexically_relative(std::filesystem::absolute(dir).lexically_normal());
        std::string path = (rel.empty() ? *project_file : rel).generic_string();
        std::replace(path.begin(), path.end(), '/', '\\');
        size_t hash = value.find('#');
        value = "*\\A" + path + (hash == std::string::npos ? std::string() : value.substr(hash));
      }
      (reference ? out.references : out.objects).push_back(key + "=" + value);
    }
  }
  return out;
}

size_t ReferenceInsertionPoint(const VbpFile& vbp) {
  size_t reference = size_t(-1), type = size_t(-1);
  for (size_t i = 0; i < vbp.project_end(); ++i) {
    auto [key, value] = KeyOf(vbp.text().line(i));
    if (EqualsIgnoreCase(key, "Reference")) reference = i;
    else if (EqualsIgnoreCase(key, "Type") && type == size_t(-1)) type = i;
  }
  return reference != size_t(-1) ? reference : type;
}

size_t ObjectInsertionPoint(const VbpFile& vbp) {
  size_t object = size_t(-1), reference = size_t(-1), type = size_t(-1);
  for (size_t i = 0; i < vbp.project_end(); ++i) {
    std::string_view line = TrimBlanks(vbp.text().line(i));
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = TrimBlanks(line.substr(0, eq));
    if (EqualsIgnoreCase(key, "Object")) object = i;
    else if (EqualsIgnoreCase(key, "Reference")) reference = i;
    else if (EqualsIgnoreCase(key, "Type") && type == size_t(-1)) type = i;
  }
  if (object != size_t(-1)) return object;
  if (reference != size_t(-1)) return reference;
  return type;
}

}  // namespace tarno::host::files
