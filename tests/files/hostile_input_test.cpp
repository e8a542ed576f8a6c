// Hostile and broken project files: each gives its documented result (the
// load fails naming the file and line, or loads with a warning naming them),
// never a crash or a hang, and nothing on disk changes. The README's table
// "What the tools write" is this one in short.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "host/files/project_loader.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"
#include "temp_project.h"

namespace tarno::host::files {
namespace {

namespace fs = std::filesystem;
using testing::TempProject;

enum class Result { Loads, LoadsWithWarning, Fails };

struct HostileCase {
  const char* what;
  std::function<fs::path(TempProject&)> make;  // writes the files, gives the one to open
  Result result;
  const char* file;     // the file named by the error or warning
  int line;             // and its line (0: the whole file)
  const char* message;  // a part of the message
};

const std::string kForm =
    "VERSION 5.00\r\nBegin VB.Form Form1 \r\n   Caption         =   \"Form1\"\r\n";

std::string FormWith(const std::string& inner) {
  return kForm + inner + "End\r\nAttribute VB_Name = \"Form1\"\r\nOption Explicit\r\n";
}

std::string NestedBlocks(int depth) {
  std::string open, close;
  for (int i = 0; i < depth; ++i) {
    std::string pad(size_t(3 + 3 * (i % 20)), ' ');
    open += pad + "Begin VB.PictureBox P" + std::to_string(i) + " \r\n" + pad + "   Height = 100\r\n";
    close = pad + "End\r\n" + close;
  }
  return open + close;
}

std::string ManyLines(size_t n) {
  std::string s = "Attribute VB_Name = \"Big\"\r\nSub Main()\r\n";
  for (size_t i = 0; i < n; ++i) s += "  x = x + " + std::to_string(i) + "\r\n";
  return s + "End Sub\r\n";
}

const HostileCase kCases[] = {
    {"a missing component file",
     [](TempProject& t) { return t.Write("App.vbp", "Type=Exe\r\nModule=M; Gone.bas\r\n"); },
     Result::LoadsWithWarning, "App.vbp", 2, "is missing"},
    {"a .vbp line naming the root folder",
     [](TempProject& t) { return t.Write("App.vbp", "Type=Exe\r\nUserControl=/\r\n"); },
     Result::LoadsWithWarning, "App.vbp", 2, "is not a file; left out"},
    {"a .vbp line naming the project's own folder",
     [](TempProject& t) { return t.Write("App.vbp", "Type=Exe\r\nForm=.\r\n"); },
     Result::LoadsWithWarning, "App.vbp", 2, "is not a file; left out"},
    {"a .vbp line naming a device",
     [](TempProject& t) { return t.Write("App.vbp", "Type=Exe\r\nModule=M; /dev/zero\r\n"); },
     Result::LoadsWithWarning, "App.vbp", 2, "is not a file; left out"},
    {"a group naming a folder as a project",
     [](TempProject& t) {
       fs::create_directories(t.dir() / "Sub.vbp");
       return t.Write("G.vbg", "VBGROUP 5.0\r\nStartupProject=Sub.vbp\r\n");
     },
     Result::Fails, "Sub.vbp", 0, "is a folder"},
    {"a font Charset that is no Integer",
     [](TempProject& t) {
       return t.Write("F.frm", FormWith("   BeginProperty Font \r\n      Name = \"Arial\"\r\n"
                                        "      Charset = 95028\r\n   EndProperty\r\n"));
     },
     Result::LoadsWithWarning, "F.frm", 6, "Charset 95028 is not an Integer"},
    {"a control Index beyond 32767",
     [](TempProject& t) {
       return t.Write("F.frm", FormWith("   Begin VB.Label L \r\n      Index = 1E+20\r\n   End\r\n"));
     },
     Result::LoadsWithWarning, "F.frm", 4, "Index is not 0 to 32767"},
    {"a binary-file offset beyond any file",
     [](TempProject& t) {
       t.Write("F.frx", std::string("\x04\0\0\0abcd", 8));
       return t.Write("F.frm", FormWith("   Tag = $\"F.frx\":FFFFFFFFFFFFFFFF\r\n"));
     },
     Result::Loads, "", 0, ""},
    {"bytes not valid in the code page",
     [](TempProject& t) { return t.Write("B.bas", "Attribute VB_Name = \"B\"\r\n' \x81\x20\xFF\r\n"); },
     Result::LoadsWithWarning, "B.bas", 2, "not valid in"},
    {"a 10 MB single line",
     [](TempProject& t) {
       return t.Write("L.bas", "Attribute VB_Name = \"L\"\r\n' " + std::string(10u << 20, 'x') + "\r\n");
     },
     Result::Loads, "", 0, ""},
    {"100,000 lines in one procedure", [](TempProject& t) { return t.Write("Big.bas", ManyLines(100000)); },
     Result::Loads, "", 0, ""},
    {"1,000 nested designer blocks", [](TempProject& t) { return t.Write("N.frm", FormWith(NestedBlocks(1000))); },
     Result::Loads, "", 0, ""},
    {"a binary file named .frm",
     [](TempProject& t) { return t.Write("Bin.frm", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\x01", 18)); },
     Result::Fails, "Bin.frm", 3, "binary data (a NUL byte)"},
};

size_t FileCount(const fs::path& dir) {
  size_t n = 0;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) ++n;
  return n;
}

TEST(HostileInputTest, EachCaseGivesItsDocumentedResultAndWritesNothing) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TempProject t;
    fs::path path = c.make(t);
    size_t files = FileCount(t.dir());
    std::string bytes = fs::is_regular_file(path) ? ReadFileBytes(path) : "";
    auto names = [&](const fs::path& file, int line, const std::string& message) {
      EXPECT_EQ(file.filename(), c.file) << message;
      EXPECT_EQ(line, c.line) << message;
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
    };
    try {
      LoadedWorkspace ws = LoadPath(path, CodePage::Cp932());
      ASSERT_NE(c.result, Result::Fails) << "loaded";
      if (c.result == Result::Loads) {
        EXPECT_TRUE(ws.warnings.empty()) << ws.warnings[0].ToString();
      } else {
        ASSERT_FALSE(ws.warnings.empty());
        names(ws.warnings[0].file, ws.warnings[0].line, ws.warnings[0].ToString());
      }
      // What loaded writes back exactly, and a save without an edit writes nothing.
      for (const auto& comp : ws.projects[0]->components()) {
        if (!comp->fileNames().empty() && comp->code()) {
          EXPECT_TRUE(RenderComponent(*comp) == ReadFileBytes(ToPath(comp->fileNames()[0])));
        }
      }
      EXPECT_TRUE(Save(ws).empty());
    } catch (const ProjectFileError& e) {
      ASSERT_TRUE(c.result == Result::Fails) << e.what();
      names(e.file(), e.line(), e.what());
    }
    EXPECT_EQ(FileCount(t.dir()), files);
    if (!bytes.empty()) {
      EXPECT_TRUE(ReadFileBytes(path) == bytes);
    }
  }
}

TEST(HostileInputTest, LargeInputsKeepTheirShape) {
  TempProject t;
  LoadedWorkspace big = LoadPath(t.Write("Big.bas", ManyLines(100000)), CodePage::Cp932());
  EXPECT_EQ(big.projects[0]->components()[0]->CodeModule()->CountOfLines(), 100002);
  LoadedWorkspace nested = LoadPath(t.Write("N.frm", FormWith(NestedBlocks(1000))), CodePage::Cp932());
  EXPECT_EQ(nested.projects[0]->components()[0]->designer()->controls().size(), 1000u);
  LoadedWorkspace font = LoadPath(kCases[5].make(t), CodePage::Cp932());
  auto f = font.projects[0]->components()[0]->designer()->form()->GetFont(u"Font");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->values().charset, 128);  // the default font's, kept
  EXPECT_EQ(vb::ToUtf8(f->values().name), "Arial");
}

// A .vbp may name a file outside its folder: it is read as VB reads it and
// written only when that component changed.
TEST(HostileInputTest, AComponentOutsideTheProjectFolderIsWrittenOnlyWhenChanged) {
  TempProject t;
  const std::string shared = "Attribute VB_Name = \"Shared\"\r\nPublic x As Long\r\n";
  t.Write("lib/Shared.bas", shared);
  t.Write("app/Own.bas", "Attribute VB_Name = \"Own\"\r\nDim y\r\n");
  auto vbp = t.Write("app/App.vbp", "Type=Exe\r\nModule=Shared; ..\\lib\\Shared.bas\r\nModule=Own; Own.bas\r\n");
  LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
  ASSERT_EQ(ws.projects[0]->components().size(), 2u);
  EXPECT_TRUE(ws.warnings.empty());
  ws.projects[0]->components()[1]->CodeModule()->InsertLines(1, u"' own edit");
  auto written = Save(ws);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].filename(), "Own.bas");
  EXPECT_EQ(t.Read("lib/Shared.bas"), shared);
  ws.projects[0]->components()[0]->CodeModule()->InsertLines(2, u"' shared edit");
  written = Save(ws);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(t.Read("lib/Shared.bas"), shared + "' shared edit\r\n");
}

// A .vbp line naming a module otherwise than its file (a fuzz finding): the
// file's name wins, and the project file is not written for it.
TEST(HostileInputTest, AModuleNamedOtherwiseInTheProjectIsNotAnEdit) {
  TempProject t;
  t.Write("Module1.bas", "Attribute VB_Name = \"Module1\"\r\nDim a\r\n");
  const std::string project = "Type=Exe\r\nModule=Module0; Module1.bas\r\n";
  auto vbp = t.Write("App.vbp", project);
  LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
  EXPECT_EQ(vb::ToUtf8(ws.projects[0]->components()[0]->name()), "Module1");
  EXPECT_TRUE(Save(ws).empty());
  EXPECT_EQ(t.Read("App.vbp"), project);
  EXPECT_EQ(RenderProject(*ws.projects[0]), "Type=Exe\r\nModule=Module1; Module1.bas\r\n");
}

// A failed save (read-only folder, full disk, failed rename) leaves the old
// file whole, no temporary file behind, and the component still changed.
TEST(HostileInputTest, AFailedSaveLeavesTheOldFileWhole) {
  using tarno::files::WriteFault;
  for (auto [fault, reason] : {std::pair{WriteFault::CannotCreate, "cannot create temporary file"},
                               std::pair{WriteFault::DiskFull, "No space left on device"},
                               std::pair{WriteFault::RenameFails, "cannot replace file"}}) {
    SCOPED_TRACE(reason);
    TempProject t;
    const std::string old = "Attribute VB_Name = \"M\"\r\nDim a\r\n";
    t.Write("M.bas", old);
    auto vbp = t.Write("App.vbp", "Type=Exe\r\nModule=M; M.bas\r\n");
    LoadedWorkspace ws = LoadPath(vbp, CodePage::Cp932());
    auto c = ws.projects[0]->components()[0];
    c->CodeModule()->InsertLines(1, u"' edit");
    tarno::files::SimulateWriteFault(fault);
    try {
      Save(ws);
      ADD_FAILURE() << "the save succeeded";
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find("M.bas"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
    }
    tarno::files::SimulateWriteFault(WriteFault::None);
    EXPECT_EQ(t.Read("M.bas"), old);
    EXPECT_EQ(t.FileCount(), 2u);
    EXPECT_TRUE(c->IsDirty());
    EXPECT_EQ(Save(ws).size(), 1u);  // and the next save goes through
  }
}

}  // namespace
}  // namespace tarno::host::files
