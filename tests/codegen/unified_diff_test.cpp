#include "codegen/unified_diff.h"

#include <gtest/gtest.h>

#include <random>

namespace tarno::codegen {
namespace {

using Lines = std::vector<std::string>;

// Applies a unified diff to the old lines; fails the test on a malformed hunk.
Lines Apply(const Lines& oldLines, const std::string& diff) {
  Lines out;
  size_t oldPos = 0;
  size_t pos = 0;
  auto nextLine = [&](std::string& line) {
    if (pos >= diff.size()) return false;
    size_t end = diff.find('\n', pos);
    line = diff.substr(pos, end - pos);
    pos = end + 1;
    return true;
  };
  std::string line;
  while (nextLine(line)) {
    if (line.rfind("---", 0) == 0 || line.rfind("+++", 0) == 0) continue;
    if (line.rfind("@@", 0) == 0) {
      int oldStart = 0, oldCount = 1;
      if (sscanf(line.c_str(), "@@ -%d,%d", &oldStart, &oldCount) < 1) ADD_FAILURE() << line;
      size_t first = oldCount == 0 ? oldStart : oldStart - 1;
      while (oldPos < first) out.push_back(oldLines[oldPos++]);
      continue;
    }
    if (line[0] == ' ') {
      EXPECT_EQ(oldLines.at(oldPos), line.substr(1));
      out.push_back(oldLines[oldPos++]);
    } else if (line[0] == '-') {
      EXPECT_EQ(oldLines.at(oldPos), line.substr(1));
      ++oldPos;
    } else if (line[0] == '+') {
      out.push_back(line.substr(1));
    }
  }
  while (oldPos < oldLines.size()) out.push_back(oldLines[oldPos++]);
  return out;
}

TEST(UnifiedDiff, EqualTextsGiveNothing) {
  EXPECT_EQ(UnifiedDiff({"a", "b"}, {"a", "b"}, "a/x", "b/x"), "");
}

TEST(UnifiedDiff, OneChangedLineWithContext) {
  Lines a{"1", "2", "3", "4", "5", "6", "7", "8"};
  Lines b = a;
  b[4] = "'5";
  EXPECT_EQ(UnifiedDiff(a, b, "a/m.bas", "b/m.bas"),
            "--- a/m.bas\n+++ b/m.bas\n@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+'5\n 6\n 7\n 8\n");
}

TEST(UnifiedDiff, InsertionAtTheTopAndFarApartChangesMakeTwoHunks) {
  Lines a;
  for (int i = 1; i <= 20; ++i) a.push_back(std::to_string(i));
  Lines b = a;
  b.insert(b.begin(), "new");
  b[19] = "changed";
  std::string diff = UnifiedDiff(a, b, "a", "b");
  EXPECT_EQ(diff.find("--- a\n+++ b\n@@ -1,3 +1,4 @@\n+new\n 1\n"), 0u) << diff;
  EXPECT_NE(diff.find("@@ -16,5 +17,5 @@"), std::string::npos) << diff;
}

TEST(UnifiedDiff, RandomEditsApplyBackToTheNewText) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    Lines a;
    int n = rng() % 40;
    for (int i = 0; i < n; ++i) a.push_back(std::string(1, static_cast<char>('a' + rng() % 5)));
    Lines b = a;
    int edits = rng() % 6;
    for (int e = 0; e < edits; ++e) {
      int kind = rng() % 3;
      if (kind == 0 || b.empty()) {
        b.insert(b.begin() + (b.empty() ? 0 : rng() % (b.size() + 1)), "ins");
      } else if (kind == 1) {
        b.erase(b.begin() + rng() % b.size());
      } else {
        b[rng() % b.size()] = "chg";
      }
    }
    std::string diff = UnifiedDiff(a, b, "a", "b", static_cast<int>(rng() % 4));
    EXPECT_EQ(Apply(a, diff), b) << diff;
    EXPECT_EQ(diff.empty(), a == b);
    // A search cut short still gives a diff that makes the new text.
    std::string coarse = UnifiedDiff(a, b, "a", "b", 3, static_cast<int>(rng() % 3));
    EXPECT_EQ(Apply(a, coarse), b) << coarse;
    EXPECT_EQ(coarse.empty(), a == b);
  }
}

}  // namespace
}  // namespace tarno::codegen
