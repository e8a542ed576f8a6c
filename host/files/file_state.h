// What the project-file layer keeps on each loaded host object (in its
// file_state slot) to write the object back exactly.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/files/component_file.h"
#include "host/files/vbp_file.h"
#include "host/mem_host.h"
#include "platform/code_page.h"

namespace tarno::host::files {

struct ComponentState {
  CodePage code_page = CodePage::Cp932();
  VbpComponentKind kind = VbpComponentKind::Module;
  std::filesystem::path path;          // the file as found on disk
  std::optional<ComponentFile> file;   // none for binary files (resource file, related document)
  std::u16string loaded_name;          // the component's name when loaded
  std::string vbp_module_name;         // Module=/Class= lines: the name written before ";"
  // Designer block nodes that became controls, in VBControls order, and the
  // form's own block (-1 without a designer).
  std::vector<int> control_nodes;
  int form_node = -1;
  // Writing a copy in its source's text: control blocks of the source that
  // no control of the copy took are left out.
  bool drop_unmapped_blocks = false;
  // Controls of the designer block that the load left out (an Index outside
  // 0 to 32767, a class that cannot be placed), as the file names them.
  std::vector<std::string> left_out;
};

struct ProjectState {
  CodePage code_page = CodePage::Cp932();
  std::filesystem::path path;
  std::optional<VbpFile> vbp;
  // Component line of each loaded component (by component object).
  std::vector<std::pair<std::weak_ptr<MemComponent>, size_t>> lines;
};

inline ComponentState* StateOf(MemComponent& c) { return static_cast<ComponentState*>(c.file_state.get()); }
inline ProjectState* StateOf(MemProject& p) { return static_cast<ProjectState*>(p.file_state.get()); }

// Decoding helpers.
std::u16string DecodeBytes(const CodePage& cp, std::string_view bytes);
// 1-based position of the first byte the code page could not decode, 0 if none.
size_t FirstInvalidByte(std::u16string_view decoded);

// Designer support (designer_io.cpp): builds the designer's controls from the
// file's designer block, and applies the changed properties to the header lines.
void LoadDesigner(MemComponent& component, ComponentState& state, Warnings& warnings);

struct OutLine {
  std::string text;
  LineEnd end = LineEnd::CrLf;
};
// The binary files (.frx, ...) a component's references name, written as
// one new file: each old file's name as the references write it (compared
// without regard to case) and where its bytes start in the new file.
struct SidecarRenames {
  std::string new_name;  // empty: references stay as they are
  std::vector<std::pair<std::string, size_t>> old_names;
};
// `"Old.frx":0010` (or `$"Old.frx":0010`) as it reads after the renames:
// the new file's name and the offset moved by where the old file's bytes
// start; nullopt when the value names none of the old files.
std::optional<std::string> RenamedReference(std::string_view value, const SidecarRenames& renames);
// Rewrites the header lines (the file's lines [0, header_end)) for the
// designer's changed properties, and every binary reference by `renames`.
// `sidecar`: the component's own binary file with the held binaries appended
// (their references moved there) and the texts of new controls too long for
// a line.
struct NewSidecar;
void ApplyDesignerChanges(MemComponent& component, ComponentState& state, std::vector<OutLine>& header,
                          const SidecarRenames& renames, NewSidecar* sidecar = nullptr);
// After a save: the written file's designer block becomes the base that later
// changes are compared with.
void AdoptDesignerState(MemComponent& component, ComponentState& state);
// Prepares `copy` (a component that has no file yet) to be written from
// `source_state`, the file of the component it was copied from: the copy's
// form and controls take the blocks of the same name and index, and a
// property counts as changed where the copy's value differs from the file's.
void MapCopyOntoSource(MemComponent& copy, ComponentState& source_state);
// The designer block of a component that has no file yet. Binary values go
// to `sidecar`, its new binary file (nullptr: none; a value that needs one
// then fails the write).
struct NewSidecar;
void RenderNewDesigner(MemComponent& component, const CodePage& cp, std::vector<OutLine>& out, NewSidecar* sidecar);

}  // namespace tarno::host::files
