#include "host/faults.h"

#include <map>
#include <mutex>

#include "addin/host_api.h"

namespace tarno::host {

namespace {

enum class Mode { Once, Always, OnCall };

struct Fault {
  Mode mode = Mode::Once;
  int n = 0;
  int calls = 0;
  int failures = 0;
};

std::mutex& Lock() {
  static std::mutex m;
  return m;
}

std::map<std::string, Fault>& Table() {
  static std::map<std::string, Fault> t;
  return t;
}

}  // namespace

FaultInjector& Faults() {
  static FaultInjector injector;
  return injector;
}

static void Arm(const std::string& op, Mode mode, int n, bool& armed) {
  std::lock_guard<std::mutex> g(Lock());
  Table()[op] = Fault{mode, n, 0, 0};
  armed = true;
}

void FaultInjector::FailOnce(const std::string& operation) { Arm(operation, Mode::Once, 1, armed_); }
void FaultInjector::FailAlways(const std::string& operation) { Arm(operation, Mode::Always, 0, armed_); }
void FaultInjector::FailOnCall(const std::string& operation, int n) {
  Arm(operation, Mode::OnCall, n < 1 ? 1 : n, armed_);
}

void FaultInjector::Clear(const std::string& operation) {
  std::lock_guard<std::mutex> g(Lock());
  Table().erase(operation);
  armed_ = !Table().empty();
}

void FaultInjector::ClearAll() {
  std::lock_guard<std::mutex> g(Lock());
  Table().clear();
  armed_ = false;
}

int FaultInjector::Calls(const std::string& operation) const {
  std::lock_guard<std::mutex> g(Lock());
  auto it = Table().find(operation);
  return it == Table().end() ? 0 : it->second.calls;
}

int FaultInjector::Failures(const std::string& operation) const {
  std::lock_guard<std::mutex> g(Lock());
  auto it = Table().find(operation);
  return it == Table().end() ? 0 : it->second.failures;
}

void FaultInjector::Check(const char* operation) {
  bool fail = false;
  {
    std::lock_guard<std::mutex> g(Lock());
    auto it = Table().find(operation);
    if (it == Table().end()) return;
    Fault& f = it->second;
    ++f.calls;
    switch (f.mode) {
      case Mode::Once:
      case Mode::OnCall: fail = f.calls == f.n; break;
      case Mode::Always: fail = true; break;
    }
    if (fail) ++f.failures;
  }
  if (fail) throw ide::HostError(operation, "injected failure");
}

}  // namespace tarno::host
