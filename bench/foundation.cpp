// Throughput of the code page conversion over the corpus sources, and the
// time of a settings save and load with many style patterns.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "addin/settings.h"
#include "platform/code_page.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

static double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

int main() {
  using namespace tarno;
  std::vector<std::string> sources;
  size_t total = 0;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(TARNO_CORPUS_DIR, ec); it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    auto ext = it->path().extension().string();
    if (ext == ".bas" || ext == ".cls" || ext == ".frm" || ext == ".ctl") {
      sources.push_back(files::ReadAllBytes(it->path()));
      total += sources.back().size();
    }
  }
  CodePage cp = CodePage::Cp932();
  auto t0 = Clock::now();
  std::vector<std::u16string> decoded;
  for (const auto& s : sources) decoded.push_back(cp.Decode(s));
  double dec = Seconds(t0);
  t0 = Clock::now();
  size_t same = 0;
  for (size_t i = 0; i < decoded.size(); ++i) same += cp.Encode(decoded[i]) == sources[i];
  double enc = Seconds(t0);
  std::printf("corpus: %zu files, %.1f MB; CP932 decode %.1f MB/s, encode %.1f MB/s; %zu/%zu round trips exact\n",
              sources.size(), total / 1e6, total / 1e6 / dec, total / 1e6 / enc, same, sources.size());

  char tmpl[] = "/tmp/tarno_bench_XXXXXX";
  fs::path dir = mkdtemp(tmpl);
  ::setenv("TARNO_SYSTEM_DIR", dir.c_str(), 1);
  for (int patterns : {10, 100, 500}) {
    SettingsModel m;
    GetSystemDir(m);
    fs::remove(SettingsFilePath(m), ec);
    LoadSettings(m);
    for (int i = 0; i < patterns; ++i) {
      auto r = std::make_shared<clsCotrolStyle>();
      r->SetPatrnName(u"Pattern" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)));
      r->SetWidth(i);
      m.PatternCollection.Add(r);
    }
    m.PatternCount = patterns;
    t0 = Clock::now();
    SaveSettings(m);
    double save = Seconds(t0);
    SettingsModel back;
    GetSystemDir(back);
    t0 = Clock::now();
    LoadSettings(back);
    double load = Seconds(t0);
    std::printf("settings with %d patterns (%ju bytes): save %.1f ms, load %.1f ms\n", patterns,
                static_cast<uintmax_t>(fs::file_size(SettingsFilePath(m))), save * 1e3, load * 1e3);
  }
  fs::remove_all(dir);
  return 0;
}
