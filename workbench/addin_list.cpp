#include "workbench/addin_list.h"

#include <charconv>

#include "platform/profile.h"

namespace tarno::workbench {

bool AddInEntry::LoadAtStart() const {
  size_t b = value.find_first_not_of(' ');
  if (b == std::string::npos) return false;
  long n = 0;
  auto [end, ec] = std::from_chars(value.data() + b, value.data() + value.size(), n);
  return ec == std::errc() && n % 2 != 0;
}

std::vector<AddInEntry> ReadAddInList() {
  std::string keys;
  win::GetPrivateProfileStringA(kAddInSection, nullptr, "", keys, 32767, kAddInFile);
  std::vector<AddInEntry> entries;
  size_t at = 0;
  while (at < keys.size()) {
    size_t end = keys.find('\0', at);
    if (end == std::string::npos) end = keys.size();
    if (end > at) {
      AddInEntry e;
      e.progId = keys.substr(at, end - at);
      win::GetPrivateProfileStringA(kAddInSection, e.progId, "", e.value, 256, kAddInFile);
      entries.push_back(std::move(e));
    }
    at = end + 1;
  }
  return entries;
}

bool SetLoadAtStart(const std::string& progId, bool loadAtStart) {
  return win::WritePrivateProfileStringA(kAddInSection, progId, loadAtStart ? "1" : "0", kAddInFile);
}

}  // namespace tarno::workbench
