#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace tarno::win {
namespace {

pid_t Spawn(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (rc != 0) throw ProcessError("cannot start " + program + ": " + std::strerror(rc));
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

int RunProcess(const std::string& program, const std::vector<std::string>& args) {
  return WaitFor(Spawn(program, args));
}

long StartProcess(const std::string& program, const std::vector<std::string>& args) {
  pid_t pid = Spawn(program, args);
  // Nobody waits for it, so reap it in the background to leave no zombie.
  std::thread([pid] { WaitFor(pid); }).detach();
  return static_cast<long>(pid);
}

long Shell(std::string_view commandLine, int windowStyle) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < commandLine.size()) {
    while (i < commandLine.size() && commandLine[i] == ' ') ++i;
    size_t start = i;
    while (i < commandLine.size() && commandLine[i] != ' ') ++i;
    if (i > start) words.emplace_back(commandLine.substr(start, i - start));
  }
  if (words.empty()) throw ProcessError("empty command line");
  std::string program = words.front();
  words.erase(words.begin());
  return StartProcess(program, words);
}

}  // namespace tarno::win
