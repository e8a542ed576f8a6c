// The bundled sample project loads as the tools expect and writes back exactly.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/controls.h"
#include "host/files/project_loader.h"
#include "host/files/text_lines.h"
#include "platform/vb_text.h"

namespace tarno::host::files {
namespace {

using vb::U;

TEST(SampleProjectTest, LoadsInCp932AndWritesBackExactly) {
  std::filesystem::path vbp = std::filesystem::path(TARNO_SOURCE_DIR) / "examples" / "Sample.vbp";
  LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
  EXPECT_TRUE(ws.warnings.empty());
  ASSERT_EQ(ws.projects.size(), 1u);
  auto& p = *ws.projects[0];
  EXPECT_EQ(p.Name(), u"Sample");
  ASSERT_EQ(p.components().size(), 3u);
  EXPECT_EQ(p.components()[0]->Type(), ide::ComponentType::StdModule);
  EXPECT_EQ(p.components()[1]->Type(), ide::ComponentType::ClassModule);
  EXPECT_EQ(p.components()[2]->Type(), ide::ComponentType::VBForm);
  EXPECT_EQ(p.components()[0]->CodeModule()->Lines(3, 1), U("' アプリケーション全体で使う定数"));

  auto d = p.components()[2]->designer();
  ASSERT_TRUE(d);
  ASSERT_EQ(d->controls().size(), 9u);
  EXPECT_EQ(d->Control(u"optKind", 0)->parent()->name(), u"Frame1");
  EXPECT_EQ(d->Control(u"txtField", 1)->index(), 1);
  EXPECT_EQ(d->form()->Get(u"Caption"), ide::Variant(U("顧客登録")));
  EXPECT_EQ(d->form()->GetFont()->values().name, U("ＭＳ Ｐゴシック"));

  // The checks have an unused module variable and an unused procedure to find.
  bool variable = false, procedure = false;
  for (const auto& m : p.components()[0]->CodeModule()->Members()) {
    variable |= m.Name == u"mlngCount";
    procedure |= m.Name == u"ShowVersion";
  }
  EXPECT_TRUE(variable && procedure);

  EXPECT_EQ(RenderProject(p), ReadFileBytes(vbp));
  for (const auto& c : p.components())
    EXPECT_EQ(RenderComponent(*c), ReadFileBytes(ToPath(c->FileNames(1)))) << vb::ToUtf8(c->Name());
}

}  // namespace
}  // namespace tarno::host::files
