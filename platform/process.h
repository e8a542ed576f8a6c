// Starting other programs (posix_spawn; the program is looked up in PATH).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarno::win {

class ProcessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Starts the program and waits for it; returns its exit code (128 + signal
// number when it was killed). Throws ProcessError when it cannot be started.
int RunProcess(const std::string& program, const std::vector<std::string>& args);

// Starts the program without waiting (it is reaped in the background) and
// returns its process id. Throws ProcessError when it cannot be started.
long StartProcess(const std::string& program, const std::vector<std::string>& args);

// VB's Shell: the command line is split at spaces into program and arguments
// and started without waiting. The window style is accepted for the callers'
// sake; there are no windows to hide.
long Shell(std::string_view commandLine, int windowStyle = 0);

}  // namespace tarno::win
