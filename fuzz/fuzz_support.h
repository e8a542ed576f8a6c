// Shared by the fuzz targets: a scratch folder per process, writing an input
// to a file in it, and a check that stops the run with a message.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace tarno::fuzz {

// A module body's lines, ended by CR LF, a lone CR or a lone LF.
inline std::vector<std::u16string> BodyLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t j = text.find_first_of(u"\r\n", i);
    if (j == std::u16string_view::npos) j = text.size();
    lines.emplace_back(text.substr(i, j - i));
    i = j + (j + 1 < text.size() && text[j] == u'\r' && text[j + 1] == u'\n' ? 2 : 1);
  }
  return lines;
}

// A folder of this process, emptied by the caller as it likes; removed at exit.
inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    std::filesystem::path d = std::filesystem::temp_directory_path() / ("tarno_fuzz_" + std::to_string(getpid()));
    std::filesystem::remove_all(d);
    std::filesystem::create_directories(d);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchDir(), ec);
    });
    return d;
  }();
  return dir;
}

// Empties the scratch folder (folders a previous input made read-only included).
inline void ClearScratch() {
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(ScratchDir(), ec)) std::filesystem::remove_all(e.path(), ec);
}

inline std::filesystem::path WriteScratch(const std::string& name, std::string_view bytes) {
  std::filesystem::path p = ScratchDir() / name;
  std::ofstream(p, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  return p;
}

[[noreturn]] inline void Fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "fuzz check failed: %s %s\n", what, detail.c_str());
  std::abort();
}

#define TARNO_FUZZ_CHECK(cond, detail) \
  do {                                 \
    if (!(cond)) ::tarno::fuzz::Fail(#cond, detail); \
  } while (0)

}  // namespace tarno::fuzz
