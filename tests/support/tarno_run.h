// Runs the tarno program built with the tests, as a user would from a shell.
// Header-only: TARNO_EXE is given to each test binary, not to the support
// library.
#pragma once

#include <stdlib.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

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

#ifdef _WIN32
// Windows has no POSIX shell: the words are split here as sh splits them
// (blanks, '...', "..." and backslashes), and the program is started directly.
inline std::vector<std::string> ShellWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(word), word.clear(), inWord = false;
    } else if (c == '\'') {
      inWord = true;
      size_t end = line.find('\'', i + 1);
      if (end == std::string::npos) end = line.size();
      word += line.substr(i + 1, end - i - 1);
      i = end;
    } else if (c == '"') {
      inWord = true;
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && std::string("\"\\$`").find(line[i + 1]) != std::string::npos) ++i;
        word += line[i];
      }
    } else if (c == '\\' && i + 1 < line.size()) {
      inWord = true;
      word += line[++i];
    } else {
      inWord = true;
      word += c;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

inline std::wstring WideOfUtf8(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

// One argument as the C runtime's parser reads it back.
inline std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
    } else {
      if (c == L'"') out.append(backslashes + 1, L'\\');
      backslashes = 0;
    }
    out.push_back(c);
  }
  out.append(backslashes, L'\\');
  return out + L"\"";
}

// Runs `exe` with shell words `args` in `dir` with the "NAME=value" words of
// `env` added to the environment; returns the exit code, -1 when it did not start.
inline int RunWindowsProgram(const std::string& exe, const std::string& args, const std::filesystem::path& dir,
                             const std::string& env, const std::filesystem::path& out,
                             const std::filesystem::path& err) {
  std::wstring line = QuoteArgument(WideOfUtf8(exe));
  for (const auto& w : ShellWords(args)) line += L" " + QuoteArgument(WideOfUtf8(w));
  // The environment block: this process's, with the given names replaced.
  std::vector<std::wstring> vars;
  std::vector<std::wstring> names;
  for (const auto& w : ShellWords(env)) {
    std::wstring v = WideOfUtf8(w);
    vars.push_back(v);
    names.push_back(v.substr(0, v.find(L'=') + 1));
  }
  wchar_t* current = GetEnvironmentStringsW();
  for (const wchar_t* p = current; *p; p += wcslen(p) + 1) {
    std::wstring v = p;
    bool replaced = false;
    for (const auto& n : names) replaced = replaced || _wcsnicmp(v.c_str(), n.c_str(), n.size()) == 0;
    if (!replaced) vars.push_back(v);
  }
  FreeEnvironmentStringsW(current);
  std::wstring block;
  for (const auto& v : vars) block += v + L'\0';
  block += L'\0';

  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE hOut = CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  HANDLE hErr = CreateFileW(err.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
  HANDLE hIn = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = hIn;
  si.hStdOutput = hOut;
  si.hStdError = hErr;
  PROCESS_INFORMATION pi{};
  std::wstring cwd = dir.empty() ? std::wstring() : dir.wstring();
  BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                                block.data(), cwd.empty() ? nullptr : cwd.c_str(), &si, &pi);
  int code = -1;
  if (started) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD exitCode = 0;
    if (GetExitCodeProcess(pi.hProcess, &exitCode)) code = static_cast<int>(exitCode);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  CloseHandle(hOut);
  CloseHandle(hErr);
  CloseHandle(hIn);
  return code;
}
#endif

// Runs `program` as RunTarno runs tarno (on Windows with no input).
inline TarnoRun RunProgram(const std::string& program, const std::string& args, const std::filesystem::path& dir = {},
                           const std::string& env = {}, const std::filesystem::path& outputs = {}) {
  namespace fs = std::filesystem;
  fs::path outDir = outputs;
  if (outDir.empty()) {
#ifdef _WIN32
    static unsigned counter = 0;
    outDir = fs::temp_directory_path() /
             ("tarno-run-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
    std::error_code made;
    if (!fs::create_directories(outDir, made)) throw std::runtime_error("cannot make a folder for the output");
#else
    std::string pattern = (fs::temp_directory_path() / "tarno-run-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder for the output");
    outDir = pattern;
#endif
  }
  const fs::path out = outDir / "stdout.txt", err = outDir / "stderr.txt";
  auto read = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  };
  TarnoRun r;
#ifdef _WIN32
  r.status = RunWindowsProgram(program, args, dir, env, out, err);
#else
  std::string cmd;
  if (!dir.empty()) cmd += "cd " + ShellQuote(dir.string()) + " && ";
  if (!env.empty()) cmd += env + " ";
  cmd += ShellQuote(program) + " " + args + " >" + ShellQuote(out.string()) + " 2>" + ShellQuote(err.string());
  const int rc = std::system(cmd.c_str());
  r.status = rc != -1 && WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
#endif
  r.out = read(out);
  r.err = read(err);
  std::error_code ec;
  if (outputs.empty()) fs::remove_all(outDir, ec);
  return r;
}

// `args` are shell words after the program's name; `dir` is the working
// folder (empty: this process's); `env` is put before the program
// ("NAME='value' ..."). The outputs go through "stdout.txt" and "stderr.txt"
// in `outputs`, which keeps them; without it, through a folder of their own.
inline TarnoRun RunTarno(const std::string& args, const std::filesystem::path& dir = {},
                         const std::string& env = {}, const std::filesystem::path& outputs = {}) {
  return RunProgram(TARNO_EXE, args, dir, env, outputs);
}

}  // namespace tarno::test
