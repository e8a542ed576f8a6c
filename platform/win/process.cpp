// Starting other programs with CreateProcessW. The program is looked up as
// Windows looks it up (its folder, the current one, the system folders, PATH;
// ".exe" added when the name has no extension).
#include <windows.h>

#include "platform/code_page.h"
#include "platform/process.h"

namespace tarno::win {
namespace {

std::wstring Wide(const std::string& bytes) {
  std::u16string u = SystemCodePage().Decode(bytes);
  return std::wstring(u.begin(), u.end());
}

// One argument quoted as the C runtime's argument parser reads it back.
std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
    } else if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
      backslashes = 0;
    } else {
      backslashes = 0;
    }
    out.push_back(c);
  }
  out.append(backslashes, L'\\');  // doubled before the closing quote
  return out + L"\"";
}

// windowStyle is VB's (0 hidden, 1 normal, ...), the SW_ value of the same number.
PROCESS_INFORMATION Start(const std::string& program, const std::vector<std::string>& args, int windowStyle = 1) {
  std::wstring line = Quote(Wide(program));
  for (const auto& a : args) line += L" " + Quote(Wide(a));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    throw ProcessError("cannot start " + program + ": error " + std::to_string(GetLastError()));
  CloseHandle(pi.hThread);
  return pi;
}

}  // namespace

int RunProcess(const std::string& program, const std::vector<std::string>& args) {
  PROCESS_INFORMATION pi = Start(program, args);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(pi.hProcess, &code))
    code = static_cast<DWORD>(-1);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

long StartProcess(const std::string& program, const std::vector<std::string>& args) {
  PROCESS_INFORMATION pi = Start(program, args);
  CloseHandle(pi.hProcess);  // Windows keeps no zombie: nothing to reap
  return static_cast<long>(pi.dwProcessId);
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
  PROCESS_INFORMATION pi = Start(program, words, windowStyle);
  CloseHandle(pi.hProcess);
  return static_cast<long>(pi.dwProcessId);
}

}  // namespace tarno::win
