// A code module that passes every call to a real one but can be told to fail
// chosen operations, to see what the generators do when the host refuses.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "addin/host_api.h"

namespace tarno::codegen::testing {

class FaultyModule : public ide::CodeModule {
 public:
  explicit FaultyModule(std::shared_ptr<ide::CodeModule> inner) : inner_(std::move(inner)) {}

  // The n-th call (1-based) of the operation from now on fails; 0 fails every call.
  void FailOn(const std::string& operation, int nth = 1) { faults_[operation] = {nth, 0}; }
  void Heal() { faults_.clear(); }

  std::u16string Lines(int start, int count) override {
    Check("Lines");
    return inner_->Lines(start, count);
  }
  int CountOfLines() override {
    Check("CountOfLines");
    return inner_->CountOfLines();
  }
  int CountOfDeclarationLines() override {
    Check("CountOfDeclarationLines");
    return inner_->CountOfDeclarationLines();
  }
  void InsertLines(int line, const std::u16string& text) override {
    Check("InsertLines");
    inner_->InsertLines(line, text);
  }
  void DeleteLines(int start, int count) override {
    Check("DeleteLines");
    inner_->DeleteLines(start, count);
  }
  int ProcStartLine(const std::u16string& name, int kind) override {
    Check("ProcStartLine");
    return inner_->ProcStartLine(name, kind);
  }
  int ProcBodyLine(const std::u16string& name, int kind) override {
    Check("ProcBodyLine");
    return inner_->ProcBodyLine(name, kind);
  }
  int ProcCountLines(const std::u16string& name, int kind) override {
    Check("ProcCountLines");
    return inner_->ProcCountLines(name, kind);
  }
  std::u16string ProcOfLine(int line, int* kind) override { return inner_->ProcOfLine(line, kind); }
  bool Find(const std::u16string& target, int& sl, int& sc, int& el, int& ec, bool ww, bool mc,
            bool ps) override {
    return inner_->Find(target, sl, sc, el, ec, ww, mc, ps);
  }
  std::vector<ide::Member> Members() override {
    Check("Members");
    return inner_->Members();
  }
  std::shared_ptr<ide::VBComponent> Parent() override { return inner_->Parent(); }

 private:
  struct Fault {
    int nth;
    int seen;
  };
  void Check(const std::string& operation) {
    auto it = faults_.find(operation);
    if (it == faults_.end()) return;
    ++it->second.seen;
    if (it->second.nth == 0 || it->second.seen == it->second.nth)
      throw ide::HostError("CodeModule." + operation, "injected failure");
  }
  std::shared_ptr<ide::CodeModule> inner_;
  std::map<std::string, Fault> faults_;
};

}  // namespace tarno::codegen::testing
