// Loads the largest corpus project (PhotoDemon.vbp) into the in-memory host
// and reports files, lines and milliseconds per 100,000 lines.
//   bench_load_project [PROJECT.vbp] [--encoding CP] [--runs N]
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "platform/huge_pages.h"

namespace files = tarno::host::files;

int main(int argc, char** argv) {
  tarno::BackTheHeapWithHugePages(std::size_t{1} << 30);  // as the tarno program does
  std::filesystem::path project = std::filesystem::path(TARNO_CORPUS_DIR) / "tannerhelland__PhotoDemon" / "PhotoDemon.vbp";
  std::string encoding = "CP1252";
  int runs = 3;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--encoding") && i + 1 < argc) encoding = argv[++i];
    else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
    else project = argv[i];
  }
  files::LoadOptions options;
  options.code_page = tarno::CodePage::Named(encoding);
  double best = 1e300, best_cpu = 1e300;
  size_t file_count = 0, lines = 0;
  for (int r = 0; r < runs; ++r) {
    auto start = std::chrono::steady_clock::now();
    std::clock_t cpu_start = std::clock();
    files::LoadedWorkspace ws = files::LoadPath(project, options);
    std::clock_t cpu_stop = std::clock();
    auto stop = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
    best_cpu = std::min(best_cpu, 1000.0 * double(cpu_stop - cpu_start) / CLOCKS_PER_SEC);
    file_count = 1;
    lines = 0;
    for (const auto& p : ws.projects)
      for (const auto& c : p->components()) {
        ++file_count;
        if (auto* st = files::StateOf(*c); st && st->file) lines += st->file->text().size();
      }
  }
  std::printf("project: %s\n", project.filename().string().c_str());
  std::printf("files: %zu (project file and components)\n", file_count);
  std::printf("lines: %zu\n", lines);
  // CPU time as well: on a shared machine the wall clock also counts waiting.
  std::printf("load: %.1f ms wall, %.1f ms CPU (best of %d)\n", best, best_cpu, runs);
  std::printf("per 100,000 lines: %.1f ms wall, %.1f ms CPU (target: under 100)\n",
              lines ? best * 100000.0 / double(lines) : 0.0, lines ? best_cpu * 100000.0 / double(lines) : 0.0);
  return 0;
}
