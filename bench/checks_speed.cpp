// bench_checks_speed: both checks (unused variables and procedures, whole project)
// on synthetic projects of 100,000, 300,000 and 1,000,000 code lines and on
// the largest corpus project, with the literal reading's time beside ours.
//
//   bench_checks_speed                 all sizes, then the corpus project
//   bench_checks_speed 250000          one synthetic size
//   bench_checks_speed --corpus        the corpus project only
//   bench_checks_speed --literal-limit SECONDS   (default 900) stop the literal run
//   bench_checks_speed --write DIR LINES   only write the synthetic project into DIR
//   bench_checks_speed --cli TARNO [LINES] [--repeat N]
//       the tarno program itself on a synthetic project (default 1,000,000
//       lines): `check variables` and `check procedures` (the add-in's rules,
//       one after the other) against `check all --rules precise` with
//       --jobs 1 and 2; best wall time and best CPU time (user + system,
//       with the page faults) of N runs (default 5) and peak memory of
//       each, against the source size
//
// Each measurement runs in a child process so that its peak memory
// (maximum resident set) is its own. Figures: load time (files into the
// in-memory host; not part of the checks), check time, peak memory and the
// source size on disk.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/checks_project_generator.h"
#include "checks/procedure_check.h"
#include "checks/variable_check.h"
#include "host/files/project_loader.h"
// The literal reading lives with the tests; the benchmark compiles it in.
#include "tests/checks/oracle_checks.cpp"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

uint64_t SourceBytes(tarno::host::MemProject& p) {
  uint64_t bytes = 0;
  for (const auto& c : p.components()) {
    if (c->fileNames().empty()) continue;
    std::error_code ec;
    auto size = fs::file_size(tarno::host::files::ToPath(c->fileNames()[0]), ec);
    if (!ec) bytes += size;
  }
  return bytes;
}

int CodeLines(tarno::host::MemProject& p) {
  int lines = 0;
  for (const auto& c : p.components()) {
    if (auto cm = c->CodeModule()) lines += cm->CountOfLines();
  }
  return lines;
}

// Loads, runs both checks sharing one source index, prints one line.
// With `literal`, runs the literal reading too and compares.
void Measure(const fs::path& vbp, const tarno::CodePage& cp, const std::string& label, bool literal,
             int literalLimit) {
  using namespace tarno;
  auto t0 = Clock::now();
  host::files::LoadOptions options;
  options.code_page = cp;
  auto ws = host::files::LoadPath(vbp, options);
  auto t1 = Clock::now();
  auto& project = *ws.projects.at(0);
  checks::VariableCheckResult vars;
  checks::ProcedureCheckResult procs;
  auto t2 = Clock::now();
  double tv = 0, tp = 0;
  {
    checks::ProjectSource source(project);
    auto a = Clock::now();
    checks::CheckProjectVariables(project, vars, &source);
    auto b = Clock::now();
    checks::CheckProjectProcedures(project, procs, &source);
    auto c = Clock::now();
    tv = Seconds(a, b);
    tp = Seconds(b, c);
  }
  auto t3 = Clock::now();
  std::printf("%-28s %9d lines %6.1f MB  load %6.3f s  checks %6.3f s (variables %.3f, procedures %.3f)  findings %d+%d\n",
              label.c_str(), CodeLines(project), SourceBytes(project) / 1e6, Seconds(t0, t1), Seconds(t2, t3), tv,
              tp, vars.Total(), procs.Total());
  std::fflush(stdout);
  if (!literal) return;
  // The literal reading, bounded in time: an alarm ends the child.
  alarm(static_cast<unsigned>(literalLimit));
  auto l0 = Clock::now();
  auto lv = checks::oracle::CheckProjectVariables(project);
  auto l1 = Clock::now();
  std::printf("%-28s literal variables %8.1f s, same findings: %s\n", label.c_str(), Seconds(l0, l1),
              lv.modules == vars.modules ? "yes" : "NO");
  std::fflush(stdout);
  auto lp = checks::oracle::CheckProjectProcedures(project);
  auto l2 = Clock::now();
  std::printf("%-28s literal procedures %7.1f s, same findings: %s\n", label.c_str(), Seconds(l1, l2),
              lp.modules == procs.modules ? "yes" : "NO");
  std::fflush(stdout);
}

// What one run of a program took: wall and CPU seconds (user + system: on a
// shared machine the CPU time is the steadier figure), page faults, peak
// resident memory in MB.
struct RunFigures {
  double wall = 0, user = 0, sys = 0, peak = 0;
  long faults = 0;
};

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// Runs the program with the arguments (output to /dev/null) in the folder.
RunFigures RunProgram(const std::string& program, const std::vector<std::string>& args,
                                     const fs::path& dir) {
  auto t0 = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    FILE* null = std::fopen("/dev/null", "w");
    if (null) {
      dup2(fileno(null), 1);
      dup2(fileno(null), 2);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  auto t1 = Clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
    std::fprintf(stderr, "%s failed (status %d)\n", program.c_str(), status);
    std::exit(2);
  }
  return {Seconds(t0, t1), Seconds(usage.ru_utime), Seconds(usage.ru_stime), usage.ru_maxrss / 1024.0,
          usage.ru_minflt + usage.ru_majflt};
}

int CliBenchmark(const std::string& tarno, int lines, int repeat) {
  const fs::path dir = fs::temp_directory_path() / ("tarno_bench_cli_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const uint64_t bytes = tarno::bench::SyntheticProject::Write(dir, lines);
  const double mb = bytes / 1e6;
  std::printf("synthetic %d lines, source %.1f MB; best of %d runs\n", lines, mb, repeat);
  struct Case {
    const char* label;
    std::vector<std::string> args;
  };
  const std::vector<Case> cases = {
      {"check variables", {"check", "variables", "Project.vbp", "--format", "json"}},
      {"check procedures", {"check", "procedures", "Project.vbp", "--format", "json"}},
      {"check all --rules precise --jobs 1",
       {"check", "all", "Project.vbp", "--rules", "precise", "--format", "json", "--jobs", "1"}},
      {"check all --rules precise --jobs 2",
       {"check", "all", "Project.vbp", "--rules", "precise", "--format", "json", "--jobs", "2"}},
  };
  std::vector<RunFigures> best(cases.size());
  std::vector<double> bestCpu(cases.size(), 1e9), peak(cases.size(), 0);
  // Interleaved, so that a busy spell of a shared machine falls on every case alike.
  for (int r = 0; r < repeat; ++r) {
    for (size_t c = 0; c < cases.size(); ++c) {
      const RunFigures f = RunProgram(tarno, cases[c].args, dir);
      if (r == 0 || f.wall < best[c].wall) best[c].wall = f.wall;
      if (f.user + f.sys < bestCpu[c]) {
        bestCpu[c] = f.user + f.sys;
        best[c].user = f.user, best[c].sys = f.sys, best[c].faults = f.faults;
      }
      peak[c] = std::max(peak[c], f.peak);
    }
  }
  double load[1] = {0};
  getloadavg(load, 1);
  for (size_t c = 0; c < cases.size(); ++c) {
    std::printf("%-38s %6.3f s wall, %6.3f s CPU (user %.3f + sys %.3f), %ld page faults, peak %6.1f MB (%.1f x source)\n",
                cases[c].label, best[c].wall, bestCpu[c], best[c].user, best[c].sys, best[c].faults, peak[c],
                peak[c] / mb);
  }
  std::printf("%-38s %6.3f s wall\n", "variables + procedures", best[0].wall + best[1].wall);
  std::printf("load average %.1f on %ld cores: wall times above the core count mean little\n", load[0],
              sysconf(_SC_NPROCESSORS_ONLN));
  fs::remove_all(dir);
  return 0;
}

// Runs fn in a child; prints its peak resident memory.
template <class Fn>
void InChild(const std::string& label, Fn fn) {
  std::fflush(stdout);
  pid_t pid = fork();
  if (pid == 0) {
    try {
      fn();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s\n", label.c_str(), e.what());
      _exit(2);
    }
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) std::printf("%-28s literal run stopped at the time limit\n", label.c_str());
  std::printf("%-28s peak memory %.1f MB\n", label.c_str(), usage.ru_maxrss / 1024.0);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  bool corpus = false;
  int literalLimit = 900;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--write") && i + 2 < argc) {
      fs::create_directories(argv[i + 1]);
      uint64_t bytes = tarno::bench::SyntheticProject::Write(argv[i + 1], std::atoi(argv[i + 2]));
      std::printf("%s: %.1f MB of source\n", argv[i + 1], bytes / 1e6);
      return 0;
    }
    if (!std::strcmp(argv[i], "--cli") && i + 1 < argc) {
      int lines = 1000000, repeat = 5;
      for (int k = i + 2; k < argc; ++k) {
        if (!std::strcmp(argv[k], "--repeat") && k + 1 < argc) {
          repeat = std::atoi(argv[++k]);
        } else {
          lines = std::atoi(argv[k]);
        }
      }
      return CliBenchmark(argv[i + 1], lines, std::max(repeat, 1));
    }
    if (!std::strcmp(argv[i], "--corpus")) corpus = true;
    else if (!std::strcmp(argv[i], "--literal-limit") && i + 1 < argc) literalLimit = std::atoi(argv[++i]);
    else sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty() && !corpus) {
    sizes = {100000, 300000, 1000000};
    corpus = true;
  }
  const fs::path tmp = fs::temp_directory_path() / ("tarno_bench_checks_" + std::to_string(getpid()));
  for (int lines : sizes) {
    fs::path dir = tmp / std::to_string(lines);
    fs::create_directories(dir);
    uint64_t bytes = tarno::bench::SyntheticProject::Write(dir, lines);
    std::string label = "synthetic " + std::to_string(lines);
    std::printf("%-28s source %.1f MB\n", label.c_str(), bytes / 1e6);
    InChild(label, [&] { Measure(dir / "Project.vbp", tarno::CodePage::Cp932(), label, false, 0); });
    fs::remove_all(dir);
  }
  fs::remove_all(tmp);
  if (corpus) {
    const fs::path vbp = fs::path(TARNO_CORPUS_DIR) / "tannerhelland__PhotoDemon" / "PhotoDemon.vbp";
    if (!fs::exists(vbp)) {
      std::printf("corpus project not found: %s\n", vbp.string().c_str());
      return 0;
    }
    InChild("PhotoDemon.vbp", [&] { Measure(vbp, tarno::CodePage::Named("cp1252"), "PhotoDemon.vbp", false, 0); });
    InChild("PhotoDemon.vbp (literal)",
            [&] { Measure(vbp, tarno::CodePage::Named("cp1252"), "PhotoDemon.vbp", true, literalLimit); });
  }
  return 0;
}
