// What the control-tool commands share: loading a form file (or a project's
// form), choosing controls by the names the form gives them, and writing
// the changed designer back (or printing a diff).
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_run.h"
#include "host/files/project_loader.h"

namespace tarno::cli::ctl {

using cli::Refused;

struct FormOptions {
  std::string path;
  std::string component;
  std::string encoding;
  bool diff = false;
};

// path, --component, --encoding and --diff.
void AddFormOptions(CLI::App& sub, FormOptions& o);

struct FormTarget {
  host::files::LoadedWorkspace ws;
  std::shared_ptr<host::MemComponent> component;
  std::shared_ptr<host::MemDesigner> designer;
  std::string before;  // the component file's bytes as loaded
  std::string file;    // for messages
};

// Loads the form (.frm, .ctl, ...) or the project's component; refuses a
// component without a designer. The component becomes the IDE's selected one.
// What the load warns of is printed (to the error output).
FormTarget LoadForm(const FormOptions& o);

// Refuses to renumber (TabIndex, Index) a form of which the load left a
// control out: its number would be given twice. Names the control.
void RefuseWhenControlsLeftOut(const FormTarget& t, const std::string& what);

// "Text1" or "Command1(2)", names compared ignoring ASCII case.
std::shared_ptr<host::MemControl> FindControl(const FormTarget& t, const std::string& name);
// A comma-separated list of control names; every name must be on the form, once.
std::vector<std::shared_ptr<host::MemControl>> FindControls(const FormTarget& t, const std::string& list);

// Refuses text the file's code page cannot hold (it would be written as "?").
void CheckEncodable(const FormTarget& t, const std::u16string& text, const std::string& what);

// Writes the changed file in place, or prints the unified diff.
void Finish(FormTarget& t, const FormOptions& o);

// Runs a command body: exit 0, or 1 with the message on a refusal or error.
void Run(int& exit_code, const std::function<void()>& body);

std::vector<std::string> SplitList(const std::string& list);

}  // namespace tarno::cli::ctl
