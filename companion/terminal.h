// The companion programs run from a terminal, until a desktop front end
// shows their windows: the window is loaded and its main button pressed, and
// its messages are printed (completions on the output, warnings on the error
// stream). Questions are asked on the terminal; with `assume_yes` they are
// answered Yes, and without a terminal to ask on they are answered No.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace tarno::companion {

struct Terminal {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive = false;  // `in` is a terminal a user answers on
  bool assume_yes = false;
};

// Each returns the exit status: 0 done, 1 an input refused or a No, 2 a failure.
int RunSetUp(Terminal& terminal);
int RunUnSetUp(Terminal& terminal);
// Without a file the path is asked for (one line read from `in`).
int RunImport(Terminal& terminal, const std::optional<std::string>& file);

}  // namespace tarno::companion
