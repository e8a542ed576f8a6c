#include "host/files/vbp_file.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "host/files/component_file.h"

namespace tarno::host::files {

namespace {

constexpr std::array<std::pair<std::string_view, VbpComponentKind>, 9> kComponentKeys{{
    {"Form", VbpComponentKind::Form},
    {"Module", VbpComponentKind::Module},
    {"Class", VbpComponentKind::Class},
    {"UserControl", VbpComponentKind::UserControl},
    {"PropertyPage", VbpComponentKind::PropertyPage},
    {"UserDocument", VbpComponentKind::UserDocument},
    {"Designer", VbpComponentKind::Designer},
    {"ResFile32", VbpComponentKind::ResFile},
    {"RelatedDoc", VbpComponentKind::RelatedDoc},
}};

// Keys VB 6 (and the common build add-ins) write in the project part.
constexpr std::string_view kKnownKeys[] = {
    "Type", "Reference", "Object", "IconForm", "Startup", "HelpFile", "Title", "ExeName32", "Path32",
    "Command32", "Name", "HelpContextID", "CompatibleMode", "CompatibleEXE32", "VersionCompatible32",
    "MajorVer", "MinorVer", "RevisionVer", "AutoIncrementVer", "ServerSupportFiles", "VersionCompanyName",
    "VersionFileDescription", "VersionLegalCopyright", "VersionLegalTrademarks", "VersionProductName",
    "VersionComments", "CompilationType", "OptimizationType", "FavorPentiumPro(tm)", "CodeViewDebugInfo",
    "NoAliasing", "BoundsCheck", "OverflowCheck", "FlPointCheck", "FDIVCheck", "UnroundedFP", "StartMode",
    "Unattended", "Retained", "ThreadPerObject", "MaxNumberOfThreads", "DebugStartupOption",
    "DebugStartupComponent", "Description", "ThreadingModel", "CondComp", "NoControlUpgrade",
    "DllBaseAddress", "UseExistingBrowser", "RemoveUnusedControlInfo", "ResFile32", "AutoRefresh",
    // Keys of widely used compile add-ins, kept in the project part by VB 6.
    "fullPath", "XPManifest", "TSAware", "SymbDbgPref", "SendCommandArgs", "RevisionVersion",
    "ResBuildName", "ReplaceIcon", "LinkSwitches", "IsConsole", "HasStubFile", "GenerateMap", "C2Switches"};

bool IsKnownKey(std::string_view key) {
  for (auto k : kKnownKeys)
    if (EqualsIgnoreCase(k, key)) return true;
  return VbpKindOfKey(key).has_value();
}

}  // namespace

std::string_view VbpKey(VbpComponentKind kind) {
  for (const auto& [k, v] : kComponentKeys)
    if (v == kind) return k;
  return {};
}

std::optional<VbpComponentKind> VbpKindOfKey(std::string_view key) {
  for (const auto& [k, v] : kComponentKeys)
    if (EqualsIgnoreCase(k, key)) return v;
  return std::nullopt;
}

VbpFile VbpFile::Load(const std::filesystem::path& path, Warnings* warnings) {
  return Parse(path, ReadFileBytes(path), warnings);
}

VbpFile VbpFile::Parse(const std::filesystem::path& path, std::string bytes, Warnings* warnings) {
  VbpFile f;
  f.path_ = path;
  if (bytes.find('\0') != std::string::npos)
    throw ProjectFileError(path, 0, "binary data (a NUL byte): not a VB 6 project file");
  f.text_ = TextLines::Parse(std::move(bytes));
  const size_t n = f.text_.size();
  size_t i = 0;
  for (; i < n; ++i) {
    std::string_view line = TrimBlanks(f.text_.line(i));
    if (line.empty()) continue;
    if (line.front() == '[') break;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      if (warnings) warnings->push_back({path, int(i) + 1, "not a key=value line; kept as it is"});
      continue;
    }
    std::string key(TrimBlanks(line.substr(0, eq)));
    std::string value(TrimBlanks(line.substr(eq + 1)));
    if (auto kind = VbpKindOfKey(key)) {
      VbpComponentLine c;
      c.line = i;
      c.kind = *kind;
      std::string_view v = value;
      if (*kind == VbpComponentKind::Module || *kind == VbpComponentKind::Class) {
        size_t semi = v.find(';');
        if (semi == std::string_view::npos) {
          if (warnings) warnings->push_back({path, int(i) + 1, key + "= line without \"Name; file\": read as a file name"});
        } else {
          c.name = std::string(TrimBlanks(v.substr(0, semi)));
          v = v.substr(semi + 1);
        }
      }
      c.path = Unquote(v);
      if (c.path.empty()) {
        if (warnings) warnings->push_back({path, int(i) + 1, key + "= line without a file name; skipped"});
      } else {
        f.components_.push_back(std::move(c));
      }
    } else if (!IsKnownKey(key)) {
      if (warnings) warnings->push_back({path, int(i) + 1, "unknown key \"" + key + "\"; kept as it is"});
    }
    f.keys_.push_back({i, std::move(key), std::move(value)});
  }
  f.project_end_ = i;
  return f;
}

std::optional<std::string> VbpFile::Value(std::string_view key) const {
  for (const auto& k : keys_)
    if (EqualsIgnoreCase(k.key, key)) return k.value;
  return std::nullopt;
}

std::optional<std::string> VbpFile::NameKey() const {
  auto v = Value("Name");
  if (!v) return std::nullopt;
  std::string name = Unquote(*v);
  if (name.empty()) return std::nullopt;
  return name;
}

int VbpFile::TypeCode() const {
  auto v = Value("Type");
  if (!v) return 0;
  std::string_view t = TrimBlanks(*v);
  if (EqualsIgnoreCase(t, "OleExe")) return 1;
  if (EqualsIgnoreCase(t, "OleDll")) return 2;
  if (EqualsIgnoreCase(t, "Control")) return 3;
  return 0;
}

size_t VbpFile::InsertionPoint() const {
  if (!components_.empty()) return components_.back().line;
  size_t best = size_t(-1);
  for (const auto& k : keys_)
    if (EqualsIgnoreCase(k.key, "Reference") || EqualsIgnoreCase(k.key, "Object") || EqualsIgnoreCase(k.key, "Type"))
      best = (best == size_t(-1)) ? k.line : std::max(best, k.line);
  return best;
}

std::string VbpFile::Render(const std::vector<std::pair<size_t, std::string>>& inserted) const {
  if (inserted.empty()) return text_.Join();
  LineEnd nl = text_.empty() ? LineEnd::CrLf : text_.Dominant();
  std::string out;
  if (text_.bom()) out.append(kUtf8Bom);
  auto emit = [&](size_t after) {
    for (const auto& [pos, text] : inserted)
      if (pos == after) {
        out += text;
        out += LineEndBytes(nl);
      }
  };
  emit(size_t(-1));
  for (size_t i = 0; i < text_.size(); ++i) {
    out += text_.line(i);
    LineEnd e = text_.end(i);
    bool has_insert = std::any_of(inserted.begin(), inserted.end(), [&](const auto& p) { return p.first == i; });
    // A last line without line end gets one when lines follow it.
    if (e == LineEnd::None && has_insert) e = nl;
    out += LineEndBytes(e);
    emit(i);
  }
  return out;
}

VbgFile VbgFile::Load(const std::filesystem::path& path, Warnings* warnings) {
  return Parse(path, ReadFileBytes(path), warnings);
}

VbgFile VbgFile::Parse(const std::filesystem::path& path, std::string bytes, Warnings* warnings) {
  VbgFile g;
  g.path_ = path;
  if (bytes.find('\0') != std::string::npos)
    throw ProjectFileError(path, 0, "binary data (a NUL byte): not a VB 6 project group");
  g.text_ = TextLines::Parse(std::move(bytes));
  for (size_t i = 0; i < g.text_.size(); ++i) {
    std::string_view line = TrimBlanks(g.text_.line(i));
    if (line.empty() || (i == 0 && StartsWithWord(line, "VBGROUP"))) continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      if (warnings) warnings->push_back({path, int(i) + 1, "not a key=value line; kept as it is"});
      continue;
    }
    std::string_view key = TrimBlanks(line.substr(0, eq));
    bool startup = EqualsIgnoreCase(key, "StartupProject");
    if (startup || EqualsIgnoreCase(key, "Project")) {
      g.projects_.push_back({i, startup, Unquote(line.substr(eq + 1))});
    } else if (warnings) {
      warnings->push_back({path, int(i) + 1, "unknown key \"" + std::string(key) + "\"; kept as it is"});
    }
  }
  if (g.text_.empty() || !StartsWithWord(TrimBlanks(g.text_.line(0)), "VBGROUP"))
    throw ProjectFileError(path, 1, "not a project group: the first line is not \"VBGROUP 5.0\"");
  return g;
}

std::optional<std::filesystem::path> ResolveWindowsPath(const std::filesystem::path& base, std::string_view written) {
  namespace fs = std::filesystem;
  // `written` and the names listed from disk are UTF-8: through char8_t they
  // are read as UTF-8 on every system.
  auto utf8 = [](std::string_view s) { return fs::path(std::u8string(s.begin(), s.end())); };
  std::string p(written);
  std::replace(p.begin(), p.end(), '\\', '/');
  std::error_code ec;
  // A drive letter or UNC path leads to a file only where the system has
  // drives (Windows); elsewhere it cannot be found.
  if ((p.size() >= 2 && p[1] == ':') || p.starts_with("//")) {
    fs::path full = utf8(p);
    if (full.is_absolute() && fs::exists(full, ec)) return full;
    return std::nullopt;
  }
  fs::path exact = base / utf8(p);
  if (fs::exists(exact, ec)) return exact;

  fs::path cur = base;
  size_t pos = 0;
  while (pos <= p.size()) {
    size_t slash = p.find('/', pos);
    if (slash == std::string::npos) slash = p.size();
    std::string part = p.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty() || part == ".") {
      if (slash == p.size()) break;
      continue;
    }
    fs::path next = cur / utf8(part);
    if (part != ".." && !fs::exists(next, ec)) {
      bool found = false;
      for (fs::directory_iterator it(cur.empty() ? fs::path(".") : cur, ec), end; !ec && it != end; it.increment(ec)) {
        std::u8string name = it->path().filename().u8string();
        std::string entry(name.begin(), name.end());
        if (EqualsIgnoreCase(entry, part)) {
          next = cur / utf8(entry);
          found = true;
          break;
        }
      }
      if (!found) return std::nullopt;
    }
    cur = next;
    if (slash == p.size()) break;
  }
  if (!fs::exists(cur, ec)) return std::nullopt;
  return cur;
}

}  // namespace tarno::host::files
