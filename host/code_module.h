// The in-memory code module: ModuleText plus the IDE's view of it (sections,
// procedure ranges, members), worked out lazily once per edit.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "addin/host_api.h"
#include "host/module_text.h"

namespace tarno::host {

// What a code module needs of the component that owns it; the module knows
// its owner only through this.
class CodeModuleOwner {
 public:
  virtual ~CodeModuleOwner() = default;
  // Called by every edit of the code.
  virtual void MarkDirty() = 0;
  // The owner as the IDE's component (CodeModule.Parent).
  virtual std::shared_ptr<ide::VBComponent> AsVBComponent() = 0;
};

class MemCodeModule : public ide::CodeModule {
 public:
  explicit MemCodeModule(ModuleText text = {});

  const ModuleText& text() const { return text_; }
  // Replaces the whole text (loading); does not mark the component dirty.
  void SetText(ModuleText text);
  void SetParent(const std::weak_ptr<CodeModuleOwner>& parent) { parent_ = parent; }

  std::u16string Lines(int start, int count) override;
  std::vector<std::u16string_view> LineViews() override;
  int CountOfLines() override;
  int CountOfDeclarationLines() override;
  void InsertLines(int line, const std::u16string& text) override;
  void DeleteLines(int start, int count = 1) override;
  int ProcStartLine(const std::u16string& name, int kind) override;
  int ProcBodyLine(const std::u16string& name, int kind) override;
  int ProcCountLines(const std::u16string& name, int kind) override;
  std::u16string ProcOfLine(int line, int* kind) override;
  bool Find(const std::u16string& target, int& startLine, int& startColumn, int& endLine, int& endColumn,
            bool wholeWord = false, bool matchCase = false, bool patternSearch = false) override;
  std::vector<ide::Member> Members() override;
  std::shared_ptr<ide::VBComponent> Parent() override;

  // Splits text for InsertLines: at CR LF (or a lone CR or LF), a final line
  // end adds no line, "" is one empty line.
  static std::vector<std::u16string> SplitInsertText(const std::u16string& text);

 private:
  struct ProcRange {
    std::u16string name;
    int kind = 0;
    int scope = 0;
    bool property = false;
    int body = 0;   // first line of the declaration statement
    int end = 0;    // End statement line (or where the range stops without one)
    bool hasEnd = false;
    int start = 0;  // ProcStartLine
    int count = 0;  // ProcCountLines
  };
  struct DeclareRange {
    std::u16string name;
    int line = 0;
    int lines = 0;
  };
  struct Analysis {
    int declarationLines = 0;
    std::vector<ProcRange> procs;  // line order
    std::vector<DeclareRange> declares;
    std::vector<ide::Member> members;
    std::unordered_map<std::u16string, size_t> procByKey;     // first (name, kind)
    std::unordered_map<std::u16string, size_t> declareByName;  // first Declare/Event
  };

  const Analysis& Analyze();
  // Start lines and counts from bodies and ends.
  void Finish(Analysis& a) const;
  // Whether an edit that adds or removes these lines at `at` leaves every
  // procedure and the declarations as they were, only moved: no declaration,
  // End or continued line, past the first procedure's declaration.
  bool OnlyMoves(int at, const std::vector<std::u16string>* added, int removedCount) const;
  void Shift(int from, int delta);
  void ScanDeclarations(Analysis& a, int lastLine);
  // The range for (name, kind): a procedure, or with kind 0 a Declare/Event.
  struct Range {
    int start, body, count;
  };
  Range Lookup(const char* operation, const std::u16string& name, int kind);
  void Edited();

  ModuleText text_;
  std::unique_ptr<Analysis> analysis_;
  uint64_t analysedVersion_ = 0;
  std::weak_ptr<CodeModuleOwner> parent_;
};

}  // namespace tarno::host
