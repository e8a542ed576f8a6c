// What a component made in the IDE (a copy of a loaded form, say) needs
// besides its own lines when it is first written: a binary file of its own
// for its pictures, list items and long texts, the Object lines of the
// ActiveX libraries its controls come from, and the matching Object entries
// in its project file.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/files/vbp_file.h"
#include "host/mem_host.h"
#include "platform/code_page.h"

namespace tarno::host::files {

// The new component's binary file (.frx, .ctx, ...) while its designer block
// is written.
struct NewSidecar {
  std::string name;   // its file name as references write it (code page bytes); empty: none
  std::string bytes;  // its contents so far
  // Binary references of copied values ("frmMain.frx":0010) and what they
  // become in the new file.
  std::map<std::u16string, std::u16string> references;

  // Appends a text as VB keeps long texts (a 4-byte little-endian length,
  // then the bytes) and returns the reference to it ($"name":XXXX); nullopt
  // when the component has no binary file.
  std::optional<std::string> StoreText(const CodePage& cp, const std::u16string& text);
};

// The `Object = "{GUID}#ver#lcid"; "FILE.OCX"` header lines of the libraries
// the component's ActiveX controls come from, as the loaded component files
// that use those libraries have them.
std::vector<std::string> ObjectLinesFor(MemComponent& component);

// The Object lines a loaded component's file lacks for the ActiveX controls
// added to its designer since (pasted ones), as ObjectLinesFor finds them,
// less the lines of other libraries the files that have them share; none
// for a user control of an open project.
std::vector<std::string> MissingObjectLines(MemComponent& component);

// The `Object={GUID}#ver#lcid; FILE.OCX` lines the project file (nullptr:
// none yet) lacks for the Object lines of components it gets a line for
// (GUIDs compared without regard to case).
std::vector<std::string> MissingProjectObjects(const VbpFile* vbp, const std::vector<MemComponent*>& added);

// The Reference= and Object= lines of the project files that copies among
// `added` come from, where the project file (nullptr: none yet) lacks them
// (by GUID, or for a project reference "*\A<path>" by the project it leads
// to), so that the copied code compiles in its new project. A project
// reference's path is rebased to `dir`, the project file's folder.
struct SourceProjectLines {
  std::vector<std::string> references, objects;
};
SourceProjectLines MissingSourceProjectLines(const VbpFile* vbp, const std::vector<MemComponent*>& added,
                                             const std::filesystem::path& dir);

// Where new Reference= lines go: after the project file's last Reference
// line, else after Type=; size_t(-1) for the top.
size_t ReferenceInsertionPoint(const VbpFile& vbp);

// Where new Object= lines go in a project file: after its last Object line,
// else after its last Reference line, else after Type=; size_t(-1) for the top.
size_t ObjectInsertionPoint(const VbpFile& vbp);

}  // namespace tarno::host::files
