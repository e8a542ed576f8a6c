#include "companion/terminal.h"

#include <istream>
#include <memory>
#include <ostream>

#include "companion/frm_set_up.h"
#include "companion/frm_torikomi.h"
#include "companion/frm_un_inst.h"
#include "companion/settings_import.h"
#include "platform/vb_text.h"

namespace tarno::companion {
namespace {

class TerminalMessageBoxes : public ui::MessageBoxService {
 public:
  explicit TerminalMessageBoxes(Terminal& t) : t_(t) {}

  int Show(const std::u16string& prompt, int buttons, const std::u16string& title) override {
    std::string text = vb::ToUtf8(vb::Replace(prompt, vb::kCrLf, u"\n"));
    if ((buttons & 0x0F) != ui::vbYesNo) {
      int icon = buttons & 0xF0;
      bool warning = icon == ui::vbExclamation || icon == ui::vbCritical;
      (warning ? t_.err : t_.out) << text << "\n";
      return ui::DefaultAnswer(buttons);
    }
    t_.out << text << " [y/N] ";
    if (t_.assume_yes) {
      t_.out << "y\n";
      return ui::vbYes;
    }
    if (!t_.interactive) {
      t_.out << "n\n";
      return ui::vbNo;
    }
    t_.out.flush();
    std::string line;
    std::getline(t_.in, line);
    bool yes = line == "y" || line == "Y" || line == "yes" || line == "Yes" || line == "YES";
    return yes ? ui::vbYes : ui::vbNo;
  }

 private:
  Terminal& t_;
};

// Installs the terminal's message boxes while a program runs.
class MessagesOnTerminal {
 public:
  explicit MessagesOnTerminal(Terminal& t) { ui::SetMessageBoxService(std::make_shared<TerminalMessageBoxes>(t)); }
  ~MessagesOnTerminal() { ui::SetMessageBoxService(nullptr); }
  MessagesOnTerminal(const MessagesOnTerminal&) = delete;
  MessagesOnTerminal& operator=(const MessagesOnTerminal&) = delete;
};

// Shows the window, presses its button, closes it; a failure that escapes
// the handler counts as a failure.
template <class F, class Press>
int RunWindow(Terminal& t, F& form, Press press) {
  MessagesOnTerminal messages(t);
  Outcome outcome = Outcome::kFailed;
  try {
    form.Show();
    press(form);
    outcome = form.LastOutcome();
  } catch (const std::exception& e) {
    t.err << e.what() << "\n";
  }
  form.Unload();
  return ExitStatus(outcome);
}

}  // namespace

int RunSetUp(Terminal& terminal) {
  frmSetUp form;
  return RunWindow(terminal, form, [](frmSetUp& f) { ui::Click(f.Command2); });
}

int RunUnSetUp(Terminal& terminal) {
  frmUnInst form;
  return RunWindow(terminal, form, [](frmUnInst& f) { ui::Click(f.Command2); });
}

int RunImport(Terminal& terminal, const std::optional<std::string>& file) {
  frmTorikomi form;
  return RunWindow(terminal, form, [&](frmTorikomi& f) {
    std::string path;
    if (file) {
      path = *file;
    } else {
      if (terminal.interactive) terminal.out << vb::ToUtf8(f.Text1.ToolTipText()) << ": " << std::flush;
      std::getline(terminal.in, path);
      if (!path.empty() && path.back() == '\r') path.pop_back();
    }
    f.Text1.SetText(TextOfPath(path));  // the bytes as given, never re-decoded
    ui::Click(f.Command1);
  });
}

}  // namespace tarno::companion
