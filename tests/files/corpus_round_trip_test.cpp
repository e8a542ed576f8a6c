// Every project of the corpus loads, and every file written back from the
// model (forced, as if changed) gives exactly its original bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "host/files/file_state.h"
#include "host/files/project_loader.h"

namespace tarno::host::files {
namespace {

namespace fs = std::filesystem;

// folder -> code page, from the corpus manifest.
std::map<std::string, std::string> CorpusCodePages() {
  std::map<std::string, std::string> out;
  std::ifstream in(fs::path(TARNO_CORPUS_DIR) / "MANIFEST.tsv");
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    size_t pos = 0;
    while (true) {
      size_t tab = line.find('\t', pos);
      cols.push_back(line.substr(pos, tab - pos));
      if (tab == std::string::npos) break;
      pos = tab + 1;
    }
    if (cols.size() > 10) out[cols[0]] = cols[10];
  }
  return out;
}

CodePage CodePageFor(const std::string& encoding) {
  if (encoding == "cp932") return CodePage::Cp932();
  if (encoding == "utf-8") return CodePage::Named("UTF-8");
  return CodePage::Named("CP1252");  // cp1252, ascii, mixed
}

std::vector<fs::path> FilesWithExtension(const fs::path& root, const std::string& ext) {
  std::vector<fs::path> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    std::string x = e.path().extension().string();
    for (auto& ch : x) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    if (e.is_regular_file() && x == ext) out.push_back(e.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(CorpusRoundTripTest, EveryProjectAndComponentWritesBackItsBytes) {
  fs::path corpus(TARNO_CORPUS_DIR);
  if (!fs::exists(corpus / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << corpus;
  auto pages = CorpusCodePages();
  ASSERT_FALSE(pages.empty());
  size_t projects = 0, components = 0, failures = 0;
  for (const auto& [folder, encoding] : pages) {
    for (const auto& vbp : FilesWithExtension(corpus / folder, ".vbp")) {
      {
        const CodePage cp = CodePageFor(encoding);
        LoadedWorkspace ws;
        try {
          ws = LoadPath(vbp, cp);
        } catch (const std::exception& e) {
          ADD_FAILURE() << "load failed: " << e.what();
          ++failures;
          continue;
        }
        ++projects;
        auto& p = *ws.projects.at(0);
        if (RenderProject(p) != ReadFileBytes(vbp)) {
          ADD_FAILURE() << vbp << ": project file differs";
          ++failures;
        }
        for (const auto& c : p.components()) {
          ++components;
          fs::path file = ToPath(c->fileNames().at(0));
          if (RenderComponent(*c) != ReadFileBytes(file)) {
            ADD_FAILURE() << file << " (" << cp.name() << "): written bytes differ";
            if (++failures > 20) return;
          }
        }
      }
    }
  }
  EXPECT_GT(projects, 100u);
  EXPECT_GT(components, 1000u);
}

// Whatever code page is chosen, bytes it cannot decode are kept and written back.
TEST(CorpusRoundTripTest, EveryComponentFileInEveryCodePage) {
  fs::path corpus(TARNO_CORPUS_DIR);
  if (!fs::exists(corpus / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << corpus;
  std::vector<fs::path> files;
  // Files of ASCII bytes alone decode alike in every code page: the others are the test.
  for (const char* ext : {".bas", ".cls", ".frm", ".ctl", ".pag", ".dsr"})
    for (auto& f : FilesWithExtension(corpus, ext)) {
      std::string bytes = ReadFileBytes(f);
      if (std::any_of(bytes.begin(), bytes.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0x80) != 0; }))
        files.push_back(f);
    }
  ASSERT_GT(files.size(), 200u);
  size_t failures = 0;
  for (const CodePage& cp : {CodePage::Cp932(), CodePage::Named("CP1252"), CodePage::Named("UTF-8")}) {
    for (const auto& file : files) {
      LoadedWorkspace ws = LoadPath(file, cp);
      auto& c = *ws.projects.at(0)->components().at(0);
      if (RenderComponent(c) != ReadFileBytes(file)) {
        ADD_FAILURE() << file << " (" << cp.name() << "): written bytes differ";
        if (++failures > 20) return;
      }
    }
  }
}

TEST(CorpusRoundTripTest, EveryGroupLoadsItsProjectsInOrder) {
  fs::path corpus(TARNO_CORPUS_DIR);
  if (!fs::exists(corpus / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << corpus;
  auto pages = CorpusCodePages();
  size_t groups = 0;
  for (const auto& [folder, encoding] : pages) {
    for (const auto& vbg : FilesWithExtension(corpus / folder, ".vbg")) {
      LoadedWorkspace ws = LoadPath(vbg, CodePageFor(encoding));
      ++groups;
      EXPECT_TRUE(ws.group);
      VbgFile g = VbgFile::Load(vbg, nullptr);
      // Missing members are warnings and left out; the rest load in order.
      size_t missing = 0;
      for (const auto& w : ws.warnings)
        if (w.file == vbg && w.message.find("missing") != std::string::npos) ++missing;
      EXPECT_EQ(ws.projects.size() + missing, g.projects().size()) << vbg;
      EXPECT_EQ(size_t(ws.vbe->VBProjects()->Count()), ws.projects.size());
    }
  }
  EXPECT_GE(groups, 10u);
}

}  // namespace
}  // namespace tarno::host::files
