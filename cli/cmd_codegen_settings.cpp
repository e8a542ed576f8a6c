// tarno comments | error-texts: the registered comments and error-handling
// texts in the settings file, changed as the registration windows change them
// and written back as the add-in's disconnection writes them.
#include <iostream>
#include <string>

#include "addin/settings.h"
#include "cli/command_registry.h"
#include "cli/command_run.h"
#include "codegen/frm_err_comment.h"
#include "codegen/registered_comment.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::cli {
namespace {

void Run(int& exit_code, bool save, const std::function<void(SettingsModel&)>& body) {
  RunCommand(exit_code, [&] {
    SettingsModel& s = Settings();
    GetSystemDir(s);
    LoadSettings(s);
    body(s);
    if (save && !SaveSettings(s))
      throw Refused{"cannot write the settings file " + SettingsFilePath(s).string()};
  });
}

// Text from the command line or a file, with CR LF between lines as the
// editor holds it; a file's final line end is not part of the text.
std::u16string EditorText(const std::string& text, const std::string& file) {
  std::u16string raw = file.empty() ? vb::U(text) : tarno::files::ReadTextFile(file);
  std::u16string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == u'\r' && i + 1 < raw.size() && raw[i + 1] == u'\n') continue;
    if (raw[i] == u'\n')
      out += vb::kCrLf;
    else
      out += raw[i];
  }
  if (!file.empty() && out.size() >= 2 && out.compare(out.size() - 2, 2, vb::kCrLf) == 0) out.resize(out.size() - 2);
  return out;
}

void PrintLines(const std::u16string& text, const char* indent) {
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(vb::kCrLf, pos);
    if (end == std::u16string::npos) end = text.size();
    std::cout << indent << vb::ToUtf8(std::u16string_view(text).substr(pos, end - pos)) << "\n";
    pos = end + 2;
  }
}

int SlotIndex(int slot) {
  if (slot < 1 || slot > 10) throw Refused{"comment number " + std::to_string(slot) + ": expected 1 to 10"};
  return slot - 1;
}

void AddComments(CLI::App& app, int& exit_code) {
  auto* comments = app.add_subcommand("comments", "list and change the ten registered comments");
  comments->require_subcommand(1);

  comments->add_subcommand("list", "print the registered comments; * marks the current one")->callback([&exit_code] {
    Run(exit_code, false, [](SettingsModel& s) {
      int current = codegen::CurrentCommentIndex(s);
      for (int i = 0; i < 10; ++i) {
        std::cout << (i == current ? "*" : " ") << (i + 1) << (s.CommentTexts[i].empty() ? " (empty)" : "") << "\n";
        if (!s.CommentTexts[i].empty()) PrintLines(s.CommentTexts[i], "    ");
      }
    });
  });

  struct SetOptions {
    int slot = 0;
    std::string text, file;
  };
  auto set = std::make_shared<SetOptions>();
  auto* setCmd = comments->add_subcommand(
      "set", "register a comment in slot N and make it current (an empty text clears the slot)");
  setCmd->add_option("N", set->slot, "comment number, 1 to 10")->required();
  auto* text = setCmd->add_option("--text", set->text, "the comment text");
  auto* file = setCmd->add_option("--file", set->file, "a text file holding the comment (system code page)");
  text->excludes(file);
  setCmd->callback([set, &exit_code, text, file] {
    Run(exit_code, true, [&](SettingsModel& s) {
      if (text->count() == 0 && file->count() == 0) throw Refused{"give --text T or --file F"};
      int index = SlotIndex(set->slot);
      std::u16string editor = EditorText(set->text, set->file);
      if (vb::Trim(editor).empty()) {
        s.CommentTexts[index].clear();
      } else {
        codegen::StoreComment(s, index, editor);
        s.CurrentCommentNo = index;
      }
    });
  });

  auto useSlot = std::make_shared<int>(0);
  auto* use = comments->add_subcommand("use", "make comment N the one that is inserted");
  use->add_option("N", *useSlot, "comment number, 1 to 10")->required();
  use->callback([useSlot, &exit_code] {
    Run(exit_code, true, [&](SettingsModel& s) { s.CurrentCommentNo = SlotIndex(*useSlot); });
  });

  auto clearSlot = std::make_shared<int>(0);
  auto* clear = comments->add_subcommand("clear", "empty comment N (the current comment stays)");
  clear->add_option("N", *clearSlot, "comment number, 1 to 10")->required();
  clear->callback([clearSlot, &exit_code] {
    Run(exit_code, true, [&](SettingsModel& s) { s.CommentTexts[SlotIndex(*clearSlot)].clear(); });
  });
}

void AddErrorTexts(CLI::App& app, int& exit_code) {
  auto* texts = app.add_subcommand("error-texts", "show and register the error-handling label and footer");
  texts->require_subcommand(1);

  texts->add_subcommand("show", "print the registered label, exit option and footer")->callback([&exit_code] {
    Run(exit_code, false, [](SettingsModel& s) {
      std::cout << "label: " << vb::ToUtf8(s.ErrHeaderLabel) << "\n";
      std::cout << "exit: " << (codegen::ExitFlagCheckValue(s.ErrExitFlag) ? "on" : "off") << "\n";
      std::cout << "footer:\n";
      if (!s.ErrFooterText.empty()) PrintLines(s.ErrFooterText, "    ");
    });
  });

  struct SetOptions {
    std::string label, footer, footerFile, exit;
  };
  auto set = std::make_shared<SetOptions>();
  auto* setCmd = texts->add_subcommand("set", "register the label name, the footer text and the exit option");
  setCmd->add_option("--label", set->label, "the label name")->required();
  auto* footer = setCmd->add_option("--footer", set->footer, "the footer text, without the label line");
  auto* footerFile = setCmd->add_option("--footer-file", set->footerFile, "a text file holding the footer");
  footer->excludes(footerFile);
  setCmd->add_option("--exit", set->exit, "add \"Exit Sub\" (and so on) before the label: on or off")
      ->check(CLI::IsMember({"on", "off"}));
  setCmd->callback([set, &exit_code, footer, footerFile] {
    Run(exit_code, true, [&](SettingsModel& s) {
      if (footer->count() == 0 && footerFile->count() == 0) throw Refused{"give --footer T or --footer-file F"};
      std::u16string label = vb::U(set->label);
      std::u16string text = EditorText(set->footer, set->footerFile);
      // The registration window's checks, in its order.
      if (vb::Trim(label).empty()) throw Refused{"ラベル名を入力してください"};
      if (vb::Trim(text).empty()) throw Refused{"フッタ内容を入力してください"};
      int16_t exitValue = set->exit.empty() ? codegen::ExitFlagCheckValue(s.ErrExitFlag) : set->exit == "on";
      s.ErrHeaderLabel = vb::Trim(label);
      s.ErrFooterText = vb::Trim(text);
      s.ErrExitFlag = vb::FromInt(exitValue);
    });
  });
}

RegisterCommand codegenSettingsCommands([](CLI::App& app, int& exit_code) {
  AddComments(app, exit_code);
  AddErrorTexts(app, exit_code);
});

}  // namespace
}  // namespace tarno::cli
