// tarno comment | uncomment | insert | comment-out | error-handling: the code
// generators run on files. Each command loads the file or project, runs the
// same generator as the add-in on the in-memory host, then saves the changed
// file in place, or with --diff prints a unified diff and writes nothing.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "addin/settings.h"
#include "cli/command_registry.h"
#include "cli/display_lines.h"
#include "codegen/bulk_comment.h"
#include "codegen/bulk_error.h"
#include "codegen/comment_block.h"
#include "codegen/error_block.h"
#include "codegen/file_lines.h"
#include "codegen/procedure_list.h"
#include "codegen/registered_comment.h"
#include "codegen/unified_diff.h"
#include "cli/command_run.h"
#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

namespace fs = std::filesystem;
namespace files = host::files;


struct Common {
  std::string path;
  std::string encoding;
  bool diff = false;
};

void AddCommon(CLI::App& sub, Common& c, const char* pathHelp) {
  sub.add_option("path", c.path, pathHelp)->required();
  sub.add_option("--encoding", c.encoding, "code page of the files (default: the system code page, CP932)");
  sub.add_flag("--diff", c.diff, "print a unified diff and write nothing");
}

// A hidden member attribute line of the component and its file line.
struct HiddenLine {
  std::u16string text;
  size_t fileLine = 0;
};

// The loaded files and the component that the command edits.
struct Target {
  files::LoadedWorkspace ws;
  std::shared_ptr<host::MemComponent> component;
  std::string before;               // the component file's bytes as loaded
  std::vector<HiddenLine> hidden;  // its hidden lines as loaded
};

std::vector<HiddenLine> HiddenLines(host::MemComponent& component) {
  std::vector<HiddenLine> out;
  auto* state = files::StateOf(component);
  size_t header = state && state->file ? state->file->header_end() : 0;
  auto physical = component.code()->text().PhysicalLines();
  for (size_t i = 0; i < physical.size(); ++i)
    if (physical[i].hidden) out.push_back({physical[i].text, header + i + 1});
  return out;
}

// Commenting out a declaration drops its member's attribute lines, as the IDE
// does; "Attribute Item.VB_UserMemId = 0" makes a member the class's default,
// so losing one changes what the program does. Each is named on the error
// output with the file line it stood on.
void ReportDroppedHiddenLines(const Target& t) {
  std::vector<HiddenLine> after = HiddenLines(*t.component);
  std::vector<bool> kept(after.size(), false);
  const std::string file = files::StateOf(*t.component)->path.string();
  for (const auto& h : t.hidden) {
    auto it = std::find_if(after.begin(), after.end(), [&](const HiddenLine& a) {
      return !kept[size_t(&a - after.data())] && a.text == h.text;
    });
    if (it != after.end()) {
      kept[size_t(it - after.begin())] = true;
      continue;
    }
    std::cerr << "tarno: warning: " << file << ":" << h.fileLine << ": the hidden attribute line \""
              << vb::ToUtf8(h.text) << "\" is dropped with the line it followed\n";
  }
}

bool IsProjectPath(const fs::path& p) {
  std::string ext = p.extension().string();
  for (auto& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return ext == ".vbp" || ext == ".vbg";
}

Target Load(const Common& c, const std::string& module, bool projectAllowed) {
  fs::path path(c.path);
  CodePage cp = c.encoding.empty() ? SystemCodePage() : CodePage::Named(c.encoding);
  bool project = IsProjectPath(path);
  if (project && !projectAllowed) throw Refused{c.path + ": expects a component file (.bas, .cls, .frm, ...)"};
  Target t{files::LoadPath(path, cp), nullptr, "", {}};
  if (project) {
    if (module.empty()) throw Refused{c.path + ": --module is required for a project"};
    for (const auto& p : t.ws.projects) {
      if ((t.component = p->Component(vb::U(module)))) break;
    }
    if (!t.component) throw Refused{c.path + ": no module named \"" + module + "\""};
  } else {
    if (t.ws.projects.empty() || t.ws.projects[0]->components().empty()) throw Refused{c.path + ": nothing loaded"};
    t.component = t.ws.projects[0]->components()[0];
    if (!module.empty() && !vb::EqualsIgnoreCaseAscii(t.component->name(), vb::U(module)))
      throw Refused{c.path + ": the file holds module \"" + vb::ToUtf8(t.component->name()) + "\", not \"" +
                    module + "\""};
  }
  auto* state = files::StateOf(*t.component);
  if (!t.component->code() || !state || !state->file)
    throw Refused{c.path + ": module \"" + vb::ToUtf8(t.component->name()) + "\" has no code"};
  t.before = tarno::files::ReadAllBytes(state->path);
  t.hidden = HiddenLines(*t.component);
  return t;
}

// Text the file's code page cannot hold would be written as "?": refuse
// instead (the standard footer is Japanese; a CP1252 file cannot take it).
void CheckEncodable(Target& t) {
  auto* state = files::StateOf(*t.component);
  auto module = t.component->CodeModule();
  const int count = module->CountOfLines();
  for (int line = 1; line <= count; ++line) {
    std::u16string text = module->Lines(line, 1);
    if (state->code_page.Decode(state->code_page.Encode(text)) != text) {
      throw Refused{state->path.string() + ":" + std::to_string(codegen::FileLineOfCodeLine(*t.component, line)) +
                    ": the new text holds characters that code page " + state->code_page.name() +
                    " cannot hold; nothing written (choose the file's code page with --encoding)"};
    }
  }
}

// Saves the edit, or prints it as a diff.
void Finish(Target& t, const Common& c) {
  auto* state = files::StateOf(*t.component);
  CheckEncodable(t);
  ReportDroppedHiddenLines(t);
  std::string after = files::RenderComponent(*t.component);
  if (after == t.before) {
    std::cout << state->path.string() << ": no change\n";
    return;
  }
  if (c.diff) {
    std::string name = state->path.string();
    std::cout << codegen::UnifiedDiff(DisplayLines(state->code_page, t.before), DisplayLines(state->code_page, after),
                                      "a/" + name, "b/" + name);
    return;
  }
  for (const auto& written : files::Save(t.ws)) std::cout << "wrote " << written.string() << "\n";
}

// "A" or "A:B" with 1 <= A <= B.
std::pair<int, int> ParseLines(const std::string& text) {
  auto number = [&](const std::string& s) {
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos || s.size() > 9)
      throw Refused{"--lines " + text + ": expected A or A:B, line numbers from 1"};
    return std::stoi(s);
  };
  size_t colon = text.find(':');
  int a = number(text.substr(0, colon));
  int b = colon == std::string::npos ? a : number(text.substr(colon + 1));
  if (a < 1 || b < a) throw Refused{"--lines " + text + ": expected A or A:B with 1 <= A <= B"};
  return {a, b};
}

int KindOf(const std::string& kind) {
  if (kind == "get") return ide::ProcKind::Get;
  if (kind == "let") return ide::ProcKind::Let;
  return ide::ProcKind::Set;
}

// The listed row of the procedure: by its kind, or the first kind in the
// order procedure, Get, Let, Set.
codegen::ProcedureRow FindRow(const std::vector<codegen::ProcedureRow>& rows, const Target& t,
                              const std::string& name, const std::string& kind) {
  std::vector<int> kinds = kind.empty() ? std::vector<int>{ide::ProcKind::Proc, ide::ProcKind::Get,
                                                           ide::ProcKind::Let, ide::ProcKind::Set}
                                        : std::vector<int>{KindOf(kind)};
  for (int k : kinds)
    for (const auto& row : rows)
      if (row.Kind == k && vb::EqualsIgnoreCaseAscii(row.Name, vb::U(name))) return row;
  throw Refused{files::StateOf(*t.component)->path.string() + ": module \"" + vb::ToUtf8(t.component->name()) +
                "\" has no procedure \"" + name + "\"" + (kind.empty() ? "" : " with a Property " + kind) +
                " below its declarations"};
}

void Run(int& exit_code, const std::function<void()>& body) { RunCommand(exit_code, body); }

void LoadSettingsFile() {
  SettingsModel& s = Settings();
  GetSystemDir(s);
  LoadSettings(s);
}

struct SelectionOptions {
  Common common;
  std::string lines;
};

void AddSelectionCommand(CLI::App& app, int& exit_code, const char* name, const char* help, bool comment) {
  auto opts = std::make_shared<SelectionOptions>();
  auto* sub = app.add_subcommand(name, help);
  AddCommon(*sub, opts->common, "component file (.bas, .cls, .frm, ...)");
  sub->add_option("--lines", opts->lines, "file lines A or A:B, as an editor numbers them")->required();
  sub->callback([opts, &exit_code, comment] {
    Run(exit_code, [&] {
      auto [a, b] = ParseLines(opts->lines);
      Target t = Load(opts->common, "", false);
      int first = codegen::CodeLineOfFileLine(*t.component, a);
      int last = codegen::CodeLineOfFileLine(*t.component, b);
      t.ws.vbe->ShowCode(t.component, first, 1, last, 1);
      if (comment)
        codegen::CommentSelection(*t.ws.vbe);
      else
        codegen::UncommentSelection(*t.ws.vbe);
      Finish(t, opts->common);
    });
  });
}

struct InsertOptions {
  Common common;
  std::string what;
  int line = 0;
};

void AddInsertCommand(CLI::App& app, int& exit_code) {
  auto opts = std::make_shared<InsertOptions>();
  auto* sub = app.add_subcommand("insert", "insert the error header, the error footer or the current registered "
                                           "comment above a line");
  sub->add_option("what", opts->what, "error-header, error-footer or comment")
      ->required()
      ->check(CLI::IsMember({"error-header", "error-footer", "comment"}));
  AddCommon(*sub, opts->common, "component file (.bas, .cls, .frm, ...)");
  sub->add_option("--line", opts->line, "file line to insert above (the line after the last appends)")->required();
  sub->callback([opts, &exit_code] {
    Run(exit_code, [&] {
      Target t = Load(opts->common, "", false);
      int line = codegen::CodeLineOfFileLine(*t.component, opts->line, true);
      t.ws.vbe->ShowCode(t.component, line, 1, line, 1);
      if (opts->what == "error-header") {
        codegen::InsertErrorHeader(*t.ws.vbe);
      } else if (opts->what == "error-footer") {
        codegen::InsertErrorFooter(*t.ws.vbe);
      } else {
        LoadSettingsFile();
        if (codegen::InsertRegisteredCommentText(*t.ws.vbe, Settings()) == codegen::InsertCommentResult::NoComment)
          throw Refused{vb::ToUtf8(vb::U("コメントが入力されていません"))};
      }
      Finish(t, opts->common);
    });
  });
}

struct BulkOptions {
  Common common;
  std::string module, procedure, kind;
  bool all = false;
  bool registered = false;
};

void AddBulkCommand(CLI::App& app, int& exit_code, bool errorHandling) {
  auto opts = std::make_shared<BulkOptions>();
  auto* sub = errorHandling
                  ? app.add_subcommand("error-handling", "insert error handling into a procedure or every procedure "
                                                         "of a module")
                  : app.add_subcommand("comment-out", "comment out a procedure, or every line below the "
                                                      "declarations of a module");
  AddCommon(*sub, opts->common, "project (.vbp, .vbg) or component file");
  sub->add_option("--module", opts->module, "the module (required for a project)");
  auto* procedure = sub->add_option("--procedure", opts->procedure, "the procedure's name");
  sub->add_option("--kind", opts->kind, "the property accessor: get, let or set")
      ->check(CLI::IsMember({"get", "let", "set"}))
      ->needs(procedure);
  auto* all = sub->add_flag("--all", opts->all,
                            errorHandling ? "every listed procedure of the module" : "every line below the declarations");
  procedure->excludes(all);
  if (errorHandling) sub->add_flag("--registered", opts->registered, "the registered label and footer texts");
  sub->callback([opts, &exit_code, errorHandling] {
    Run(exit_code, [&] {
      if (opts->procedure.empty() && !opts->all) throw Refused{"give --procedure NAME or --all"};
      Target t = Load(opts->common, opts->module, true);
      auto module = t.component->CodeModule();
      auto rows = codegen::ListProcedures(*module);
      if (rows.empty()) throw Refused{vb::ToUtf8(vb::U("プロシージャが存在しませんので実行できません"))};
      codegen::ErrorHandlingTexts texts = codegen::StandardErrorTexts();
      if (opts->registered) {
        LoadSettingsFile();
        const SettingsModel& s = Settings();
        if (vb::Trim(s.ErrHeaderLabel).empty() || vb::Trim(s.ErrFooterText).empty())
          throw Refused{vb::ToUtf8(vb::U("エラーヘッダフッタ情報が存在しませんので実行できません"))};
        texts = codegen::RegisteredErrorTexts(s.ErrHeaderLabel, s.ErrFooterText, s.ErrExitFlag);
      }
      if (!errorHandling) {
        if (opts->all)
          codegen::CommentOutBelowDeclarations(*module);
        else {
          auto row = FindRow(rows, t, opts->procedure, opts->kind);
          codegen::CommentOutProcedure(*module, row.Name, row.Kind, row.StartLine);
        }
      } else if (opts->all) {
        for (const auto& row : rows) codegen::InsertErrorHandling(*module, row.Name, row.Kind, texts);
      } else {
        auto row = FindRow(rows, t, opts->procedure, opts->kind);
        codegen::InsertErrorHandling(*module, row.Name, row.Kind, texts);
      }
      Finish(t, opts->common);
    });
  });
}

RegisterCommand codegenCommands([](CLI::App& app, int& exit_code) {
  AddSelectionCommand(app, exit_code, "comment", "comment out lines of a component file", true);
  AddSelectionCommand(app, exit_code, "uncomment", "remove the first apostrophe of lines of a component file", false);
  AddInsertCommand(app, exit_code);
  AddBulkCommand(app, exit_code, false);
  AddBulkCommand(app, exit_code, true);
});

}  // namespace
}  // namespace tarno::cli
