// A project's files are read and decoded on several threads: what a load
// gives (components in the project's order, their lines, every warning in
// its order, the first file that cannot be loaded) must not depend on how
// many threads read them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/files/project_loader.h"
#include "platform/vb_text.h"
#include "temp_project.h"

namespace tarno::host::files {
namespace {

using testing::TempProject;

std::string Module(const std::string& name, const std::string& body) {
  return "Attribute VB_Name = \"" + name + "\"\r\nOption Explicit\r\n" + body;
}

// Everything a load shows, as text: components with their lines, then the warnings.
std::string Summary(const LoadedWorkspace& ws) {
  std::string out;
  for (const auto& c : ws.projects.at(0)->components()) {
    out += vb::ToUtf8(c->Name()) + ":";
    if (auto code = c->code()) {
      for (int i = 1; i <= code->text().CountOfLines(); ++i) out += vb::ToUtf8(code->text().Line(i)) + "|";
    }
    out += "\n";
  }
  for (const auto& w : ws.warnings) out += w.ToString() + "\n";
  return out;
}

TEST(ThreadedLoad, SameComponentsWarningsAndErrorsOnAnyNumberOfThreads) {
  TempProject t;
  std::string vbp = "Type=Exe\r\n";
  for (int i = 0; i < 24; ++i) {
    const std::string name = "M" + std::to_string(i);
    std::string body = "Private x" + std::to_string(i) + " As Long\r\n";
    if (i % 5 == 1) body += "Private s As String ' \x82\xa0 \xff\xfe bytes CP932 lacks\r\n";
    if (i % 7 == 3) body += std::string(5000, 'x') + "\r\n";
    if (i == 9) {
      vbp += "Module=" + name + "; Gone" + std::to_string(i) + ".bas\r\n";  // missing
      continue;
    }
    if (i == 14) t.Write("Dir14.bas/keep", "");  // a folder where the file should be
    vbp += "Module=" + name + "; " + (i == 14 ? "Dir14.bas" : name + ".bas") + "\r\n";
    if (i != 14) t.Write(name + ".bas", Module(name, body));
  }
  t.Write("P.vbp", vbp + "Name=\"P\"\r\n");
  std::string expected;
  for (int jobs : {1, 2, 3, 8}) {
    SCOPED_TRACE(jobs);
    LoadOptions o;
    o.code_page = CodePage::Cp932();
    o.jobs = jobs;
    const std::string got = Summary(LoadPath(t.dir() / "P.vbp", o));
    if (expected.empty()) expected = got;
    EXPECT_EQ(got, expected);
  }
  EXPECT_NE(expected.find("M23:"), std::string::npos);
  EXPECT_NE(expected.find("Gone9.bas\" is missing"), std::string::npos);
  EXPECT_NE(expected.find("is not a file"), std::string::npos);
  EXPECT_NE(expected.find("not valid in CP932"), std::string::npos);

  // Two files that cannot be loaded at all: the first in the project's order
  // is the error, as when the files are read one by one.
  t.Write("M4.bas", std::string("Attribute VB_Name = \"M4\"\r\n\0binary", 33));
  t.Write("M20.bas", std::string("Attribute VB_Name = \"M20\"\r\n\0binary", 34));
  for (int jobs : {1, 2, 8}) {
    SCOPED_TRACE(jobs);
    LoadOptions o;
    o.code_page = CodePage::Cp932();
    o.jobs = jobs;
    try {
      LoadPath(t.dir() / "P.vbp", o);
      ADD_FAILURE() << "loaded a file with a NUL byte";
    } catch (const ProjectFileError& e) {
      EXPECT_NE(std::string(e.what()).find("M4.bas"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace tarno::host::files
