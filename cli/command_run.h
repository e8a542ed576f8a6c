// How a command ends: a body that is refused or fails prints one line on the
// error output and sets the exit status.
#pragma once

#include <functional>
#include <string>

namespace tarno::cli {

// A refusal or bad input: the message is printed and the command exits 1.
struct Refused {
  std::string message;
};

// Runs a command body: exit 0, or 1 with "PREFIX: message" on the error
// output when it throws Refused or any other exception.
void RunCommand(int& exit_code, const std::function<void()>& body, const std::string& prefix = "tarno");

}  // namespace tarno::cli
