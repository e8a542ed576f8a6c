// The shared folder of real VB 6 projects, as its MANIFEST.tsv lists them:
// one row per folder, with the code page its files are written in.
//
//   for (const auto& p : test::CorpusProjects(TARNO_CORPUS_DIR)) Load(p.vbp, p.codePage);
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace tarno::test {

struct CorpusFolder {
  std::filesystem::path path;              // root / folder
  std::string encoding;                    // the manifest's word: cp932, cp1252, utf-8, gbk, ascii, mixed
  std::vector<std::filesystem::path> vbps;  // the project files the manifest names, under path
};

// The manifest's rows, in its order; empty when there is no corpus at root.
std::vector<CorpusFolder> CorpusFolders(const std::filesystem::path& root);

// The code page a folder's files load in (ASCII-only and mixed folders as
// CP1252, the code page of most of their non-ASCII files).
CodePage CorpusCodePage(const std::string& encoding);

struct CorpusProject {
  std::filesystem::path vbp;
  std::string encoding;
};

// Every project file the manifest names, folder by folder.
std::vector<CorpusProject> CorpusProjects(const std::filesystem::path& root);

// The regular files under root whose extension, in lower case, is one of
// extensions (".bas"), sorted.
std::vector<std::filesystem::path> FilesWithExtensions(const std::filesystem::path& root,
                                                       std::initializer_list<std::string_view> extensions);

}  // namespace tarno::test
