// Conditional compilation: the values of #Const and of a project's CondComp
// constants, and the evaluation of the expression of an #If or #ElseIf line.
// Names that nothing defines are Empty (0), as VB has them; Win32 is True
// and Win16 False.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lang/names.h"
#include "lang/token.h"

namespace tarno::lang {

struct CcValue {
  double number = 0;
  std::u16string text;
  bool isText = false;
  bool Truth() const { return isText ? !text.empty() : number != 0; }
};

// name = value pairs of a project's CondComp key ("DEBUG = 1 : X = -1").
// nullopt when the text does not read as such a list.
std::optional<std::vector<std::pair<std::u16string, CcValue>>> ParseCondComp(std::u16string_view text);

class CcScope {
 public:
  CcScope(NameTable& names, const std::vector<std::pair<std::u16string, CcValue>>& project);
  void Define(Atom name, CcValue value) { module_[name] = std::move(value); }
  // Evaluates tokens [from, to) of a line (all on the lines `lines` lends);
  // nullopt when they are not an expression.
  std::optional<CcValue> Evaluate(const std::vector<Token>& tokens, size_t from, size_t to,
                                  const std::vector<std::u16string_view>& lines) const;

 private:
  std::unordered_map<Atom, CcValue> project_;
  std::unordered_map<Atom, CcValue> module_;
  Atom win32_, win16_;
  friend class CcParser;
};

}  // namespace tarno::lang
