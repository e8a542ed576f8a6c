// Every module, class, form, user control, property page and user document
// of the corpus, loaded in its code page: the parser reads all of it, and
// the tokens of each line, with the blanks between them, give the line back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "host/files/project_loader.h"
#include "lang/lexer.h"
#include "lang/parser.h"
#include "lang/project_code.h"
#include "platform/vb_text.h"
#include "support/corpus.h"

namespace tarno::lang {
namespace {

namespace fs = std::filesystem;

// Files of the corpus that are not VB code the IDE would load, with why.
const std::map<std::string, std::string> kNotVbCode = {
    {"javiercrowsoft__cairo-vb6/CSReport/CSReportEditor/Codigo/mPrintAPI.bas",
     "a declaration broken over two lines without a continuation: \"Dim printDlg As\" then \"()\""},
};

// The line rebuilt from its tokens and the blanks between them; "" and a
// message when a gap holds anything but blanks or tokens overlap.
std::string Rejoin(std::u16string_view line, const Token* begin, const Token* end, std::u16string& out) {
  size_t at = 0;
  for (const Token* t = begin; t != end; ++t) {
    if (t->column < at) return "tokens overlap at column " + std::to_string(t->column + 1);
    for (size_t i = at; i < t->column; ++i) {
      if (!IsBlank(line[i])) return "character outside every token at column " + std::to_string(i + 1);
    }
    out.append(line.substr(at, t->column + t->length - at));
    at = t->column + t->length;
  }
  for (size_t i = at; i < line.size(); ++i) {
    if (!IsBlank(line[i])) return "character outside every token at column " + std::to_string(i + 1);
  }
  out.append(line.substr(at));
  return "";
}

TEST(CorpusParse, EveryModuleParsesAndItsTokensGiveBackEachLine) {
  const fs::path corpus(TARNO_CORPUS_DIR);
  if (!fs::exists(corpus / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << corpus;
  size_t files = 0, lines = 0, tokens = 0, errorsSeen = 0;
  std::set<std::string> listedSeen;
  for (const auto& folder : test::CorpusFolders(corpus)) {
    for (const auto& path : test::FilesWithExtensions(folder.path, {".bas", ".cls", ".frm", ".ctl", ".pag", ".dob"})) {
      const std::string rel = fs::relative(path, corpus).generic_string();
      host::files::LoadedWorkspace ws;
      try {
        ws = host::files::LoadPath(path, test::CorpusCodePage(folder.encoding));
      } catch (const std::exception& e) {
        ADD_FAILURE() << rel << ": does not load: " << e.what();
        continue;
      }
      ASSERT_EQ(ws.projects.size(), 1u);
      auto code = ReadProjectCode(*ws.projects[0]);
      ASSERT_EQ(code.modules.size(), 1u) << rel;
      const auto& module = code.modules[0];
      ++files;
      lines += module.lines.size();
      NameTable names;
      auto syntax = ParseModule(module.lines, names);
      if (kNotVbCode.count(rel)) {
        listedSeen.insert(rel);
        EXPECT_FALSE(syntax.errors.empty()) << rel << " is listed as not VB code but parses";
      } else {
        for (const auto& e : syntax.errors) {
          if (++errorsSeen > 200) break;
          ADD_FAILURE() << rel << ":" << e.line << ":" << e.column << ": " << e.message << "\n    "
                        << vb::ToUtf8(module.lines[static_cast<size_t>(e.line - 1)]);
        }
      }
      auto lexed = LexModule(module.lines, names);
      tokens += lexed.tokens.size();
      for (size_t i = 0; i < module.lines.size(); ++i) {
        const Token* begin = lexed.tokens.data() + lexed.starts[i];
        const Token* end = lexed.tokens.data() + lexed.starts[i + 1];
        std::u16string joined;
        std::string fault = Rejoin(module.lines[i], begin, end, joined);
        ASSERT_EQ(fault, "") << rel << ":" << i + 1;
        ASSERT_EQ(joined, module.lines[i]) << rel << ":" << i + 1;
        for (const Token* t = begin; t != end; ++t) {
          ASSERT_EQ(t->line, static_cast<int>(i + 1));
          ASSERT_NE(t->kind, TokenKind::Bad) << rel << ":" << i + 1 << ":" << t->Column1();
        }
      }
    }
  }
  EXPECT_EQ(listedSeen.size(), kNotVbCode.size()) << "a listed file is no longer in the corpus";
  EXPECT_GE(files, 1200u);
  std::cout << files << " files, " << lines << " lines, " << tokens << " tokens\n";
}

}  // namespace
}  // namespace tarno::lang
