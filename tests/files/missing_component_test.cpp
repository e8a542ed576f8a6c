// A project whose .vbp names a component file that is gone or cannot be read
// loads without that component, with a warning naming the .vbp line and the
// file; the tools run on the rest, and a save keeps the line as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/tarno_run.h"
#include "host/files/project_loader.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"
#include "temp_project.h"

namespace tarno::host::files {
namespace {

using testing::TempProject;

const char kModule[] =
    "Attribute VB_Name = \"Module1\"\r\n"
    "Option Explicit\r\n"
    "Public Sub Main()\r\n"
    "  Dim unused As Long\r\n"
    "End Sub\r\n";

const char kClass[] =
    "VERSION 1.0 CLASS\r\n"
    "BEGIN\r\n"
    "  MultiUse = -1  'True\r\n"
    "END\r\n"
    "Attribute VB_Name = \"Class1\"\r\n"
    "Option Explicit\r\n";

struct Case {
  const char* name;
  std::string line;     // the .vbp line of the component that cannot be loaded
  std::string file;     // the file it names, as written
  const char* problem;  // how the warning says what is wrong
  bool folder;          // the name is a folder rather than nothing at all
  bool pipe = false;        // the name is a pipe: there, but no file to read
  bool unreadable = false;  // the file is there, but opening it is refused
};

const Case kCases[] = {
    {"missing module", "Module=Gone; Gone.bas", "Gone.bas", "is missing", false},
    {"missing form", "Form=Forms\\Gone.frm", "Forms\\Gone.frm", "is missing", false},
    {"missing class", "Class=Gone; Gone.cls", "Gone.cls", "is missing", false},
    {"missing resource file", "ResFile32=\"Gone.res\"", "Gone.res", "is missing", false},
    {"folder for a class", "Class=Dir; Dir.cls", "Dir.cls", "is not a file", true},
    {"folder for a form", "Form=Dir.frm", "Dir.frm", "is not a file", true},
    {"pipe for a class", "Class=Pipe; Pipe.cls", "Pipe.cls", "is not a file", false, true},
    {"unreadable class", "Class=Locked; Locked.cls", "Locked.cls", "cannot be read (cannot open for reading: Permission denied)",
     false, false, true},
};

std::string VbpBytes(const Case& c) {
  // The broken line stands between the two good ones, as line 3.
  return "Type=Exe\r\nModule=Module1; Module1.bas\r\n" + c.line + "\r\nClass=Class1; Class1.cls\r\nName=\"Proj\"\r\n";
}

void MakeBrokenFile(TempProject& t, const Case& c) {
  if (c.folder) std::filesystem::create_directories(t.dir() / c.file);
  if (c.pipe) {
    ASSERT_EQ(::mkfifo((t.dir() / c.file).c_str(), 0600), 0);
  }
  if (c.unreadable) {
    t.Write(c.file, kClass);
    tarno::files::SimulateUnreadableFile(t.dir() / c.file);
  }
}

// Reading is allowed again when a case ends.
struct ReadableAgain {
  ~ReadableAgain() { tarno::files::SimulateUnreadableFile({}); }
};

TEST(MissingComponent, LoadsTheRestWithAWarningNamingTheLineAndTheFile) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ReadableAgain readable;
    TempProject t;
    t.Write("Module1.bas", kModule);
    t.Write("Class1.cls", kClass);
    MakeBrokenFile(t, c);
    auto vbp = t.Write("P.vbp", VbpBytes(c));
    LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
    ASSERT_EQ(ws.projects.size(), 1u);
    const auto& comps = ws.projects[0]->components();
    ASSERT_EQ(comps.size(), 2u);
    EXPECT_EQ(comps[0]->Name(), u"Module1");
    EXPECT_EQ(comps[1]->Name(), u"Class1");
    ASSERT_EQ(ws.warnings.size(), 1u);
    const LoadWarning& w = ws.warnings[0];
    EXPECT_EQ(w.file, vbp);
    EXPECT_EQ(w.line, 3);
    EXPECT_NE(w.message.find("\"" + c.file + "\""), std::string::npos) << w.message;
    EXPECT_NE(w.message.find(c.problem), std::string::npos) << w.message;
    EXPECT_EQ(w.ToString().rfind(vbp.string() + ":3: ", 0), 0u) << w.ToString();
  }
}

TEST(MissingComponent, SavingKeepsTheProjectFileByteForByte) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ReadableAgain readable;
    TempProject t;
    t.Write("Module1.bas", kModule);
    t.Write("Class1.cls", kClass);
    MakeBrokenFile(t, c);
    const std::string bytes = VbpBytes(c);
    auto vbp = t.Write("P.vbp", bytes);
    LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
    auto& project = *ws.projects[0];
    // An edit of a component that did load writes that file only.
    project.components()[0]->code()->InsertLines(2, u"' edited");
    project.set_saved(false);
    auto written = Save(ws);
    EXPECT_EQ(t.Read("P.vbp"), bytes);
    EXPECT_NE(t.Read("Module1.bas").find("' edited"), std::string::npos);
    // A project file rendered anew (a component added) still holds the line.
    auto added = MemComponent::Create(ide::ComponentType::StdModule, u"Module2");
    added->fileNames().push_back(FromPath(t.dir() / "Module2.bas"));
    project.AddComponent(added);
    std::string rendered = RenderProject(project);
    EXPECT_NE(rendered.find("\r\n" + c.line + "\r\n"), std::string::npos) << rendered;
    EXPECT_NE(rendered.find("Module=Module2; Module2.bas"), std::string::npos) << rendered;
  }
}

struct CommandRun {
  int status = -1;
  std::string out;  // standard output and error output together
};

CommandRun Tarno(const std::string& args) {
  auto run = tarno::test::RunTarno(args);
  return {run.status, run.out + run.err};
}

TEST(MissingComponent, InfoAndCheckRunOnTheRest) {
  TempProject t;
  t.Write("Module1.bas", kModule);
  t.Write("Class1.cls", kClass);
  auto vbp = t.Write("P.vbp", VbpBytes(kCases[0]));
  const std::string warning = "warning: " + vbp.string() + ":3: the Module file \"Gone.bas\" is missing; left out";
  struct Run {
    std::string args;
    int status;
    const char* shows;  // something only a run over the rest prints
  };
  const Run runs[] = {
      {"info \"" + vbp.string() + "\"", 0, "Module1 (type 1)"},
      {"check variables --rules ide \"" + vbp.string() + "\"", 1, "unused"},
      {"check procedures --rules ide \"" + vbp.string() + "\"", 1, "Main"},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.args);
    CommandRun r = Tarno(run.args);
    EXPECT_EQ(r.status, run.status) << r.out;
    EXPECT_NE(r.out.find(warning), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(run.shows), std::string::npos) << r.out;
  }
  EXPECT_EQ(t.Read("P.vbp"), VbpBytes(kCases[0]));
}

}  // namespace
}  // namespace tarno::host::files
