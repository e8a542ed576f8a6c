// bench_lang: the VB 6 language model (lexer, parser, binder) of the
// 1,000,000-line synthetic project and of the largest corpus project, with
// the load time (files into the in-memory host) beside it, on 1 and 2
// threads, and the peak memory against the source size.
//
//   bench_lang                 the synthetic project of 1,000,000 lines, then the corpus project
//   bench_lang LINES           a synthetic project of that size only
//   bench_lang --corpus        the corpus project only
//
// Each measurement runs in a child process so that its peak memory
// (maximum resident set) is its own; the figures are the best of 3 runs.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/checks_project_generator.h"
#include "host/files/project_loader.h"
#include "lang/lexer.h"
#include "lang/model.h"
#include "platform/huge_pages.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// Resident set now, in bytes (from /proc/self/status).
long long ResidentBytes() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
  }
  return 0;
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Figures {
  double load = 0, lex = 0, parse = 0, bind = 0, cpu = 0;
  long long lines = 0, sourceBytes = 0, afterLoad = 0, modelBytes = 0, symbols = 0, refs = 0, errors = 0;
};

// In the child: load, lex alone, build the model; writes the figures to `fd`.
void MeasureChild(const fs::path& vbp, const tarno::CodePage& cp, int jobs, int fd) {
  using namespace tarno;
  Figures f;
  auto t0 = Clock::now();
  host::files::LoadOptions options;
  options.code_page = cp;
  auto ws = host::files::LoadPath(vbp, options);
  auto t1 = Clock::now();
  f.load = Seconds(t0, t1);
  std::vector<lang::ProjectCode> code;
  for (auto& p : ws.projects) code.push_back(lang::ReadProjectCode(*p, lang::ProjectCondComp(*p)));
  for (auto& p : ws.projects) {
    for (const auto& c : p->components()) {
      std::error_code ec;
      if (!c->fileNames().empty()) f.sourceBytes += static_cast<long long>(fs::file_size(host::files::ToPath(c->fileNames()[0]), ec));
    }
  }
  f.afterLoad = ResidentBytes();
  // The lexer alone, one thread, every line.
  {
    auto a = Clock::now();
    lang::NameTable names;
    std::vector<lang::Token> tokens;
    long long count = 0;
    for (const auto& p : code) {
      for (const auto& m : p.modules) {
        lang::Lexer lexer(names);
        for (size_t i = 0; i < m.lines.size(); ++i) {
          tokens.clear();
          lexer.LexLine(m.lines[i], static_cast<int>(i + 1), tokens);
          count += static_cast<long long>(tokens.size());
        }
        f.lines += static_cast<long long>(m.lines.size());
      }
    }
    f.lex = Seconds(a, Clock::now());
    if (count == 0) f.lex = -1;
  }
  lang::Model::Timings timings;
  lang::Model::Options mo;
  mo.jobs = jobs;
  mo.timings = &timings;
  const double cpu0 = CpuSeconds();
  auto model = lang::Model::Build(std::move(code), mo);
  f.cpu = CpuSeconds() - cpu0;
  f.parse = timings.parse;
  f.bind = timings.bind;
  f.modelBytes = static_cast<long long>(model->Bytes());
  f.symbols = static_cast<long long>(model->SymbolCount());
  for (uint32_t m = 0; m < model->ModuleCount(); ++m) {
    f.refs += static_cast<long long>(model->Module(m).syntax.refs.size());
    f.errors += static_cast<long long>(model->Errors(m).size());
  }
  if (write(fd, &f, sizeof f) != static_cast<ssize_t>(sizeof f)) _exit(3);
}

// The machine's load over the last minute: wall times mean little when it is above the cores.
double LoadAverage() {
  double l[1] = {0};
  return getloadavg(l, 1) == 1 ? l[0] : 0;
}

void Measure(const fs::path& vbp, const tarno::CodePage& cp, const std::string& label) {
  for (int jobs : {1, 2}) {
    Figures best;
    long long peak = 0;
    for (int run = 0; run < 3; ++run) {
      int pipefd[2];
      if (pipe(pipefd) != 0) return;
      pid_t pid = fork();
      if (pid == 0) {
        close(pipefd[0]);
        MeasureChild(vbp, cp, jobs, pipefd[1]);
        _exit(0);
      }
      close(pipefd[1]);
      Figures f;
      ssize_t got = read(pipefd[0], &f, sizeof f);
      close(pipefd[0]);
      int status = 0;
      struct rusage usage {};
      wait4(pid, &status, 0, &usage);
      if (got != static_cast<ssize_t>(sizeof f) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::printf("%s: the measurement failed\n", label.c_str());
        return;
      }
      if (run == 0 || f.parse + f.bind < best.parse + best.bind) best = f;
      peak = std::max(peak, static_cast<long long>(usage.ru_maxrss) * 1024);
    }
    const double model = best.parse + best.bind;
    std::printf(
        "%s, %d thread%s: %lld lines, %.1f MB source; load %.3f s | lex alone (1 thread) %.3f s | lex+parse %.3f s "
        "| bind %.3f s | model %.3f s wall, %.3f s CPU (target 0.5 s on 2 threads); load average %.1f\n"
        "    peak memory %.1f MB (%.2f x source; after load %.1f MB); model %.1f MB (%.2f x source); "
        "%lld symbols, %lld references, %lld parse errors\n",
        label.c_str(), jobs, jobs == 1 ? "" : "s", best.lines, best.sourceBytes / 1e6, best.load, best.lex, best.parse,
        best.bind, model, best.cpu, LoadAverage(), peak / 1e6, static_cast<double>(peak) / static_cast<double>(best.sourceBytes),
        best.afterLoad / 1e6, best.modelBytes / 1e6,
        static_cast<double>(best.modelBytes) / static_cast<double>(best.sourceBytes), best.symbols, best.refs,
        best.errors);
    std::fflush(stdout);
  }
}

void Synthetic(int lines) {
  const fs::path dir = fs::temp_directory_path() / ("tarno_bench_lang_" + std::to_string(getpid()));
  fs::create_directories(dir);
  tarno::bench::SyntheticProject::Write(dir, lines);
  Measure(dir / "Project.vbp", tarno::CodePage::Cp932(), "synthetic " + std::to_string(lines));
  fs::remove_all(dir);
}

void Corpus() {
  const fs::path vbp = fs::path(TARNO_CORPUS_DIR) / "tannerhelland__PhotoDemon" / "PhotoDemon.vbp";
  if (!fs::exists(vbp)) {
    std::printf("corpus project not found at %s\n", vbp.string().c_str());
    return;
  }
  Measure(vbp, tarno::CodePage::Named("CP1252"), "PhotoDemon.vbp");
}

}  // namespace

int main(int argc, char** argv) {
  tarno::BackTheHeapWithHugePages(std::size_t{1} << 30);  // as the tarno program does
  if (argc > 1 && std::strcmp(argv[1], "--corpus") == 0) {
    Corpus();
  } else if (argc > 1) {
    Synthetic(std::atoi(argv[1]));
  } else {
    Synthetic(1000000);
    Corpus();
  }
  return 0;
}
