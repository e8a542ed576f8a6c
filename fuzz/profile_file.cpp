// Any bytes as a profile file: read every key, write one key (or delete it),
// and the file is still a profile file in which every other key reads as it
// did and every other line is still there, in order and byte for byte. A
// write that is refused leaves the file as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "host/files/text_lines.h"
#include "platform/profile.h"

namespace {

using namespace tarno;
using win::GetPrivateProfileStringA;
using win::WritePrivateProfileStringA;

constexpr uint32_t kBig = 1u << 24;

std::vector<std::string> SplitNul(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] != '\0') continue;
    out.push_back(list.substr(start, i - start));
    start = i + 1;
  }
  return out;
}

std::string Trim(std::string s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(0, 1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

std::string Fold(std::string s) {
  for (auto& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
  return s;
}

// (section, key) -> value, first section and first key of a name only.
std::map<std::pair<std::string, std::string>, std::string> AllValues(const std::filesystem::path& file) {
  std::map<std::pair<std::string, std::string>, std::string> out;
  std::string list;
  GetPrivateProfileStringA(nullptr, nullptr, "", list, kBig, file);
  for (const auto& section : SplitNul(list)) {
    std::string keys;
    GetPrivateProfileStringA(section, nullptr, "", keys, kBig, file);
    for (const auto& key : SplitNul(keys)) {
      std::string value;
      GetPrivateProfileStringA(section, key, "", value, kBig, file);
      // Names as the reader matches them: a list entry may carry blanks (a key
      // whose name holds a NUL byte is split in the NUL-separated list).
      out.emplace(std::make_pair(Fold(Trim(section)), Fold(Trim(key))), value);
    }
  }
  return out;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < bytes.size()) {
    size_t j = bytes.find_first_of("\r\n", i);
    if (j == std::string::npos) j = bytes.size();
    out.push_back(bytes.substr(i, j - i));
    i = j + (j + 1 < bytes.size() && bytes[j] == '\r' && bytes[j + 1] == '\n' ? 2 : 1);
  }
  return out;
}

// Every line of `before` but at most `dropped` of them appears in `after`, in
// order (the longest common subsequence; lines may also have been added).
bool KeepsLines(const std::vector<std::string>& before, const std::vector<std::string>& after, size_t dropped) {
  if (before.size() * after.size() > 4000000) return true;  // too big to compare here
  std::vector<size_t> row(after.size() + 1, 0), next(after.size() + 1, 0);
  for (size_t i = 1; i <= before.size(); ++i) {
    for (size_t j = 1; j <= after.size(); ++j)
      next[j] = before[i - 1] == after[j - 1] ? row[j - 1] + 1 : std::max(row[j], next[j - 1]);
    std::swap(row, next);
  }
  return row[after.size()] + dropped >= before.size();
}


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::string section = in.ConsumeRandomLengthString(32);
  std::string key = in.ConsumeRandomLengthString(32);
  std::string value = in.ConsumeRandomLengthString(64);
  bool remove = in.ConsumeIntegralInRange<int>(0, 7) == 0;
  std::string bytes = in.ConsumeRemainingBytesAsString();

  fuzz::ClearScratch();
  auto file = fuzz::WriteScratch("fuzz.ini", bytes);
  auto before = AllValues(file);
  bool written = WritePrivateProfileStringA(section, key, remove ? win::OptText() : win::OptText(value), file);
  std::string after_bytes = host::files::ReadFileBytes(file);
  if (!written) {
    TARNO_FUZZ_CHECK(after_bytes == bytes, "a refused write changed the file");
    return 0;
  }
  auto after = AllValues(file);
  auto written_key = std::make_pair(Fold(Trim(section)), Fold(Trim(key)));
  for (const auto& [name, old_value] : before) {
    if (name == written_key) continue;
    auto it = after.find(name);
    TARNO_FUZZ_CHECK(it != after.end(), "key lost: [" + name.first + "] " + name.second);
    TARNO_FUZZ_CHECK(it->second == old_value, "value changed: [" + name.first + "] " + name.second);
  }
  std::string now;
  GetPrivateProfileStringA(section, key, "\x01", now, kBig, file);
  if (remove) {
    TARNO_FUZZ_CHECK(now == "\x01", "a deleted key still reads");
  } else {
    std::string expected;
    for (char c : value)
      if (c != '\r' && c != '\n') expected += c;
    expected = Trim(expected);
    if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') && expected.back() == expected.front())
      expected = expected.substr(1, expected.size() - 2);
    if (expected.find('\0') == std::string::npos) TARNO_FUZZ_CHECK(now == expected, "the written value reads back as \"" + now + "\"");
  }
  // A write replaces one line; a delete removes every spelling of the key
  // (duplicates included), so any line naming that key may go.
  size_t may_drop = 1;
  if (remove)
    for (const auto& line : Lines(bytes))
      if (size_t eq = line.find('='); eq != std::string::npos && Fold(Trim(line.substr(0, eq))) == written_key.second)
        ++may_drop;
  TARNO_FUZZ_CHECK(KeepsLines(Lines(bytes), Lines(after_bytes), may_drop), "lines other than the key's were lost");
  return 0;
}
