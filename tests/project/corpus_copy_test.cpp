// Every form, user control and property page of the corpus, copied with
// `tarno copy` into a fresh project: the copy's designer block is its
// source's, byte for byte, but for the lines a copy changes (the form's name,
// its binary file's name in references, a control project's path rebased),
// and the copy loads back with the source's controls and values.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

#include <unistd.h>

#include "host/controls.h"
#include "host/files/component_file.h"
#include "host/files/project_loader.h"
#include "host/files/text_lines.h"
#include "platform/utf8_path.h"
#include "platform/vb_text.h"
#include "support/tarno_run.h"

namespace tarno::project {
namespace {

namespace fs = std::filesystem;
namespace files = host::files;

struct CorpusComponent {
  fs::path file;
  std::string encoding;  // as the manifest names it
};

std::vector<CorpusComponent> CorpusDesigners() {
  const fs::path corpus(TARNO_CORPUS_DIR);
  std::vector<CorpusComponent> out;
  std::ifstream in(corpus / "MANIFEST.tsv");
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    for (size_t pos = 0;;) {
      size_t tab = line.find('\t', pos);
      cols.push_back(line.substr(pos, tab - pos));
      if (tab == std::string::npos) break;
      pos = tab + 1;
    }
    if (cols.size() < 11) continue;
    for (const auto& e : fs::recursive_directory_iterator(corpus / tarno::files::PathOfUtf8(cols[0]))) {
      std::string ext = e.path().extension().string();
      for (auto& ch : ext) ch = char(std::tolower(static_cast<unsigned char>(ch)));
      if (e.is_regular_file() && (ext == ".frm" || ext == ".ctl" || ext == ".pag")) out.push_back({e.path(), cols[10]});
    }
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.file < b.file; });
  return out;
}

CodePage CodePageFor(const std::string& encoding) {
  if (encoding == "cp932") return CodePage::Cp932();
  if (encoding == "utf-8") return CodePage::Named("UTF-8");
  return CodePage::Named("CP1252");  // cp1252, ascii, mixed
}

std::string Lower(std::string s) {
  for (auto& ch : s) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

// The lines before `Attribute VB_Name`, each with its line end.
std::vector<std::string> HeaderLines(const std::string& bytes) {
  std::vector<std::string> out;
  for (size_t pos = 0; pos < bytes.size();) {
    size_t nl = bytes.find('\n', pos);
    size_t end = nl == std::string::npos ? bytes.size() : nl + 1;
    std::string line = bytes.substr(pos, end - pos);
    if (line.starts_with("Attribute VB_Name")) break;
    out.push_back(std::move(line));
    pos = end;
  }
  return out;
}

// The source's header as the copy should have it: the root's Begin line
// names the copy, binary references name the copy's binary file, and (for a
// property page, whose controls a copy does not take) no control blocks.
std::vector<std::string> ExpectedHeader(std::vector<std::string> lines, const std::string& copy_name,
                                        const std::string& sidecar_ext, bool drop_controls) {
  std::vector<std::string> out;
  const std::regex begin(R"(^(\s*)Begin\s+(\S+)\s+\S+)");
  const std::regex reference("\"([^\"]*)(\\" + sidecar_ext + ")\":", std::regex::icase);
  int depth = 0;
  bool first_sidecar = true;
  std::string sidecar_name;
  for (auto& l : lines) {
    std::smatch m;
    const bool is_begin = std::regex_search(l, m, begin);
    const std::string trimmed = l.substr(l.find_first_not_of(' ') == std::string::npos ? 0 : l.find_first_not_of(' '));
    if (is_begin) {
      ++depth;
      if (depth == 1) l = m[1].str() + "Begin " + m[2].str() + " " + copy_name + m.suffix().str();
    }
    bool drop = drop_controls && depth >= 2;
    if (!is_begin && (trimmed.starts_with("End\r") || trimmed.starts_with("End\n") || trimmed == "End")) --depth;
    if (std::regex_search(l, m, reference)) {
      if (first_sidecar) sidecar_name = m[1].str() + m[2].str();
      first_sidecar = false;
      if (Lower(m[1].str() + m[2].str()) == Lower(sidecar_name))
        l = m.prefix().str() + "\"" + copy_name + sidecar_ext + "\":" + m.suffix().str();
    }
    if (!drop) out.push_back(l);
  }
  return out;
}

// Every control of a loaded designer, the form first, with the values a
// comparison needs: binary references with their file name taken out.
std::vector<std::string> Described(host::MemDesigner& d) {
  std::vector<std::shared_ptr<host::MemControl>> all{d.form()};
  all.insert(all.end(), d.controls().begin(), d.controls().end());
  std::vector<std::string> out;
  const std::regex file_name("\"[^\"]*\":");
  for (size_t i = 0; i < all.size(); ++i) {
    const auto& c = *all[i];
    std::string s = vb::ToUtf8(c.cls().progId);
    if (i > 0)
      s += " " + vb::ToUtf8(c.name()) + "(" + std::to_string(c.index()) + ") in " +
           (c.parent() ? vb::ToUtf8(c.parent()->name()) : std::string("-"));
    for (int k = 0; k < c.PropertyCount(); ++k) {
      const auto& def = c.PropertyDef(k);
      if (i == 0 && def.name == u"Name") continue;
      ide::Variant v = c.ValueAt(k);
      std::string text = std::visit(
          [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::u16string>) return vb::ToUtf8(x);
            else if constexpr (std::is_same_v<T, std::monostate>) return "(none)";
            else return std::to_string(x);
          },
          v);
      s += "; " + vb::ToUtf8(def.name) + "=" + std::regex_replace(text, file_name, "\"F\":");
      if (auto font = c.FontAt(k)) {
        const auto& f = font->values();
        s += "[" + vb::ToUtf8(f.name) + " " + std::to_string(f.size) + " " + std::to_string(f.weight) + " " +
             std::to_string(f.charset) + (f.italic ? " i" : "") + (f.underline ? " u" : "") + "]";
      }
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::string ProjectKey(const fs::path& file) {
  std::string ext = Lower(file.extension().string());
  if (ext == ".ctl") return "UserControl";
  if (ext == ".pag") return "PropertyPage";
  return "Form";
}

std::string SidecarExtension(const fs::path& file) {
  std::string ext = Lower(file.extension().string());
  if (ext == ".ctl") return ".ctx";
  if (ext == ".pag") return ".pgx";
  return ".frx";
}

TEST(CorpusCopyTest, EveryDesignerCopiesToItsOwnLinesAndLoadsBackEqual) {
  if (!fs::exists(fs::path(TARNO_CORPUS_DIR) / "MANIFEST.tsv")) GTEST_SKIP() << "no corpus at " << TARNO_CORPUS_DIR;
  const auto all = CorpusDesigners();
  ASSERT_GT(all.size(), 400u);
  const fs::path root = fs::temp_directory_path() / ("tarno_corpus_copy_" + std::to_string(::getpid()));
  int copied = 0, refused = 0, pages = 0;
  for (size_t n = 0; n < all.size(); ++n) {
    const auto& [file, encoding] = all[n];
    SCOPED_TRACE(file.string());
    const CodePage cp = CodePageFor(encoding);
    const std::string source_bytes = files::ReadFileBytes(file);
    auto vb_name = files::ComponentFile::Parse(file, source_bytes, nullptr).VbName();
    if (!vb_name) continue;  // not a component a project could name
    // A fresh pair of projects: one naming the corpus file where it lies, one empty.
    fs::remove_all(root);
    fs::create_directories(root / "src");
    fs::create_directories(root / "tgt");
    // Relative where it can be; on Windows the corpus may be on another drive.
    fs::path relative = file.lexically_relative(root / "src");
    std::string written = tarno::files::Utf8OfPath(relative.empty() ? file : relative);
    std::replace(written.begin(), written.end(), '/', '\\');
    std::ofstream(root / "src/S.vbp", std::ios::binary)
        << "Type=Exe\r\n" << ProjectKey(file) << "=" << cp.Encode(vb::U(written)) << "\r\nName=\"S\"\r\n";
    const std::string empty_project = "Type=Exe\r\nName=\"T\"\r\n";
    std::ofstream(root / "tgt/T.vbp", std::ios::binary) << empty_project;

    const bool is_page = ProjectKey(file) == "PropertyPage";
    auto source = files::LoadPath(root / "src/S.vbp", cp);
    auto& sc = *source.projects.at(0)->components().at(0);
    bool long_name = false;
    for (const auto& c : sc.designer()->controls()) long_name = long_name || c->name().size() > 40;
    const std::string args = "src/S.vbp --component " + test::ShellQuote(vb::ToUtf8(sc.name())) +
                             " --to tgt/T.vbp --name TarnoCopy --code --encoding " + cp.name() +
                             (is_page ? "" : " --controls");
    const auto run = test::RunTarno("copy " + args, root);
    if (long_name && !is_page) {
      // A control name the copy could not keep: refused, nothing written.
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find("longer than 40"), std::string::npos) << run.err;
      EXPECT_EQ(files::ReadFileBytes(root / "tgt/T.vbp"), empty_project);
      EXPECT_EQ(std::distance(fs::directory_iterator(root / "tgt"), fs::directory_iterator()), 1);
      ++refused;
      continue;
    }
    ASSERT_EQ(run.status, 0) << run.err;
    const fs::path copy_file = root / "tgt" / ("TarnoCopy" + file.extension().string());
    const std::string copy_bytes = files::ReadFileBytes(copy_file);

    auto expected = ExpectedHeader(HeaderLines(source_bytes), "TarnoCopy", SidecarExtension(file), is_page);
    auto actual = HeaderLines(copy_bytes);
    // A control project's path is rebased to the new folder: it must lead to the same project.
    const std::regex project_object(R"re(^Object = "\*\\A([^"]*)")re");
    for (size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
      std::smatch was, now;
      if (std::regex_search(expected[i], was, project_object) && std::regex_search(actual[i], now, project_object)) {
        std::string a = was[1].str(), b = now[1].str();
        std::replace(a.begin(), a.end(), '\\', '/');
        std::replace(b.begin(), b.end(), '\\', '/');
        EXPECT_TRUE(fs::equivalent(file.parent_path() / a, root / "tgt" / b)) << actual[i];
        actual[i] = expected[i];
      }
    }
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;

    // Loaded back, the copy has the source's controls and values (a property
    // page without its controls).
    auto target = files::LoadPath(root / "tgt/T.vbp", cp);
    auto copy = target.projects.at(0)->Component(u"TarnoCopy");
    ASSERT_TRUE(copy);
    auto want = Described(*sc.designer());
    auto got = Described(*copy->designer());
    if (is_page) {
      want.resize(1);
      ++pages;
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(copy->code()->text().CodeText(), sc.code()->text().CodeText());
    ++copied;
  }
  fs::remove_all(root);
  EXPECT_GT(copied, 400);
  EXPECT_GT(refused, 0);  // the corpus has a control name over 40 characters
  EXPECT_GT(pages, 0);
}

}  // namespace
}  // namespace tarno::project
