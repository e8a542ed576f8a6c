// tarno patterns: the code pattern library, with the browser's and the
// editors' checks and messages. Refusals exit 1, file-system failures 2.
#include <iostream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/command_registry.h"
#include "cli/display_name.h"
#include "patterns/pattern_edits.h"
#include "patterns/pattern_store.h"
#include "platform/clipboard.h"
#include "platform/code_page.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

using namespace tarno::patterns;
using json = nlohmann::ordered_json;

struct ActionRefused {
  const char* message;
};

const CodePage& Utf8() {
  static const CodePage cp = CodePage::Named("UTF-8");
  return cp;
}

std::u16string Arg(const std::string& utf8) { return Utf8().Decode(utf8); }
std::string Out(const std::u16string& text) { return Utf8().Encode(text); }

// Code as the editor's box holds it: lines ended by CR LF. A file is in the
// system code page, standard input is UTF-8 text.
std::u16string ReadCode(const std::string& file) {
  std::u16string raw;
  if (file.empty())
    raw = Utf8().Decode(std::string(std::istreambuf_iterator<char>(std::cin), {}));
  else
    raw = tarno::files::ReadTextFile(file);
  std::u16string code;
  code.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == u'\n' && (i == 0 || raw[i - 1] != u'\r')) code += u'\r';
    code += raw[i];
  }
  return code;
}

bool TreeEmpty() { return !PatternRootExists() || ListPatternFolders().empty(); }

// The checks the browser makes before it deletes or copies a pattern.
void RequireExistingPattern(const std::u16string& folder, const std::u16string& file) {
  if (TreeEmpty()) throw ActionRefused{msg::CreateFolderFirst};
  if (file.empty() || file[0] == u'.' || vb::Right(file, 3) != u"Dat") throw ActionRefused{msg::SelectPattern};
  if (!PatternFileExists(folder, file)) throw ActionRefused{msg::FolderMissing};
}

void RequireExistingFolder(const std::u16string& folder) {
  if (TreeEmpty()) throw ActionRefused{msg::CreateFolderFirst};
  if (!PatternFolderExists(folder)) throw ActionRefused{msg::FolderMissing};
}

// As the browser opening for the first time: the root is created when missing.
void EnsureRoot() {
  if (!PatternRootExists()) CreatePatternRoot();
}

void Run(int& exit_code, const std::string& root, const std::function<void()>& body) {
  SetPatternRootOverride(root);
  try {
    body();
    exit_code = 0;
  } catch (const ActionRefused& r) {
    std::cerr << "tarno: " << r.message << "\n";
    exit_code = 1;
  } catch (const PatternRefusal& r) {
    std::cerr << "tarno: " << r.what() << "\n";
    exit_code = 1;
  } catch (const PatternStoreError& e) {
    std::cerr << "tarno: " << Out(vb::Replace(FailureMessage(e), vb::kCrLf, u"\n")) << "\n";
    exit_code = 2;
  } catch (const std::exception& e) {
    std::cerr << "tarno: " << e.what() << "\n";
    exit_code = 2;
  }
  SetPatternRootOverride({});
}

// The list as the browser fills its tree: the folders first, then the files
// of each. A folder that cannot be listed is named on the error output (and
// given an "error" in JSON); the others are listed all the same. Returns
// whether every folder was listed.
bool List(const std::string& format) {
  json tree = json::array();
  std::vector<std::string> failures;
  if (PatternRootExists()) {
    std::vector<std::u16string> folders = ListPatternFolders();
    for (const std::u16string& folder : folders)
      tree.push_back({{"folder", DisplayName(folder)}, {"patterns", json::array()}});
    for (size_t i = 0; i < folders.size(); ++i) {
      try {
        for (const std::u16string& file : ListPatternFiles(folders[i])) tree[i]["patterns"].push_back(DisplayName(file));
      } catch (const PatternStoreError& e) {
        std::u16string failure = FailureMessage(e);
        std::string detail = DisplayName(failure.substr(failure.find(vb::kCrLf) + 2));
        tree[i]["error"] = detail;
        failures.push_back(DisplayName(vb::Replace(failure, vb::kCrLf, u"\n")));
      }
    }
  }
  if (format == "json") {
    std::cout << tree.dump(2) << "\n";
  } else {
    for (const json& folder : tree) {
      std::cout << folder["folder"].get<std::string>() << "\n";
      for (const json& file : folder["patterns"]) std::cout << "  " << file.get<std::string>() << "\n";
    }
  }
  for (const std::string& f : failures) std::cerr << "tarno: " << f << "\n";
  return failures.empty();
}

// The checks and the text of the browser's clipboard button; the text goes
// to the clipboard and to standard output.
void Copy(const std::u16string& folder, const std::u16string& file) {
  RequireExistingPattern(folder, file);
  std::u16string text = ReadPatternFile(folder, file);
  SystemClipboard().Clear();
  SystemClipboard().SetText(text);
  std::cout << Out(text);
}

struct Options {
  std::string root, format = "text", folder, file, name, code_file, old_name, new_name;
};

void InstallPatterns(CLI::App& app, int& exit_code) {
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("patterns", "the code pattern library: folders of .Dat pattern files");
  cmd->require_subcommand(1);
  cmd->fallthrough();
  cmd->add_option("--root", o->root, "the pattern root for this call (default: CodePatrn in the add-in folder)");
  auto run = [o, &exit_code](std::function<void()> body) { return [o, &exit_code, body] { Run(exit_code, o->root, body); }; };

  auto* list = cmd->add_subcommand("list", "the folders and their patterns, as the browser's tree");
  list->add_option("--format", o->format, "text or json")->check(CLI::IsMember({"text", "json"}));
  list->callback([o, &exit_code] {
    bool whole = true;
    Run(exit_code, o->root, [&] { whole = List(o->format); });
    if (exit_code == 0 && !whole) exit_code = 2;  // a folder could not be listed, and was named
  });

  auto* copy = cmd->add_subcommand(
      "copy", "copy pattern FILE of FOLDER as the clipboard button does, and print the text (UTF-8, CR LF)");
  copy->alias("show");
  copy->add_option("FOLDER", o->folder, "the folder name")->required();
  copy->add_option("FILE", o->file, "the pattern's file name, e.g. Sample.Dat")->required();
  copy->callback(run([o] { Copy(Arg(o->folder), Arg(o->file)); }));

  auto* add = cmd->add_subcommand("add", "register a pattern NAME in FOLDER; the code from --file or standard input");
  add->add_option("FOLDER", o->folder, "the folder name")->required();
  add->add_option("NAME", o->name, "the pattern name, without .Dat")->required();
  add->add_option("--file", o->code_file, "a file holding the code (system code page); else UTF-8 standard input");
  add->callback(run([o] {
    if (TreeEmpty()) throw ActionRefused{msg::CreateFolderFirst};
    if (!PatternFolderExists(Arg(o->folder))) throw ActionRefused{msg::FolderMissing};
    std::cout << Out(StorePattern(Arg(o->folder), u"", Arg(o->name), ReadCode(o->code_file))) << "\n";
  }));

  auto* edit = cmd->add_subcommand(
      "edit", "store pattern FILE again under --name (its code from --file, else unchanged); the old file goes");
  edit->add_option("FOLDER", o->folder, "the folder name")->required();
  edit->add_option("FILE", o->file, "the pattern's file name, e.g. Sample.Dat")->required();
  auto* editName = edit->add_option("--name", o->name, "the new pattern name (default: the current one, which is refused as used)");
  auto* editFile = edit->add_option("--file", o->code_file, "a file holding the new code (system code page)");
  edit->callback(run([o, editName, editFile] {
    std::u16string folder = Arg(o->folder), file = Arg(o->file);
    RequireExistingFolder(folder);
    if (file.empty() || file[0] == u'.' || vb::Right(file, 3) != u"Dat") throw ActionRefused{msg::SelectPattern};
    if (!PatternFileExists(folder, file)) throw ActionRefused{msg::PatternGone};
    std::u16string name = editName->count() ? Arg(o->name) : PatternNameOfFile(file);
    std::u16string code = editFile->count() ? ReadCode(o->code_file) : ReadPatternFile(folder, file);
    std::cout << Out(StorePattern(folder, file, name, code)) << "\n";
  }));

  auto* rm = cmd->add_subcommand("rm", "delete pattern FILE of FOLDER");
  rm->add_option("FOLDER", o->folder, "the folder name")->required();
  rm->add_option("FILE", o->file, "the pattern's file name")->required();
  rm->callback(run([o] {
    RequireExistingPattern(Arg(o->folder), Arg(o->file));
    DeletePatternFile(Arg(o->folder), Arg(o->file));
    std::cout << msg::Deleted << "\n";
  }));

  auto* mkdir = cmd->add_subcommand("mkdir", "create a folder (the name is trimmed of spaces)");
  mkdir->add_option("NAME", o->name, "the folder name")->required();
  mkdir->callback(run([o] {
    EnsureRoot();
    std::cout << Out(StoreFolder(u"", Arg(o->name))) << "\n";
  }));

  auto* rename = cmd->add_subcommand("rename", "rename folder OLD to NEW; its patterns move with it");
  rename->add_option("OLD", o->old_name)->required();
  rename->add_option("NEW", o->new_name)->required();
  rename->callback(run([o] {
    RequireExistingFolder(Arg(o->old_name));
    std::cout << Out(StoreFolder(Arg(o->old_name), Arg(o->new_name))) << "\n";
  }));

  auto* rmdir = cmd->add_subcommand("rmdir", "remove an empty folder");
  rmdir->add_option("NAME", o->name, "the folder name")->required();
  rmdir->callback(run([o] {
    RequireExistingFolder(Arg(o->name));
    RemovePatternFolder(Arg(o->name));
    std::cout << msg::Deleted << "\n";
  }));
}

RegisterCommand patternsCommands(InstallPatterns);

}  // namespace
}  // namespace tarno::cli
