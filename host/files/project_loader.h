// Loading VB 6 projects from disk into the in-memory host, and saving them.
//
//   auto ws = files::LoadPath("App.vbp", CodePage::Cp932());
//   ... tools work on ws.vbe ...
//   files::Save(ws);  // writes only what changed
//
// A load either succeeds or throws ProjectFileError before anything is
// written; what VB 6 itself would load past is reported in `warnings`. A
// component whose file is missing or cannot be read is one of those: it is
// left out, and its line stays in the project file.
//
// Line ends written: a file keeps the line ends it had. Unchanged lines are
// written with their own bytes and line end; new lines take the file's
// dominant line end (CR LF unless most lines end in LF), so an LF-only file
// stays LF-only and a diff of it shows only the edit. New files get CR LF.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/component_store.h"
#include "host/files/file_error.h"
#include "host/mem_host.h"
#include "platform/code_page.h"

namespace tarno::host::files {

struct LoadOptions {
  CodePage code_page = SystemCodePage();
  // Threads that read and decode a project's files (0: one per core).
  int jobs = 0;
};

struct LoadedWorkspace {
  std::shared_ptr<MemVBE> vbe;
  std::vector<std::shared_ptr<MemProject>> projects;  // in the order of the group, or the one project
  std::filesystem::path path;                         // what was opened
  bool group = false;                                 // a .vbg
  Warnings warnings;
};

// A .vbg (every project it lists, in order), a .vbp, or a single component
// file (a project of one component named after the file).
LoadedWorkspace LoadPath(const std::filesystem::path& path, const LoadOptions& options);
LoadedWorkspace LoadPath(const std::filesystem::path& path, const CodePage& code_page);

// Saves every component whose content changed and every project that is not
// saved (new components get a file beside the project and a .vbp line).
// Returns the files written.
std::vector<std::filesystem::path> Save(LoadedWorkspace& workspace);

// The bytes a component would be written as (whether changed or not).
std::string RenderComponent(MemComponent& component);
// The bytes a component that has no file yet would be written as at
// `target`, and the bytes of its new binary file (empty when it needs none).
std::string RenderNewComponent(MemComponent& component, const std::filesystem::path& target, std::string& sidecar);
// The bytes of the project file, with lines for components that have a file
// but no line yet (a component never saved has no line).
std::string RenderProject(MemProject& project);

// The store the loaded VBE saves through (SaveAs of projects and components).
class FileStore : public ComponentStore {
 public:
  explicit FileStore(CodePage code_page) : code_page_(std::move(code_page)) {}
  void SaveProject(MemProject& project, const std::u16string& path) override;
  void SaveComponent(MemComponent& component, const std::u16string& path) override;
  std::vector<std::u16string> AddedReferences(MemProject& project) override;
  const CodePage& code_page() const { return code_page_; }

 private:
  CodePage code_page_;
};

// File paths of the host (UTF-16) and of the file system.
std::filesystem::path ToPath(const std::u16string& s);
std::u16string FromPath(const std::filesystem::path& p);

}  // namespace tarno::host::files
