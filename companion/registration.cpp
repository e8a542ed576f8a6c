#include "companion/registration.h"

#include <cstdint>

#include "platform/process.h"
#include "platform/system_dirs.h"

namespace tarno::companion {
namespace {

void ShellHidden(const std::string& commandLine) {
  try {
    win::Shell(commandLine, 0);
  } catch (const win::ProcessError&) {
    // Nobody looks at the registration's result: a command that cannot start
    // is as silent as one that fails.
  }
}

CommandStarter& Starter() {
  static CommandStarter starter = ShellHidden;
  return starter;
}

}  // namespace

int ExitStatus(Outcome outcome) {
  switch (outcome) {
    case Outcome::kDone:
      return 0;
    case Outcome::kRefused:
    case Outcome::kDeclined:
      return 1;
    case Outcome::kNotRun:
    case Outcome::kFailed:
      break;
  }
  return 2;
}

std::filesystem::path AddInsFilePath() {
  if (win::WindowsDirectory().empty()) return {};
  return win::ResolveInWindowsDirectory(kAddInsFile);
}

std::string FindSystemDirectory() {
  constexpr uint32_t kBufferSize = 255;
  std::string buffer(kBufferSize, ' ');
  uint32_t n = win::GetSystemDirectoryA(buffer, kBufferSize);
  // 255 or more is the size a longer folder would need; the buffer holds none of it.
  if (n == 0 || n >= kBufferSize) return {};
  return buffer.substr(0, n);
}

void StartHidden(const std::string& commandLine) {
  CommandStarter starter = Starter();  // a copy: the starter may replace itself
  starter(commandLine);
}

void SetCommandStarter(CommandStarter starter) { Starter() = starter ? std::move(starter) : ShellHidden; }

}  // namespace tarno::companion
