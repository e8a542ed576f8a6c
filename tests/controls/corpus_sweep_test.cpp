// The control tools on every form of the corpus, each in its own code page:
// what they write is only the lines of the properties they set, and running
// them again on what they wrote changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include <unistd.h>

#include "controls/control_layout.h"
#include "controls/cotrol_style.h"
#include "controls/order_list.h"
#include "controls/style_apply.h"
#include "host/files/file_state.h"
#include "host/files/project_loader.h"
#include "platform/vb_text.h"

namespace tarno::controls {
namespace {

namespace fs = std::filesystem;
namespace files = host::files;

struct CorpusForm {
  fs::path file;
  CodePage cp;
};

std::vector<CorpusForm> CorpusForms() {
  const fs::path corpus(TARNO_CORPUS_DIR);
  std::vector<CorpusForm> out;
  std::ifstream in(corpus / "MANIFEST.tsv");
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    for (size_t pos = 0;;) {
      size_t tab = line.find('\t', pos);
      cols.push_back(line.substr(pos, tab - pos));
      if (tab == std::string::npos) break;
      pos = tab + 1;
    }
    if (cols.size() < 11) continue;
    CodePage cp = cols[10] == "cp932"   ? CodePage::Cp932()
                  : cols[10] == "utf-8" ? CodePage::Named("UTF-8")
                                        : CodePage::Named("CP1252");
    for (const auto& e : fs::recursive_directory_iterator(corpus / cols[0])) {
      std::string ext = e.path().extension().string();
      for (auto& ch : ext) ch = char(std::tolower(static_cast<unsigned char>(ch)));
      if (e.is_regular_file() && ext == ".frm") out.push_back({e.path(), cp});
    }
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.file < b.file; });
  return out;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  for (size_t pos = 0; pos < bytes.size();) {
    size_t nl = bytes.find('\n', pos);
    size_t end = nl == std::string::npos ? bytes.size() : nl + 1;
    out.push_back(bytes.substr(pos, end - pos));
    pos = end;
  }
  return out;
}

// The property name of a designer line ("Top" of "   Top = 120"), or the
// group line's word (BeginProperty, EndProperty).
std::string NameOf(const std::string& line) {
  size_t a = line.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  size_t b = line.find_first_of(" =\r\n", a);
  return line.substr(a, b == std::string::npos ? std::string::npos : b - a);
}

const std::set<std::string> kFontLines = {"BeginProperty", "Name",   "Size",          "Charset",    "Weight",
                                          "Underline",     "Italic", "Strikethrough", "EndProperty"};

// Every line of `after` that is not the line of `before` at that place is a
// line of an allowed property, put in place of one of the same property or
// inserted; nothing of `before` is lost.
void ExpectOnlyLinesOf(const std::vector<std::string>& before, const std::vector<std::string>& after,
                       const std::set<std::string>& allowed) {
  size_t i = 0, j = 0;
  while (i < before.size() || j < after.size()) {
    if (i < before.size() && j < after.size() && before[i] == after[j]) {
      ++i, ++j;
      continue;
    }
    // A line of an allowed property whose value became VB's default goes.
    if (i < before.size() && allowed.count(NameOf(before[i])) &&
        (j >= after.size() || (i + 1 < before.size() && before[i + 1] == after[j]))) {
      ++i;
      continue;
    }
    ASSERT_LT(j, after.size()) << "line " << i + 1 << " lost: " << before[i];
    const std::string name = NameOf(after[j]);
    ASSERT_TRUE(allowed.count(name) || kFontLines.count(name)) << "line " << j + 1 << " written: " << after[j];
    if (i < before.size() && NameOf(before[i]) == name) ++i;  // replaced in place
    ++j;
  }
}

struct Tool {
  const char* name;
  std::set<std::string> lines;  // the properties it sets
  std::function<void(host::MemDesigner&)> run;
};

std::vector<std::shared_ptr<host::MemControl>> With(host::MemDesigner& d, const char16_t* property,
                                                    const char16_t* cls = nullptr) {
  std::vector<std::shared_ptr<host::MemControl>> out;
  for (const auto& c : d.controls())
    if (c->Has(property) && (!cls || c->cls().name == cls)) out.push_back(c);
  return out;
}

TEST(CorpusSweepTest, ControlToolsWriteOnlyTheirLinesAndASecondRunChangesNothing) {
  if (!fs::exists(fs::path(TARNO_CORPUS_DIR) / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus";
  clsCotrolStyle pattern;
  pattern.SetCType(2);
  pattern.SetFlg(u"1");
  pattern.SetFont(u"Arial");
  pattern.SetFontSize(9);
  pattern.SetWidth(1200);
  const Tool tools[] = {
      {"tabindex", {"TabIndex"}, [](host::MemDesigner& d) { SetTabIndexes(d, TabIndexRows(d)); }},
      {"index", {"Index"},
       [](host::MemDesigner& d) {
         IndexTable table = BuildIndexTable(d);
         if (!table.NoFreeIndex()) SetIndexes(d, table.arrays, table.Rows());
       }},
      {"layout", {"Top", "Left"},
       [](host::MemDesigner& d) {
         d.SetSelected(With(d, u"Top"));
         ApplyPositions(true, &d, {u"120", u"240", u"", u""});
       }},
      {"layout --bold", {},
       [](host::MemDesigner& d) {
         d.SetSelected(With(d, u"Font"));
         if (d.selected().empty()) return;
         HeldFont font = GatherCommonValues(true, d.shared_from_this()).font;
         if (font.Name.empty()) font.Name = d.selected()[0]->GetFont()->values().name;
         font.Bold = true;
         ApplyFont(true, &d, font.Name, font);
       }},
      {"styles apply", {"Width", "Enabled"},
       [&pattern](host::MemDesigner& d) {
         d.SetSelected(With(d, u"Caption", u"CommandButton"));
         if (!d.selected().empty()) ApplyStylePattern(d.shared_from_this(), pattern);
       }},
  };
  const fs::path root = fs::temp_directory_path() / ("tarno_sweep_" + std::to_string(::getpid()));
  int forms = 0, changed = 0;
  for (const auto& [file, cp] : CorpusForms()) {
    SCOPED_TRACE(file.string());
    const std::string original = files::ReadFileBytes(file);
    for (const auto& tool : tools) {
      SCOPED_TRACE(tool.name);
      fs::remove_all(root);
      fs::create_directories(root);
      // A writable copy beside its binary file, as a user has it.
      for (const auto& e : fs::directory_iterator(file.parent_path()))
        if (e.path().stem() == file.stem()) {
          fs::copy_file(e.path(), root / e.path().filename());
          fs::permissions(root / e.path().filename(), fs::perms::owner_write, fs::perm_options::add);
        }
      const fs::path copy = root / file.filename();
      std::string first;
      for (int run = 0; run < 2; ++run) {
        auto ws = files::LoadPath(copy, cp);
        auto& c = *ws.projects.at(0)->components().at(0);
        if (!c.designer()) break;
        tool.run(*c.designer());
        std::string written;
        try {
          written = files::RenderComponent(c);
        } catch (const std::exception& e) {
          // A font the file's code page cannot hold is refused, not written.
          EXPECT_NE(std::string(e.what()).find("cannot be written in code page"), std::string::npos) << e.what();
          break;
        }
        if (run == 0) {
          ExpectOnlyLinesOf(Lines(original), Lines(written), tool.lines);
          changed += written != original;
          first = written;
          std::ofstream(copy, std::ios::binary | std::ios::trunc) << written;
        } else {
          EXPECT_EQ(written, first) << "the second run changed the file";
        }
      }
    }
    ++forms;
  }
  fs::remove_all(root);
  EXPECT_GT(forms, 300);
  EXPECT_GT(changed, 300);
}

}  // namespace
}  // namespace tarno::controls
