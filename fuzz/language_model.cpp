// The VB 6 language model over any module text: no crash, no hang; every
// declaration, reference and parse error stands inside its module's lines,
// every line's tokens cover exactly its non-blank characters, a bound
// reference names its symbol, and two threads build what one builds. The
// input is two modules (a standard module, then a class) split at the first
// NUL byte, in CP932.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "lang/lexer.h"
#include "lang/model.h"
#include "platform/code_page.h"

using namespace tarno;

namespace {

bool Inside(const lang::ModuleCode& m, int line, int column, int length) {
  if (line < 1 || static_cast<size_t>(line) > m.lines.size()) return false;
  return column >= 1 && static_cast<size_t>(column - 1 + length) <= m.lines[static_cast<size_t>(line - 1)].size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t nul = input.find('\0');
  std::string_view first = input.substr(0, nul);
  std::string_view second = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
  auto texts = std::make_shared<std::vector<std::vector<std::u16string>>>();
  texts->push_back(fuzz::BodyLines(CodePage::Cp932().Decode(first)));
  texts->push_back(fuzz::BodyLines(CodePage::Cp932().Decode(second)));

  auto project = [&] {
    lang::ProjectCode p;
    p.name = u"Project1";
    const char16_t* names[] = {u"Module1", u"Class1"};
    const int types[] = {ide::ComponentType::StdModule, ide::ComponentType::ClassModule};
    for (size_t i = 0; i < 2; ++i) {
      lang::ModuleCode m;
      m.name = names[i];
      m.type = types[i];
      m.lines.assign((*texts)[i].begin(), (*texts)[i].end());
      m.keepAlive = texts;
      p.modules.push_back(std::move(m));
      p.componentIndex.push_back(static_cast<int>(i + 1));
    }
    std::vector<lang::ProjectCode> all;
    all.push_back(std::move(p));
    return all;
  };

  lang::Model::Options two;
  two.jobs = 2;
  auto model = lang::Model::Build(project(), two);
  auto single = lang::Model::Build(project());
  TARNO_FUZZ_CHECK(model->SymbolCount() == single->SymbolCount(), "threads changed the symbols");
  for (uint32_t mi = 0; mi < model->ModuleCount(); ++mi) {
    const auto& info = model->Module(mi);
    const auto& code = *info.code;
    for (const auto& e : info.syntax.errors) {
      TARNO_FUZZ_CHECK(e.line >= 1 && static_cast<size_t>(e.line) <= std::max<size_t>(code.lines.size(), 1), "error off its module");
    }
    for (const auto& d : info.syntax.decls) TARNO_FUZZ_CHECK(Inside(code, d.line, d.column, d.length), "declaration off its line");
    const auto& refs = info.syntax.refs;
    TARNO_FUZZ_CHECK(refs.size() == single->Module(mi).syntax.refs.size(), "threads changed the references");
    for (size_t i = 0; i < refs.size(); ++i) {
      const lang::Ref& r = refs[i];
      TARNO_FUZZ_CHECK(Inside(code, r.line, r.column, r.length), "reference off its line");
      TARNO_FUZZ_CHECK(r.target == single->Module(mi).syntax.refs[i].target, "threads changed a binding");
      if (r.target != lang::kNoSymbol && !(r.flags & (lang::kRefMe | lang::kRefWiring))) {
        TARNO_FUZZ_CHECK(lang::SameName(model->NameOf(r.name), model->SymbolName(r.target)), "bound to another name");
      }
    }
    lang::NameTable names;
    auto lexed = lang::LexModule(code.lines, names);
    for (size_t l = 0; l < code.lines.size(); ++l) {
      if (code.lines[l].size() > lang::kMaxLineLength) continue;  // refused as a whole
      size_t at = 0;
      for (uint32_t k = lexed.starts[l]; k < lexed.starts[l + 1]; ++k) {
        const lang::Token& t = lexed.tokens[k];
        TARNO_FUZZ_CHECK(t.column >= at && t.column + t.length <= code.lines[l].size(), "token off its line");
        for (size_t c = at; c < t.column; ++c) TARNO_FUZZ_CHECK(lang::IsBlank(code.lines[l][c]), "a character outside every token");
        at = t.column + t.length;
      }
      for (size_t c = at; c < code.lines[l].size(); ++c) TARNO_FUZZ_CHECK(lang::IsBlank(code.lines[l][c]), "a character outside every token");
    }
  }
  return 0;
}
