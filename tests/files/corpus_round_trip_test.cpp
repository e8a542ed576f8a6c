// Every project of the corpus loads, and every file written back from the
// model (forced, as if changed) gives exactly its original bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "support/corpus.h"

namespace tarno::host::files {
namespace {

namespace fs = std::filesystem;

TEST(CorpusRoundTripTest, EveryProjectAndComponentWritesBackItsBytes) {
  fs::path corpus(TARNO_CORPUS_DIR);
  if (!fs::exists(corpus / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << corpus;
  auto folders = test::CorpusFolders(corpus);
  ASSERT_FALSE(folders.empty());
  size_t projects = 0, components = 0, failures = 0;
  for (const auto& folder : folders) {
    for (const auto& vbp : test::FilesWithExtensions(folder.path, {".vbp"})) {
      {
        const CodePage cp = test::CorpusCodePage(folder.encoding);
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
  for (auto& f : test::FilesWithExtensions(corpus, {".bas", ".cls", ".frm", ".ctl", ".pag", ".dsr"})) {
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
  size_t groups = 0;
  for (const auto& folder : test::CorpusFolders(corpus)) {
    for (const auto& vbg : test::FilesWithExtensions(folder.path, {".vbg"})) {
      LoadedWorkspace ws = LoadPath(vbg, test::CorpusCodePage(folder.encoding));
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
