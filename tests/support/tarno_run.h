// Runs the tarno program built with the tests, as a user would from a shell.
// Header-only: TARNO_EXE is given to each test binary, not to the support
// library.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace tarno::test {

struct TarnoRun {
  int status = -1;  // the exit status; -1 when the program did not exit
  std::string out;  // standard output
  std::string err;  // error output
};

// A word for the shell, in single quotes.
inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// `args` are shell words after the program's name; `dir` is the working
// folder (empty: this process's); `env` is put before the program
// ("NAME='value' ..."). The outputs go through "stdout.txt" and "stderr.txt"
// in `outputs`, which keeps them; without it, through a folder of their own.
inline TarnoRun RunTarno(const std::string& args, const std::filesystem::path& dir = {},
                         const std::string& env = {}, const std::filesystem::path& outputs = {}) {
  namespace fs = std::filesystem;
  fs::path outDir = outputs;
  if (outDir.empty()) {
    std::string pattern = (fs::temp_directory_path() / "tarno-run-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder for the output");
    outDir = pattern;
  }
  const fs::path out = outDir / "stdout.txt", err = outDir / "stderr.txt";
  std::string cmd;
  if (!dir.empty()) cmd += "cd " + ShellQuote(dir.string()) + " && ";
  if (!env.empty()) cmd += env + " ";
  cmd += ShellQuote(TARNO_EXE) + " " + args + " >" + ShellQuote(out.string()) + " 2>" + ShellQuote(err.string());
  const int rc = std::system(cmd.c_str());
  auto read = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  };
  TarnoRun r;
  r.status = rc != -1 && WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = read(out);
  r.err = read(err);
  std::error_code ec;
  if (outputs.empty()) fs::remove_all(outDir, ec);
  return r;
}

}  // namespace tarno::test
