// The binder on every project of the corpus: a bound reference always names
// its symbol, and two threads give exactly what one gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "host/files/project_loader.h"
#include "lang/model.h"
#include "platform/vb_text.h"
#include "support/corpus.h"

namespace tarno::lang {
namespace {

namespace fs = std::filesystem;

// "module:line:column kind" of what each reference is bound to, in module and reference order.
std::vector<std::string> Bindings(const Model& m) {
  std::vector<std::string> out;
  for (uint32_t mi = 0; mi < m.ModuleCount(); ++mi) {
    for (const Ref& r : m.Module(mi).syntax.refs) {
      std::string s = std::to_string(r.line) + ":" + std::to_string(r.column) + " " + std::to_string(r.flags) + " -> ";
      if (r.target == kNoSymbol) {
        s += "none";
      } else {
        const Symbol& t = m.Sym(r.target);
        s += std::to_string(t.module) + ":" + std::to_string(t.decl.line) + ":" + std::to_string(t.decl.column) + " " +
             DeclKindName(t.decl.kind);
      }
      out.push_back(std::move(s));
    }
  }
  return out;
}

TEST(CorpusBind, BoundReferencesNameTheirSymbolAndThreadsChangeNothing) {
  const auto folders = test::CorpusFolders(TARNO_CORPUS_DIR);
  if (folders.empty()) GTEST_SKIP() << "no corpus";
  size_t projects = 0, refs = 0, bound = 0, unresolved = 0;
  for (const auto& folder : folders) {
    for (const auto& v : folder.vbps) {
      host::files::LoadOptions options;
      options.code_page = test::CorpusCodePage(folder.encoding);
      host::files::LoadedWorkspace ws;
      try {
        ws = host::files::LoadPath(v, options);
      } catch (const std::exception& e) {
        ADD_FAILURE() << v << ": " << e.what();
        continue;
      }
      auto build = [&](int jobs) {
        std::vector<ProjectCode> code;
        for (auto& p : ws.projects) code.push_back(ReadProjectCode(*p, ProjectCondComp(*p)));
        Model::Options o;
        o.jobs = jobs;
        return Model::Build(std::move(code), o);
      };
      auto one = build(1), two = build(2);
      ASSERT_EQ(Bindings(*one), Bindings(*two)) << v;
      ASSERT_EQ(one->SymbolCount(), two->SymbolCount()) << v;
      ++projects;
      for (uint32_t mi = 0; mi < two->ModuleCount(); ++mi) {
        for (const Ref& r : two->Module(mi).syntax.refs) {
          ++refs;
          if (r.target == kNoSymbol || (r.flags & kRefMe)) continue;
          ++bound;
          // Form_Load, Class_Initialize: the object's own events name the component.
          if ((r.flags & kRefWiring) && two->Sym(r.target).decl.kind == DeclKind::Component) continue;
          ASSERT_TRUE(SameName(two->NameOf(r.name), two->SymbolName(r.target)))
              << v << ": " << vb::ToUtf8(two->Module(mi).code->name) << ":" << r.line << ":" << r.column << " "
              << vb::ToUtf8(two->NameOf(r.name)) << " bound to " << vb::ToUtf8(two->SymbolName(r.target));
        }
      }
      unresolved += two->UnresolvedMembers().size();
    }
  }
  EXPECT_GE(projects, 140u);
  // Most references are to the projects' own names; the rest are VB's and the libraries'.
  EXPECT_GT(bound * 2, refs);
  std::cout << projects << " projects, " << refs << " references, " << bound << " bound, " << unresolved
            << " unresolved members\n";
}

}  // namespace
}  // namespace tarno::lang
