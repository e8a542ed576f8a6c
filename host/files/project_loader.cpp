#include "host/files/project_loader.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#include "host/controls.h"
#include "host/files/file_state.h"
#include "host/files/new_component_parts.h"
#include "host/files/property_format.h"
#include "host/files/text_lines.h"
#include "platform/utf8_path.h"
#include "platform/vb_text.h"

namespace tarno::host::files {

namespace fs = std::filesystem;

std::filesystem::path ToPath(const std::u16string& s) { return tarno::files::PathOfUtf8(vb::ToUtf8(s)); }
std::u16string FromPath(const std::filesystem::path& p) { return vb::U(tarno::files::Utf8OfPath(p)); }

std::u16string DecodeBytes(const CodePage& cp, std::string_view bytes) {
  // Plain ASCII needs no conversion (most code lines).
  bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0x80) == 0; });
  if (ascii) return std::u16string(bytes.begin(), bytes.end());
  return cp.Decode(bytes);
}

size_t FirstInvalidByte(std::u16string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t u = s[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      ++i;
      continue;
    }
    if (u >= 0xDC80 && u <= 0xDCFF) return i + 1;
  }
  return 0;
}

namespace {

std::string Utf8Path(const CodePage& cp, std::string_view bytes) { return vb::ToUtf8(DecodeBytes(cp, bytes)); }

int ComponentTypeOf(VbpComponentKind kind, const ComponentFile* file) {
  switch (kind) {
    case VbpComponentKind::Form:
      if (file && file->designer_root() >= 0 &&
          EqualsIgnoreCase(file->nodes()[size_t(file->designer_root())].type, "VB.MDIForm"))
        return ide::ComponentType::MDIForm;
      return ide::ComponentType::VBForm;
    case VbpComponentKind::Module:
      return ide::ComponentType::StdModule;
    case VbpComponentKind::Class:
      return ide::ComponentType::ClassModule;
    case VbpComponentKind::UserControl:
      return ide::ComponentType::UserControl;
    case VbpComponentKind::PropertyPage:
      return ide::ComponentType::PropPage;
    case VbpComponentKind::UserDocument:
      return ide::ComponentType::DocObject;
    case VbpComponentKind::Designer:
      // The Microsoft Forms 2.0 designer is the one designer with a type of its own.
      if (file && file->designer_root() >= 0 &&
          EqualsIgnoreCase(file->nodes()[size_t(file->designer_root())].type, "{C62A69F0-16DC-11CE-9E98-00AA00574A4F}"))
        return ide::ComponentType::MSForm;
      return ide::ComponentType::ActiveXDesigner;
    case VbpComponentKind::ResFile:
      return ide::ComponentType::ResFile;
    case VbpComponentKind::RelatedDoc:
      return ide::ComponentType::RelatedDocument;
  }
  return ide::ComponentType::StdModule;
}

std::optional<VbpComponentKind> KindOfExtension(const fs::path& p) {
  std::string ext = p.extension().string();
  for (auto& ch : ext) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  if (ext == ".bas") return VbpComponentKind::Module;
  if (ext == ".cls") return VbpComponentKind::Class;
  if (ext == ".frm") return VbpComponentKind::Form;
  if (ext == ".ctl") return VbpComponentKind::UserControl;
  if (ext == ".pag") return VbpComponentKind::PropertyPage;
  if (ext == ".dob") return VbpComponentKind::UserDocument;
  if (ext == ".dsr") return VbpComponentKind::Designer;
  return std::nullopt;
}

bool IsBinaryKind(VbpComponentKind k) { return k == VbpComponentKind::ResFile || k == VbpComponentKind::RelatedDoc; }

std::string_view ExtensionOf(int type) {
  switch (type) {
    case ide::ComponentType::StdModule:
      return ".bas";
    case ide::ComponentType::ClassModule:
      return ".cls";
    case ide::ComponentType::VBForm:
    case ide::ComponentType::MDIForm:
      return ".frm";
    case ide::ComponentType::UserControl:
      return ".ctl";
    case ide::ComponentType::PropPage:
      return ".pag";
    case ide::ComponentType::DocObject:
      return ".dob";
    case ide::ComponentType::ActiveXDesigner:
    case ide::ComponentType::MSForm:
      return ".dsr";
  }
  return ".txt";
}

std::string SidecarExtension(const fs::path& file) {
  std::string ext = file.extension().string();
  for (auto& ch : ext) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  if (ext == ".frm") return ".frx";
  if (ext == ".ctl") return ".ctx";
  if (ext == ".pag") return ".pgx";
  if (ext == ".dob") return ".dox";
  if (ext == ".dsr") return ".dsx";
  return {};
}

// `read` holds the file's bytes when the caller has read them already.
// The code lines of a component file, decoded into one text: ASCII lines
// (nearly all) are widened in place, the others go through the code page.
// Bytes the code page does not hold are kept (and warned about once).
ModuleText DecodeBody(const ComponentFile& file, const CodePage& cp, const fs::path& path, Warnings& warnings) {
  const TextLines& t = file.text();
  size_t bytes = 0;
  for (size_t i = file.header_end(); i < t.size(); ++i) bytes += t.line(i).size();
  std::u16string text;
  text.reserve(bytes);  // never more UTF-16 units than bytes
  std::vector<uint32_t> starts;
  starts.reserve(file.body_size() + 1);
  bool warned = false;
  for (size_t i = file.header_end(); i < t.size(); ++i) {
    const std::string_view line = t.line(i);
    const size_t at = text.size();
    starts.push_back(static_cast<uint32_t>(at));
    text.resize(at + line.size());
    char16_t* out = text.data() + at;
    size_t k = 0;
    for (; k < line.size(); ++k) {
      const auto b = static_cast<unsigned char>(line[k]);
      if (b & 0x80) break;
      out[k] = b;
    }
    if (k == line.size()) continue;
    text.resize(at);
    const std::u16string decoded = cp.Decode(line);
    text += decoded;
    if (!warned) {
      if (size_t bad = FirstInvalidByte(decoded)) {
        warned = true;
        warnings.push_back({path, int(i) + 1,
                            "bytes that are not valid in " + cp.name() + " (column " + std::to_string(bad) +
                                "); kept as they are"});
      }
    }
  }
  starts.push_back(static_cast<uint32_t>(text.size()));
  return ModuleText(std::move(text), starts);
}

// fn(i) for every i below count, on up to `jobs` threads (0: one per core);
// fn must not throw.
template <class Fn>
void ForEachOnThreads(size_t count, int jobs, Fn fn) {
  if (jobs <= 0) jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const size_t threads = std::min(static_cast<size_t>(jobs), count);
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < count; i = next++) fn(i);
  };
  std::vector<std::thread> pool;
  for (size_t t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (auto& t : pool) t.join();
}

// A text component file read and decoded, before any host object is made:
// the part of loading that files may go through on several threads at once.
struct ComponentText {
  std::optional<ComponentFile> file;
  ModuleText body;
};

ComponentText ReadComponentText(const fs::path& path, std::optional<std::string> read, const CodePage& cp,
                                Warnings& warnings) {
  ComponentText t;
  t.file = read ? ComponentFile::Parse(path, std::move(*read), &warnings) : ComponentFile::Load(path, &warnings);
  t.body = DecodeBody(*t.file, cp, path, warnings);
  return t;
}

// `pre`: the file read already (text kinds only).
std::shared_ptr<MemComponent> LoadComponent(const fs::path& path, VbpComponentKind kind, const std::string& vbp_name,
                                            const CodePage& cp, Warnings& warnings,
                                            std::optional<ComponentText> pre = std::nullopt) {
  auto state = std::make_shared<ComponentState>();
  state->code_page = cp;
  state->kind = kind;
  state->path = path;
  state->vbp_module_name = vbp_name;
  std::u16string name;
  std::shared_ptr<MemComponent> c;
  if (IsBinaryKind(kind)) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw ProjectFileError(path, 0, "cannot open the file");
    name = FromPath(path.stem());
    c = MemComponent::Create(ComponentTypeOf(kind, nullptr), name);
  } else {
    ComponentText text = pre ? std::move(*pre) : ReadComponentText(path, std::nullopt, cp, warnings);
    ComponentFile& file = *text.file;
    int type = ComponentTypeOf(kind, &file);
    if (auto vb_name = file.VbName(); vb_name && !vb_name->empty())
      name = DecodeBytes(cp, *vb_name);
    else if (!vbp_name.empty())
      name = DecodeBytes(cp, vbp_name);
    else
      name = FromPath(path.stem());
    c = MemComponent::Create(type, name);
    if (c->code()) c->code()->SetText(std::move(text.body));
    state->file = std::move(file);
  }
  state->loaded_name = name;
  c->fileNames().push_back(FromPath(path));
  c->file_state = state;
  if (state->file) LoadDesigner(*c, *state, warnings);
  return c;
}

std::shared_ptr<MemProject> LoadProject(const fs::path& path, const LoadOptions& options, Warnings& warnings) {
  const CodePage& cp = options.code_page;
  VbpFile vbp = VbpFile::Load(path, &warnings);
  std::u16string name = vbp.NameKey() ? DecodeBytes(cp, *vbp.NameKey()) : FromPath(path.stem());
  auto project = MemProject::Create(name, vbp.TypeCode());
  project->set_fileName(FromPath(path));
  auto state = std::make_shared<ProjectState>();
  state->code_page = cp;
  state->path = path;
  fs::path dir = path.parent_path();
  // Where each component's file is, then the text files read and decoded
  // (on several threads: they depend on nothing but their bytes), then the
  // components made in the project's order, with every warning in that order.
  struct Pending {
    std::optional<fs::path> found;
    std::string what;
    bool isFile = false;
    std::string unreadable;  // why the file could not be read
    std::exception_ptr error;  // a file that cannot be loaded: loading stops there
    std::optional<ComponentText> text;
    Warnings warnings;
  };
  const auto& lines = vbp.components();
  std::vector<Pending> pending(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto& line = lines[i];
    Pending& p = pending[i];
    std::string written = Utf8Path(cp, line.path);
    p.found = ResolveWindowsPath(dir, written);
    p.what = "the " + std::string(VbpKey(line.kind)) + " file \"" + written + "\"";
    std::error_code ec;
    p.isFile = p.found && fs::is_regular_file(*p.found, ec);
  }
  auto read = [&](size_t i) {
    Pending& p = pending[i];
    if (!p.isFile || IsBinaryKind(lines[i].kind)) return;
    std::string bytes;
    try {
      bytes = ReadFileBytes(*p.found);
    } catch (const ProjectFileError& e) {
      p.unreadable = e.reason();
      return;
    }
    try {
      p.text = ReadComponentText(*p.found, std::move(bytes), cp, p.warnings);
    } catch (...) {
      p.error = std::current_exception();
    }
  };
  ForEachOnThreads(pending.size(), options.jobs, read);
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto& line = lines[i];
    Pending& p = pending[i];
    // As the IDE goes on after its "file not found" message, a component whose
    // file is gone or cannot be read is left out with a warning; its line
    // stays in the project file, so a save drops nothing the user had.
    if (!p.found) {
      warnings.push_back({path, int(line.line) + 1, p.what + " is missing; left out"});
      continue;
    }
    if (!p.isFile) {
      warnings.push_back({path, int(line.line) + 1, p.what + " is not a file; left out"});
      continue;
    }
    if (!p.unreadable.empty()) {
      warnings.push_back({path, int(line.line) + 1, p.what + " cannot be read (" + p.unreadable + "); left out"});
      continue;
    }
    warnings.insert(warnings.end(), p.warnings.begin(), p.warnings.end());
    if (p.error) std::rethrow_exception(p.error);
    auto c = LoadComponent(*p.found, line.kind, line.name, cp, warnings, std::move(p.text));
    p.text.reset();
    project->AddComponent(c);
    state->lines.emplace_back(c, line.line);
  }
  state->vbp = std::move(vbp);
  project->file_state = state;
  return project;
}

void Attach(LoadedWorkspace& ws, const std::shared_ptr<MemProject>& p) {
  ws.vbe->AddProject(p);
  ws.projects.push_back(p);
  for (const auto& c : p->components()) c->SetIsDirty(false);
  p->set_saved(true);
}

}  // namespace

LoadedWorkspace LoadPath(const std::filesystem::path& path, const CodePage& code_page) {
  LoadOptions o;
  o.code_page = code_page;
  return LoadPath(path, o);
}

LoadedWorkspace LoadPath(const std::filesystem::path& path, const LoadOptions& options) {
  LoadedWorkspace ws;
  ws.vbe = MemVBE::Create();
  ws.vbe->SetStore(std::make_shared<FileStore>(options.code_page));
  ws.path = path;
  std::string ext = path.extension().string();
  for (auto& ch : ext) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  std::error_code ec;
  if (!fs::exists(path, ec)) throw ProjectFileError(path, 0, "no such file");
  if (ext == ".vbg") {
    ws.group = true;
    VbgFile g = VbgFile::Load(path, &ws.warnings);
    for (const auto& line : g.projects()) {
      std::string written = Utf8Path(options.code_page, line.path);
      auto found = ResolveWindowsPath(path.parent_path(), written);
      if (!found) {
        // VB 6 reports the project and opens the rest of the group.
        ws.warnings.push_back({path, int(line.line) + 1, "the project \"" + written + "\" is missing; left out"});
        continue;
      }
      Attach(ws, LoadProject(*found, options, ws.warnings));
    }
  } else if (ext == ".vbp") {
    Attach(ws, LoadProject(path, options, ws.warnings));
  } else {
    auto kind = KindOfExtension(path);
    if (!kind) throw ProjectFileError(path, 0, "not a VB 6 project, group or component file");
    auto c = LoadComponent(path, *kind, "", options.code_page, ws.warnings);
    auto p = MemProject::Create(FromPath(path.stem()));
    p->AddComponent(c);
    Attach(ws, p);
  }
  return ws;
}

// --- writing ------------------------------------------------------------------

namespace {

std::string EncodeText(const CodePage& cp, const std::u16string& s) {
  bool ascii = std::all_of(s.begin(), s.end(), [](char16_t u) { return u < 0x80; });
  if (ascii) return std::string(s.begin(), s.end());
  return cp.Encode(s);
}

std::string Join(const std::vector<OutLine>& lines, bool bom) {
  size_t total = 0;
  for (const auto& l : lines) total += l.text.size() + 2;
  std::string out;
  out.reserve(total + 3);
  if (bom) out.append(kUtf8Bom);
  for (const auto& l : lines) {
    out += l.text;
    out += LineEndBytes(l.end);
  }
  return out;
}

std::string Quote(std::string_view s) {
  std::string out = "\"";
  for (char ch : s) {
    if (ch == '"') out += '"';
    out += ch;
  }
  return out + "\"";
}

// The header of a component that has no file yet, as VB 6 writes a new one.
void NewHeader(MemComponent& c, const CodePage& cp, std::vector<OutLine>& out, NewSidecar* sidecar) {
  std::string name = EncodeText(cp, c.name());
  auto add = [&](std::string s) { out.push_back({std::move(s), LineEnd::CrLf}); };
  bool exposed = false;
  if (auto p = c.project()) exposed = p->type() != ide::ProjectType::StdExe;
  switch (c.type()) {
    case ide::ComponentType::StdModule:
      add("Attribute VB_Name = " + Quote(name));
      return;
    case ide::ComponentType::ClassModule:
      add("VERSION 1.0 CLASS");
      add("BEGIN");
      add(exposed ? "  MultiUse = -1  'True" : "  MultiUse = -1  'True");
      add("  Persistable = 0  'NotPersistable");
      add("  DataBindingBehavior = 0  'vbNone");
      add("  DataSourceBehavior  = 0  'vbNone");
      add("  MTSTransactionMode  = 0  'NotAnMTSObject");
      add("END");
      add("Attribute VB_Name = " + Quote(name));
      add("Attribute VB_GlobalNameSpace = False");
      add("Attribute VB_Creatable = True");
      add("Attribute VB_PredeclaredId = False");
      add(std::string("Attribute VB_Exposed = ") + (exposed ? "True" : "False"));
      return;
    default:
      break;
  }
  add("VERSION 5.00");
  for (auto& line : ObjectLinesFor(c)) add(std::move(line));
  RenderNewDesigner(c, cp, out, sidecar);
  add("Attribute VB_Name = " + Quote(name));
  add("Attribute VB_GlobalNameSpace = False");
  bool form = c.type() == ide::ComponentType::VBForm || c.type() == ide::ComponentType::MDIForm;
  add(std::string("Attribute VB_Creatable = ") + (form ? "False" : "True"));
  add(std::string("Attribute VB_PredeclaredId = ") + (form ? "True" : "False"));
  add(std::string("Attribute VB_Exposed = ") + (exposed && !form ? "True" : "False"));
}

// Replaces the name in `Attribute VB_Name` and in the designer's Begin line after a rename.
void ApplyRename(MemComponent& c, ComponentState& st, std::vector<OutLine>& header) {
  if (c.name() == st.loaded_name) return;
  const ComponentFile& f = *st.file;
  std::string name = EncodeText(st.code_page, c.name());
  for (const auto& a : f.attributes())
    if (EqualsIgnoreCase(a.name, "VB_Name")) header[a.line].text = "Attribute VB_Name = " + Quote(name);
  if (int root = f.designer_root(); root >= 0) {
    const auto& n = f.nodes()[size_t(root)];
    header[n.line].text = std::string(n.indent, ' ') + "Begin " + n.type + " " + name + " ";
  }
}

// The code page of the store the component's host saves through.
const CodePage& CodePageOf(MemComponent& c) {
  if (auto p = c.project())
    if (auto v = p->vbe())
      if (auto* store = dynamic_cast<FileStore*>(v->store().get())) return store->code_page();
  return SystemCodePage();
}

std::string WrittenPath(const fs::path& file, const fs::path& dir, const CodePage& cp);

// `Object = "*\A..\ctl\Ctl.vbp"`: a control project named by its path from
// the component's folder. Written into another folder, the path is rebased
// so that it still leads to the project.
void RebaseProjectObjects(std::vector<OutLine>& lines, const ComponentFile& f, const CodePage& cp,
                          const fs::path& from_dir, const fs::path& to_dir) {
  if (fs::absolute(from_dir).lexically_normal() == fs::absolute(to_dir).lexically_normal()) return;
  size_t end = f.designer_root() >= 0 ? f.nodes()[size_t(f.designer_root())].line : f.header_end();
  for (size_t i = 0; i < end && i < lines.size(); ++i) {
    std::string& text = lines[i].text;
    std::string_view t = TrimBlanks(text);
    if (!StartsWithWord(t, "Object")) continue;
    size_t at = text.find("\"*\\A");
    if (at == std::string::npos) continue;
    size_t close = text.find('"', at + 1);
    if (close == std::string::npos) continue;
    std::string written = Utf8Path(cp, std::string_view(text).substr(at + 4, close - at - 4));
    bool absolute = written.starts_with('\\') || (written.size() > 1 && written[1] == ':');
    if (absolute || written.empty()) continue;
    auto found = ResolveWindowsPath(from_dir, written);
    std::string generic = written;
    std::replace(generic.begin(), generic.end(), '\\', '/');
    fs::path target = found ? *found : (from_dir / generic);
    std::string rebased = WrittenPath(fs::absolute(target).lexically_normal(), fs::absolute(to_dir).lexically_normal(), cp);
    text.replace(at + 4, close - at - 4, rebased);
  }
}

// `st`: the state the component is written from (its own, or for a copy
// that has no file yet, its source's); `to_dir` the folder it is written to
// (empty: where `st` has it).
std::string RenderWithSidecar(MemComponent& c, ComponentState* st, const SidecarRenames& renames,
                              NewSidecar* sidecar = nullptr,
                              const fs::path& to_dir = {}) {
  if (!st) {
    const CodePage& cp = CodePageOf(c);
    std::vector<OutLine> lines;
    NewHeader(c, cp, lines, sidecar);
    if (c.code())
      for (const auto& l : c.code()->text().PhysicalLines()) lines.push_back({EncodeText(cp, l.text), LineEnd::CrLf});
    return Join(lines, false);
  }
  if (!st->file) return ReadFileBytes(st->path);

  const ComponentFile& f = *st->file;
  const TextLines& t = f.text();
  const CodePage& cp = st->code_page;
  LineEnd nl = t.empty() ? LineEnd::CrLf : t.Dominant();
  std::vector<OutLine> lines;
  lines.reserve(t.size() + 8);
  for (size_t i = 0; i < f.header_end(); ++i) lines.push_back({std::string(t.line(i)), t.end(i)});
  ApplyRename(c, *st, lines);
  ApplyDesignerChanges(c, *st, lines, renames, sidecar);
  if (st == StateOf(c)) {
    // Pasted ActiveX controls bring their library's Object line, after the
    // file's own ones (else after its VERSION line).
    const auto objects = MissingObjectLines(c);
    if (!objects.empty()) {
      size_t at = f.header_end() > 0 ? 1 : 0;
      for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = TrimBlanks(lines[i].text);
        if (StartsWithWord(line, "Begin")) break;
        if (StartsWithWord(line, "Object")) at = i + 1;
      }
      for (size_t k = 0; k < objects.size(); ++k) lines.insert(lines.begin() + long(at + k), OutLine{objects[k], nl});
    }
  }
  if (!to_dir.empty()) RebaseProjectObjects(lines, f, cp, st->path.parent_path(), to_dir);

  // Body: lines equal to the loaded ones at the start and at the end keep
  // their bytes and line ends; the lines between are encoded anew.
  std::vector<ModuleText::PhysicalLine> now;
  if (c.code()) now = c.code()->text().PhysicalLines();
  size_t h = f.header_end();
  const size_t was = f.body_size();
  // Compared as bytes: decoding is reversible, so an unchanged line encodes to its own bytes.
  auto same = [&](size_t now_index, size_t was_index) {
    const std::u16string& a = now[now_index].text;
    std::string_view b = t.line(h + was_index);
    if (a.size() == b.size() &&
        std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char y) { return x < 0x80 && x == char16_t(y); }))
      return true;
    bool ascii = std::all_of(a.begin(), a.end(), [](char16_t u) { return u < 0x80; });
    return !ascii && EncodeText(cp, a) == b;
  };
  size_t prefix = 0;
  while (prefix < now.size() && prefix < was && same(prefix, prefix)) ++prefix;
  size_t suffix = 0;
  while (suffix < now.size() - prefix && suffix < was - prefix && same(now.size() - 1 - suffix, was - 1 - suffix))
    ++suffix;

  // Unchanged lines are written from the file's own bytes, without copies.
  struct Piece {
    std::string_view text;
    LineEnd end;
  };
  std::vector<Piece> pieces;
  pieces.reserve(lines.size() + now.size());
  for (const auto& l : lines) pieces.push_back({l.text, l.end});
  for (size_t i = 0; i < prefix; ++i) pieces.push_back({t.line(h + i), t.end(h + i)});
  std::vector<std::string> encoded;
  encoded.reserve(now.size() - suffix - prefix);
  for (size_t i = prefix; i < now.size() - suffix; ++i) encoded.push_back(EncodeText(cp, now[i].text));
  for (const auto& e : encoded) pieces.push_back({e, nl});
  for (size_t k = 0; k < suffix; ++k) {
    size_t i = was - suffix + k;
    pieces.push_back({t.line(h + i), t.end(h + i)});
  }
  // Only the last line may lack a line end, and it does when the file's did.
  for (size_t i = 0; i + 1 < pieces.size(); ++i)
    if (pieces[i].end == LineEnd::None) pieces[i].end = nl;
  if (!pieces.empty()) {
    if (t.MissingFinalEnd())
      pieces.back().end = LineEnd::None;
    else if (pieces.back().end == LineEnd::None)
      pieces.back().end = nl;
  }
  std::string out;
  out.reserve(t.bytes().size() + 64);
  if (t.bom()) out.append(kUtf8Bom);
  for (const auto& p : pieces) {
    out.append(p.text);
    out.append(LineEndBytes(p.end));
  }
  return out;
}

// The path as a .vbp line writes it: relative to the project, with backslashes.
std::string WrittenPath(const fs::path& file, const fs::path& dir, const CodePage& cp) {
  fs::path rel = file.lexically_relative(dir.empty() ? fs::path(".") : dir);
  if (rel.empty()) rel = file;
  std::string s = rel.generic_string();
  std::replace(s.begin(), s.end(), '/', '\\');
  return EncodeText(cp, vb::U(s));
}

std::string ComponentLine(MemComponent& c, const fs::path& dir, const CodePage& cp) {
  fs::path file = ToPath(c.fileNames().empty() ? std::u16string() : c.fileNames()[0]);
  std::string path = WrittenPath(file, dir, cp);
  std::string name = EncodeText(cp, c.name());
  switch (c.type()) {
    case ide::ComponentType::StdModule:
      return "Module=" + name + "; " + path;
    case ide::ComponentType::ClassModule:
      return "Class=" + name + "; " + path;
    case ide::ComponentType::UserControl:
      return "UserControl=" + path;
    case ide::ComponentType::PropPage:
      return "PropertyPage=" + path;
    case ide::ComponentType::DocObject:
      return "UserDocument=" + path;
    case ide::ComponentType::ActiveXDesigner:
    case ide::ComponentType::MSForm:
      return "Designer=" + path;
    case ide::ComponentType::ResFile:
      return "ResFile32=" + Quote(path);
    case ide::ComponentType::RelatedDocument:
      return "RelatedDoc=" + path;
  }
  return "Form=" + path;
}

// Whether one of `lines` names the GUID that `line` names.
bool SameGuidIn(const std::vector<std::string>& lines, const std::string& line) {
  size_t at = line.find('{');
  if (at == std::string::npos) return false;
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
    size_t open = l.find('{');
    return open != std::string::npos && EqualsIgnoreCase(l.substr(open, 38), line.substr(at, 38));
  });
}

// The Reference= and Object= lines a project file (nullptr: none yet) gains
// for `added`: what the copied code needs first (the source project's
// references and libraries), then the libraries the new components' controls
// come from.
SourceProjectLines GainedLines(const VbpFile* vbp, const std::vector<MemComponent*>& added, const fs::path& dir) {
  SourceProjectLines gained = MissingSourceProjectLines(vbp, added, dir);
  const std::vector<std::string> from_sources = gained.objects;
  for (auto& line : MissingProjectObjects(vbp, added))
    if (!SameGuidIn(from_sources, line)) gained.objects.push_back(std::move(line));
  return gained;
}

std::string RenderProjectTo(MemProject& p, const fs::path& target) {
  ProjectState* st = StateOf(p);
  const CodePage& cp = st ? st->code_page : SystemCodePage();
  fs::path dir = target.parent_path();
  if (!st || !st->vbp) {
    std::vector<OutLine> lines;
    static const char* kTypes[] = {"Exe", "OleExe", "OleDll", "Control"};
    lines.push_back({std::string("Type=") + kTypes[std::clamp(p.type(), 0, 3)], LineEnd::CrLf});
    std::vector<MemComponent*> all;
    for (const auto& c : p.components()) all.push_back(c.get());
    auto gained = GainedLines(nullptr, all, dir);
    for (auto& line : gained.references) lines.push_back({std::move(line), LineEnd::CrLf});
    for (auto& line : gained.objects) lines.push_back({std::move(line), LineEnd::CrLf});
    for (const auto& c : p.components())
      if (!c->fileNames().empty() && !c->fileNames()[0].empty()) lines.push_back({ComponentLine(*c, dir, cp), LineEnd::CrLf});
    lines.push_back({"Name=" + Quote(EncodeText(cp, p.name())), LineEnd::CrLf});
    return Join(lines, false);
  }
  const VbpFile& vbp = *st->vbp;
  std::vector<std::pair<size_t, std::string>> inserted;
  std::vector<std::pair<size_t, std::string>> replaced;
  // The ActiveX libraries that the controls of components new to the file come from.
  std::vector<MemComponent*> added;
  for (const auto& c : p.components())
    if (!c->fileNames().empty() && !c->fileNames()[0].empty() &&
        std::none_of(st->lines.begin(), st->lines.end(), [&](const auto& e) { return e.first.lock() == c; }))
      added.push_back(c.get());
  auto gained = GainedLines(&vbp, added, dir);
  for (auto& line : gained.references) inserted.emplace_back(ReferenceInsertionPoint(vbp), std::move(line));
  for (auto& line : gained.objects) inserted.emplace_back(ObjectInsertionPoint(vbp), std::move(line));
  size_t at = vbp.InsertionPoint();
  for (const auto& c : p.components()) {
    if (c->fileNames().empty() || c->fileNames()[0].empty()) continue;  // never saved: no line yet
    auto it = std::find_if(st->lines.begin(), st->lines.end(), [&](const auto& e) { return e.first.lock() == c; });
    if (it == st->lines.end()) {
      inserted.emplace_back(at, ComponentLine(*c, dir, cp));
      continue;
    }
    // A line that still leads to the component's file stays as it is.
    const auto& line = *std::find_if(vbp.components().begin(), vbp.components().end(),
                                     [&](const VbpComponentLine& l) { return l.line == it->second; });
    fs::path file = ToPath(c->fileNames().empty() ? std::u16string() : c->fileNames()[0]);
    auto found = ResolveWindowsPath(dir, vb::ToUtf8(DecodeBytes(cp, line.path)));
    std::error_code ec;
    bool same = found && fs::equivalent(*found, file, ec);
    bool named = line.kind == VbpComponentKind::Module || line.kind == VbpComponentKind::Class;
    // A renamed module or class is renamed in its line too.
    bool renamed = named && !line.name.empty() && line.name != EncodeText(cp, c->name());
    if (!same || renamed) {
      std::string path_text = same ? line.path : WrittenPath(file, dir, cp);
      std::string text = ComponentLine(*c, dir, cp);
      if (named) {
        std::string name = line.name.empty() ? std::string() : EncodeText(cp, c->name()) + "; ";
        text = std::string(VbpKey(line.kind)) + "=" + name + path_text;
      }
      replaced.emplace_back(it->second, std::move(text));
    }
  }
  // A line whose file was missing at the load names no component; when the
  // project file moves it still leads where it led.
  const fs::path old_dir = st->path.parent_path();
  if (fs::absolute(old_dir).lexically_normal() != fs::absolute(dir).lexically_normal()) {
    for (const auto& line : vbp.components()) {
      if (std::any_of(st->lines.begin(), st->lines.end(), [&](const auto& e) { return e.second == line.line; })) continue;
      std::string written = vb::ToUtf8(DecodeBytes(cp, line.path));
      // A path from a drive letter or from the root is left as it is.
      bool absolute = written.starts_with('\\') || (written.size() > 1 && written[1] == ':');
      if (absolute || written.empty()) continue;
      std::replace(written.begin(), written.end(), '\\', '/');
      std::string path = WrittenPath((fs::absolute(old_dir) / written).lexically_normal(), fs::absolute(dir), cp);
      std::string text = std::string(VbpKey(line.kind)) + "=";
      if (!line.name.empty()) text += line.name + "; ";
      text += line.kind == VbpComponentKind::ResFile ? Quote(path) : path;
      replaced.emplace_back(line.line, std::move(text));
    }
  }
  if (replaced.empty()) return vbp.Render(inserted);
  // Apply replaced lines on a copy of the text.
  std::string bytes = vbp.Render();
  TextLines t = TextLines::Parse(bytes);
  std::string rebuilt;
  if (t.bom()) rebuilt.append(kUtf8Bom);
  for (size_t i = 0; i < t.size(); ++i) {
    auto r = std::find_if(replaced.begin(), replaced.end(), [&](const auto& e) { return e.first == i; });
    rebuilt += r == replaced.end() ? std::string(t.line(i)) : r->second;
    rebuilt += LineEndBytes(t.end(i));
  }
  VbpFile patched = VbpFile::Parse(vbp.path(), rebuilt, nullptr);
  return patched.Render(inserted);
}


// The binary file a loaded component's references name, by its file name.
std::optional<fs::path> FindSidecar(MemComponent& from, std::string_view file_name) {
  auto p = from.project();
  auto v = p ? p->vbe() : nullptr;
  if (!v) return std::nullopt;
  for (const auto& proj : v->projects())
    for (const auto& c : proj->components()) {
      ComponentState* st = StateOf(*c);
      if (!st || !st->file) continue;
      for (const auto& n : st->file->nodes()) {
        if (n.kind != DesignerNode::Kind::Property) continue;
        std::string_view val = n.value;
        if (val.starts_with('$')) val.remove_prefix(1);
        if (val.size() > file_name.size() + 2 && val[0] == '"' && EqualsIgnoreCase(val.substr(1, file_name.size()), file_name) &&
            val[file_name.size() + 1] == '"')
          return ResolveWindowsPath(st->path.parent_path(), vb::ToUtf8(DecodeBytes(st->code_page, file_name)));
      }
    }
  return std::nullopt;
}

// Calls `take` with every binary reference the designer's values hold:
// pictures and lists, and each line's value in an ActiveX control's groups.
void ForEachReference(MemDesigner& d, const std::function<void(const std::u16string&)>& take) {
  std::vector<std::shared_ptr<MemControl>> all{d.form()};
  all.insert(all.end(), d.controls().begin(), d.controls().end());
  for (const auto& control : all) {
    for (int i = 0; i < control->PropertyCount(); ++i) {
      const PropType type = control->PropertyDef(i).type;
      if (type != PropType::Picture && type != PropType::Group) continue;
      ide::Variant v = control->ValueAt(i);
      auto* value = std::get_if<std::u16string>(&v);
      if (!value) continue;
      if (type == PropType::Picture) {
        take(*value);
        continue;
      }
      for (size_t pos = 0; (pos = value->find(u"= ", pos)) != std::u16string::npos;) {
        size_t from = value->find_first_not_of(u' ', pos + 1);
        if (from == std::u16string::npos) break;
        size_t to = value->find(u"\r\n", from);
        take(value->substr(from, to == std::u16string::npos ? std::u16string::npos : to - from));
        pos = from;
      }
    }
  }
}

// The bytes a reference ("<1>":0010) names when it is to a binary the
// designer holds, its offset in `offset`; nullptr for any other reference.
const std::string* HeldBinaryOf(const MemDesigner& d, const std::u16string& reference, unsigned long& offset) {
  if (reference.size() < 5 || reference[0] != u'"' || reference[1] != u'<') return nullptr;
  size_t close = reference.find(u'"', 1);
  if (close == std::u16string::npos || close + 2 > reference.size() || reference[close + 1] != u':') return nullptr;
  const std::string* bytes = d.HeldBinary(std::u16string_view(reference).substr(1, close - 1));
  if (bytes) offset = std::strtoul(vb::ToUtf8(reference.substr(close + 2)).c_str(), nullptr, 16);
  return bytes;
}

std::u16string ReferenceAt(const CodePage& cp, const std::string& file, size_t offset) {
  char hex[24];
  std::snprintf(hex, sizeof hex, "%04llX", static_cast<unsigned long long>(offset));
  return DecodeBytes(cp, "\"" + file + "\":" + hex);
}

// A loaded component's own binary file for a save: the file's bytes (none
// yet: an empty one named after the component's file), with the held
// binaries its values use appended and each reference moved to where its
// bytes now are; long texts of new controls join it when written. False
// for a component without a designer block or binary file type.
bool OwnSidecar(MemComponent& c, const ComponentState& st, NewSidecar& out, fs::path& path) {
  auto d = c.designer();
  const std::string ext = SidecarExtension(st.path);
  if (!d || ext.empty() || !st.file || st.form_node < 0) return false;
  // The name the file's references already use, else the component's own.
  path = st.path;
  path.replace_extension(ext);
  out.name = EncodeText(st.code_page, vb::U(path.filename().string()));
  for (const auto& n : st.file->nodes()) {
    ParsedValue v = ParseValue(n.value);
    if (n.kind != DesignerNode::Kind::Property ||
        (v.kind != ParsedValue::Kind::Reference && v.kind != ParsedValue::Kind::StringReference))
      continue;
    std::string file = v.text.substr(v.text[0] == '$' ? 2 : 1);
    file = file.substr(0, file.find('"'));
    if (file.size() < ext.size() || !EqualsIgnoreCase(file.substr(file.size() - ext.size()), ext)) continue;
    if (auto found = ResolveWindowsPath(st.path.parent_path(), Utf8Path(st.code_page, file))) {
      path = *found;
      out.name = file;
      break;
    }
  }
  std::error_code ec;
  try {
    if (fs::exists(path, ec)) out.bytes = ReadFileBytes(path);
  } catch (const ProjectFileError&) {
    return false;  // unreadable: it can take nothing (a value that needs it fails the write)
  }
  std::map<std::u16string, size_t> bases;
  ForEachReference(*d, [&](const std::u16string& ref) {
    unsigned long offset = 0;
    const std::string* held = HeldBinaryOf(*d, ref, offset);
    if (!held || out.references.count(ref)) return;
    const std::u16string key = ref.substr(0, ref.find(u'"', 1));
    if (!bases.count(key)) {
      bases[key] = out.bytes.size();
      out.bytes += *held;
    }
    out.references[ref] = ReferenceAt(st.code_page, out.name, bases[key] + offset);
  });
  return true;
}

// After the save: values name the written binary file, the held ones go.
void AdoptOwnSidecar(MemComponent& c, const NewSidecar& sidecar) {
  auto d = c.designer();
  if (!d) return;
  std::vector<std::shared_ptr<MemControl>> all{d->form()};
  all.insert(all.end(), d->controls().begin(), d->controls().end());
  for (const auto& control : all)
    for (int i = 0; i < control->PropertyCount(); ++i) {
      const PropType type = control->PropertyDef(i).type;
      ide::Variant v = control->ValueAt(i);
      auto* value = std::get_if<std::u16string>(&v);
      if (!value || (type != PropType::Picture && type != PropType::Group)) continue;
      std::u16string moved = *value;
      if (type == PropType::Picture) {
        if (auto it = sidecar.references.find(moved); it != sidecar.references.end()) moved = it->second;
      } else {
        for (const auto& [from, to] : sidecar.references) moved = vb::Replace(moved, from, to);
      }
      if (moved != *value) control->StoreValue(i, moved);
    }
  d->ForgetHeldBinaries();
}

// A new component whose pictures were copied from loaded forms: their bytes
// go into the new component's own binary file, references renamed to it.
void CollectCopiedPictures(MemComponent& c, const fs::path& target, const CodePage& cp, NewSidecar& out,
                           fs::path& sidecar) {
  auto d = c.designer();
  std::string ext = SidecarExtension(target);
  if (!d || ext.empty()) return;
  sidecar = target;
  sidecar.replace_extension(ext);
  std::string own = EncodeText(cp, vb::U(sidecar.filename().string()));
  out.name = own;
  auto& refs = out.references;
  std::string& bytes = out.bytes;
  std::map<std::string, size_t> bases;
  // One reference ("frmMain.frx":0010): its file's bytes join the new file
  // (once per file), the reference moves by where they start.
  auto take = [&](const std::u16string& s) {
    if (refs.count(s)) return;
    unsigned long held_offset = 0;
    if (const std::string* held = HeldBinaryOf(*d, s, held_offset)) {
      const std::string key = vb::ToUtf8(s.substr(0, s.find(u'"', 1)));
      if (!bases.count(key)) {
        bases[key] = bytes.size();
        bytes += *held;
      }
      refs[s] = ReferenceAt(cp, own, bases[key] + held_offset);
      return;
    }
    ParsedValue ref = ParseValue(EncodeText(cp, s));
    if (ref.kind != ParsedValue::Kind::Reference) return;
    size_t close = ref.text.find('"', 1);
    std::string file = ref.text.substr(1, close - 1);
    unsigned long offset = std::strtoul(ref.text.c_str() + close + 2, nullptr, 16);
    std::string key = file;
    for (auto& ch : key) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    if (!bases.count(key)) {
      auto from = FindSidecar(c, file);
      if (!from) throw ProjectFileError(target, 0, "the binary file \"" + file + "\" of a copied value is missing");
      bases[key] = bytes.size();
      bytes += ReadFileBytes(*from);
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04llX", static_cast<unsigned long long>(offset + bases[key]));
    refs[s] = DecodeBytes(cp, "\"" + own + "\":" + hex);
  };
  ForEachReference(*d, take);
}

// A copy never written yet is written from its source's file (nullptr when
// it has none: the copy is then written as a new component).
std::shared_ptr<ComponentState> CopyTemplate(MemComponent& c) {
  auto source = c.copied_from();
  ComponentState* from = source ? StateOf(*source) : nullptr;
  if (!from || !from->file || source->type() != c.type()) return nullptr;
  auto t = std::make_shared<ComponentState>(*from);
  t->vbp_module_name.clear();
  MapCopyOntoSource(c, *t);
  return t;
}

// The binary files (.frx, ...) of a file written to `target`: one new file
// beside it, named after it, that holds the bytes of every binary file its
// references name (the component's own first, at its own offsets, then the
// others in the order the references name them). Nothing when the file
// stays where it is or names no binary file.
struct SidecarMove {
  SidecarRenames renames;
  std::vector<fs::path> from;  // in renames.old_names order
  fs::path to;
  std::string Bytes() const {
    std::string bytes;
    for (const auto& f : from) bytes += ReadFileBytes(f);
    return bytes;
  }
};

SidecarMove SidecarFor(const ComponentState& st, const fs::path& target) {
  SidecarMove m;
  if (!st.file) return m;
  std::string ext = SidecarExtension(st.path);
  std::error_code ec;
  bool moved = !fs::exists(target, ec) || !fs::equivalent(target, st.path, ec);
  if (ext.empty() || !moved) return m;
  // References name a binary file by its name from the component's folder.
  std::vector<std::string> named;
  for (const auto& n : st.file->nodes()) {
    if (n.kind != DesignerNode::Kind::Property) continue;
    std::string_view v = TrimBlanks(n.value);
    if (v.starts_with('$')) v.remove_prefix(1);
    if (!v.starts_with('"')) continue;
    size_t close = v.find('"', 1);
    if (close == std::string_view::npos || close + 2 >= v.size() || v[close + 1] != ':' ||
        !std::isxdigit(static_cast<unsigned char>(v[close + 2])))
      continue;
    std::string ref(v.substr(1, close - 1));
    if (std::none_of(named.begin(), named.end(), [&](const std::string& r) { return EqualsIgnoreCase(r, ref); }))
      named.push_back(ref);
  }
  if (named.empty()) return m;
  // The extension from the bytes themselves: they are in the file's code page.
  auto extension_of = [](const std::string& ref) {
    size_t dot = ref.rfind('.'), sep = ref.find_last_of("\\/");
    bool has = dot != std::string::npos && dot > (sep == std::string::npos ? 0 : sep + 1);
    return has ? ref.substr(dot) : std::string();
  };
  auto own = std::find_if(named.begin(), named.end(), [&](const std::string& r) { return EqualsIgnoreCase(extension_of(r), ext); });
  if (own != named.end()) std::rotate(named.begin(), own, own + 1);
  size_t base = 0;
  for (const auto& ref : named) {
    auto found = ResolveWindowsPath(st.path.parent_path(), Utf8Path(st.code_page, ref));
    if (!found) throw ProjectFileError(st.path, 0, "its binary file \"" + ref + "\" is missing");
    m.renames.old_names.emplace_back(ref, base);
    m.from.push_back(*found);
    base += static_cast<size_t>(fs::file_size(*found, ec));
    if (ec) throw ProjectFileError(*found, 0, "cannot read the binary file: " + ec.message());
  }
  m.to = target;
  std::string written_ext = own != named.end() ? extension_of(named.front()) : ext;
  m.to.replace_extension(ToPath(DecodeBytes(st.code_page, written_ext)));
  m.renames.new_name = EncodeText(st.code_page, vb::U(m.to.filename().string()));
  return m;
}

}  // namespace

std::string RenderComponent(MemComponent& component) {
  return RenderWithSidecar(component, StateOf(component), {});
}

std::string RenderNewComponent(MemComponent& component, const std::filesystem::path& target, std::string& sidecar) {
  if (StateOf(component)) return RenderComponent(component);
  if (auto t = CopyTemplate(component)) {
    SidecarMove m = SidecarFor(*t, target);
    if (!m.from.empty()) sidecar = m.Bytes();
    return RenderWithSidecar(component, t.get(), m.renames, nullptr, target.parent_path());
  }
  NewSidecar fresh;
  fs::path sidecar_path;
  CollectCopiedPictures(component, target, CodePageOf(component), fresh, sidecar_path);
  std::string bytes = RenderWithSidecar(component, nullptr, {}, &fresh);
  sidecar = std::move(fresh.bytes);
  return bytes;
}

std::string RenderProject(MemProject& project) { return RenderProjectTo(project, ToPath(project.fileName())); }

void FileStore::SaveComponent(MemComponent& c, const std::u16string& target_u16) {
  fs::path target = ToPath(target_u16);
  std::shared_ptr<ComponentState> copy_template = StateOf(c) ? nullptr : CopyTemplate(c);
  ComponentState* st = StateOf(c) ? StateOf(c) : copy_template.get();
  SidecarMove move;
  if (st) move = SidecarFor(*st, target);
  fs::path sidecar_to = move.to;
  NewSidecar fresh_sidecar;
  if (!st) CollectCopiedPictures(c, target, code_page_, fresh_sidecar, sidecar_to);
  // Where the file stays, held binaries and new controls' long texts join
  // its own binary file, which is written only when they made it grow.
  const bool own = st && !copy_template && move.from.empty() && OwnSidecar(c, *st, fresh_sidecar, sidecar_to);
  std::error_code exists_ec;
  const size_t on_disk = own && fs::exists(sidecar_to, exists_ec) ? size_t(fs::file_size(sidecar_to, exists_ec)) : 0;
  std::string bytes = RenderWithSidecar(c, st, move.renames, st && !own ? nullptr : &fresh_sidecar,
                                        copy_template ? target.parent_path() : fs::path());
  if (!move.from.empty()) WriteFileAtomically(sidecar_to, move.Bytes());
  if (own ? fresh_sidecar.bytes.size() > on_disk : !fresh_sidecar.bytes.empty())
    WriteFileAtomically(sidecar_to, fresh_sidecar.bytes);
  WriteFileAtomically(target, bytes);
  if (own || !st) AdoptOwnSidecar(c, fresh_sidecar);

  // What was written is what later saves compare with.
  auto fresh = std::make_shared<ComponentState>();
  fresh->code_page = st ? st->code_page : code_page_;
  fresh->kind = st ? st->kind : VbpComponentKind::Form;
  fresh->path = target;
  fresh->vbp_module_name = st ? st->vbp_module_name : std::string();
  fresh->loaded_name = c.name();
  if (!st || st->file) {
    Warnings ignored;
    fresh->file = ComponentFile::Parse(target, std::move(bytes), &ignored);
    c.file_state = fresh;
    AdoptDesignerState(c, *fresh);
  } else {
    c.file_state = fresh;
  }
}

std::vector<std::u16string> FileStore::AddedReferences(MemProject& p) {
  ProjectState* st = StateOf(p);
  const CodePage& cp = st ? st->code_page : code_page_;
  const fs::path dir = st ? st->path.parent_path() : ToPath(p.fileName()).parent_path();
  const VbpFile* vbp = st && st->vbp ? &*st->vbp : nullptr;
  // Saved or not yet: every component the project file has no line for.
  std::vector<MemComponent*> added;
  for (const auto& c : p.components())
    if (!st || std::none_of(st->lines.begin(), st->lines.end(), [&](const auto& e) { return e.first.lock() == c; }))
      added.push_back(c.get());
  auto gained = GainedLines(vbp, added, dir);
  std::vector<std::u16string> out;
  for (const auto* lines : {&gained.references, &gained.objects})
    for (const auto& line : *lines) out.push_back(DecodeBytes(cp, line));
  return out;
}

void FileStore::SaveProject(MemProject& p, const std::u16string& target_u16) {
  fs::path target = ToPath(target_u16);
  fs::path dir = target.parent_path();
  ProjectState* st = StateOf(p);
  // The project file names the components that have a file; one never saved
  // is not saved by the project's save (Save gives new components their files).
  std::string bytes = RenderProjectTo(p, target);
  WriteFileAtomically(target, bytes);
  auto fresh = std::make_shared<ProjectState>();
  fresh->code_page = st ? st->code_page : code_page_;
  fresh->path = target;
  fresh->vbp = VbpFile::Parse(target, bytes, nullptr);
  // Component lines are mostly in component order, but a line whose file was
  // left out at the load has no component: each component takes the line
  // that leads to its file, the next one in order when that one does.
  const auto& lines = fresh->vbp->components();
  std::vector<bool> taken(lines.size(), false);
  auto leadsTo = [&](size_t i, const fs::path& file) {
    auto found = ResolveWindowsPath(dir, Utf8Path(fresh->code_page, lines[i].path));
    std::error_code ec;
    return found && fs::equivalent(*found, file, ec);
  };
  size_t next = 0;
  for (const auto& c : p.components()) {
    if (c->fileNames().empty() || c->fileNames()[0].empty()) continue;
    while (next < lines.size() && taken[next]) ++next;
    if (next >= lines.size()) break;
    const fs::path file = ToPath(c->fileNames()[0]);
    size_t pick = next;
    if (!leadsTo(next, file)) {
      for (size_t i = 0; i < lines.size(); ++i) {
        if (!taken[i] && leadsTo(i, file)) {
          pick = i;
          break;
        }
      }
    }
    taken[pick] = true;
    fresh->lines.emplace_back(c, lines[pick].line);
  }
  p.file_state = fresh;
}

std::vector<std::filesystem::path> Save(LoadedWorkspace& ws) {
  std::vector<fs::path> written;
  for (const auto& p : ws.projects) {
    for (const auto& c : p->components()) {
      if (!c->dirty() || c->fileNames().empty() || c->fileNames()[0].empty()) continue;
      c->SaveAs(c->fileNames()[0]);
      c->SetIsDirty(false);
      written.push_back(ToPath(c->fileNames()[0]));
    }
    bool has_new = std::any_of(p->components().begin(), p->components().end(),
                               [](const auto& c) { return c->fileNames().empty() || c->fileNames()[0].empty(); });
    if ((!p->Saved() || has_new) && !p->fileName().empty()) {
      std::vector<std::shared_ptr<MemComponent>> fresh;
      for (const auto& c : p->components())
        if (c->fileNames().empty() || c->fileNames()[0].empty()) fresh.push_back(c);
      // New components get their file beside the project, named after them.
      fs::path dir = ToPath(p->fileName()).parent_path();
      for (const auto& c : fresh) {
        fs::path file = dir / (vb::ToUtf8(c->name()) + std::string(ExtensionOf(c->type())));
        c->SaveAs(FromPath(file));
        c->SetIsDirty(false);
      }
      p->SaveAs(p->fileName());
      for (const auto& c : fresh) written.push_back(ToPath(c->fileNames()[0]));
      written.push_back(ToPath(p->fileName()));
    }
  }
  return written;
}

}  // namespace tarno::host::files
