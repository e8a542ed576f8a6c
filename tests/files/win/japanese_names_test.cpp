// Japanese folder and file names open on Windows whatever the ANSI code
// page: the names in a CP932 project file are decoded to UTF-16 and reach
// the wide file API.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "host/files/project_loader.h"
#include "host/files/text_lines.h"
#include "platform/vb_text.h"

namespace tarno::host::files {
namespace {
namespace fs = std::filesystem;

TEST(WindowsFileNames, ACp932ProjectInAJapaneseFolderLoadsAndWritesBack) {
  fs::path corpus(TARNO_CORPUS_DIR);
  if (!fs::exists(corpus / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << corpus;
  // src/分子模型.NET/original/分子模型.vbp: folder, project and component names are Japanese.
  fs::path vbp = corpus / "akinomyoga__vb6programs" / ToPath(vb::U("src/分子模型.NET/original/分子模型.vbp"));
  LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
  ASSERT_EQ(ws.projects.size(), 1u);
  auto& project = *ws.projects[0];
  EXPECT_EQ(RenderProject(project), ReadFileBytes(vbp));
  ASSERT_EQ(project.components().size(), 3u);
  int japanese = 0;
  for (const auto& c : project.components()) {
    fs::path file = ToPath(c->fileNames().at(0));
    ASSERT_TRUE(fs::exists(file)) << file.string();
    EXPECT_EQ(RenderComponent(*c), ReadFileBytes(file)) << file.string();
    std::u16string name = c->fileNames().at(0);
    japanese += std::any_of(name.begin(), name.end(), [](char16_t u) { return u >= 0x3000; });
  }
  EXPECT_EQ(japanese, 3);
  EXPECT_EQ(FromPath(ToPath(project.FileName())), project.FileName());
}

}  // namespace
}  // namespace tarno::host::files
