#include "corpus.h"

#include <algorithm>
#include <fstream>

#include "platform/utf8_path.h"

namespace tarno::test {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (true) {
    size_t end = text.find(separator, pos);
    out.push_back(text.substr(pos, end - pos));
    if (end == std::string::npos) return out;
    pos = end + 1;
  }
}

}  // namespace

std::vector<CorpusFolder> CorpusFolders(const fs::path& root) {
  std::vector<CorpusFolder> out;
  std::ifstream manifest(root / "MANIFEST.tsv");
  std::string line;
  std::getline(manifest, line);  // column names
  while (std::getline(manifest, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto cols = Split(line, '\t');
    if (cols.size() < 11) continue;
    CorpusFolder folder{root / files::PathOfUtf8(cols[0]), cols[10], {}};
    for (const auto& vbp : Split(cols[4], ';')) {
      if (!vbp.empty()) folder.vbps.push_back(folder.path / files::PathOfUtf8(vbp));
    }
    out.push_back(std::move(folder));
  }
  return out;
}

CodePage CorpusCodePage(const std::string& encoding) {
  if (encoding == "cp932") return CodePage::Cp932();
  if (encoding == "utf-8") return CodePage::Named("UTF-8");
  if (encoding == "gbk") return CodePage::Named("GBK");
  return CodePage::Named("CP1252");
}

std::vector<CorpusProject> CorpusProjects(const fs::path& root) {
  std::vector<CorpusProject> out;
  for (const auto& folder : CorpusFolders(root)) {
    for (const auto& vbp : folder.vbps) out.push_back({vbp, folder.encoding});
  }
  return out;
}

std::vector<fs::path> FilesWithExtensions(const fs::path& root, std::initializer_list<std::string_view> extensions) {
  std::vector<fs::path> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    std::string x = e.path().extension().string();
    std::transform(x.begin(), x.end(), x.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (e.is_regular_file() && std::find(extensions.begin(), extensions.end(), x) != extensions.end()) {
      out.push_back(e.path());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace tarno::test
