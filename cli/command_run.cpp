#include "cli/command_run.h"

#include <exception>
#include <iostream>

namespace tarno::cli {

void RunCommand(int& exit_code, const std::function<void()>& body, const std::string& prefix) {
  try {
    body();
    exit_code = 0;
  } catch (const Refused& e) {
    std::cerr << prefix << ": " << e.message << "\n";
    exit_code = 1;
  } catch (const std::exception& e) {
    std::cerr << prefix << ": " << e.what() << "\n";
    exit_code = 1;
  }
}

}  // namespace tarno::cli
