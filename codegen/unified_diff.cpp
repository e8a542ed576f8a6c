#include "codegen/unified_diff.h"

#include <algorithm>

namespace tarno::codegen {

namespace {

enum class Op { Keep, Delete, Insert };

struct Step {
  Op op;
  int oldIndex;  // 0-based line of the old text (Keep, Delete)
  int newIndex;  // 0-based line of the new text (Keep, Insert)
};

// Keeps the common head and tail and replaces everything between them.
std::vector<Step> CoarseScript(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  const int n = static_cast<int>(a.size());
  const int m = static_cast<int>(b.size());
  int head = 0;
  while (head < n && head < m && a[head] == b[head]) ++head;
  int tail = 0;
  while (tail < n - head && tail < m - head && a[n - 1 - tail] == b[m - 1 - tail]) ++tail;
  std::vector<Step> steps;
  for (int i = 0; i < head; ++i) steps.push_back({Op::Keep, i, i});
  for (int i = head; i < n - tail; ++i) steps.push_back({Op::Delete, i, head});
  for (int j = head; j < m - tail; ++j) steps.push_back({Op::Insert, n - tail, j});
  for (int i = 0; i < tail; ++i) steps.push_back({Op::Keep, n - tail + i, m - tail + i});
  return steps;
}

// Myers' O((N+M)D) shortest edit script. The edits of the code generators are
// mostly few and local; the frontiers kept for the walk back cost about D*D
// integers, so past `maxEdits` the script falls back to one coarse change.
std::vector<Step> EditScript(const std::vector<std::string>& a, const std::vector<std::string>& b, int maxEdits) {
  const int n = static_cast<int>(a.size());
  const int m = static_cast<int>(b.size());
  const int max = n + m;
  const int offset = max + 1;
  std::vector<int> v(2 * max + 3, 0);
  std::vector<std::vector<int>> trace;
  int finalD = 0;
  for (int d = 0; d <= max; ++d) {
    if (d > maxEdits) return CoarseScript(a, b);
    // Only the diagonals -d..d can be read back at this depth.
    trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
    bool done = false;
    for (int k = -d; k <= d; k += 2) {
      int x;
      if (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
        x = v[offset + k + 1];
      else
        x = v[offset + k - 1] + 1;
      int y = x - k;
      while (x < n && y < m && a[x] == b[y]) {
        ++x;
        ++y;
      }
      v[offset + k] = x;
      if (x >= n && y >= m) {
        done = true;
        break;
      }
    }
    if (done) {
      finalD = d;
      break;
    }
  }
  // Walk back through the saved frontiers.
  std::vector<Step> steps;
  int x = n, y = m;
  for (int d = finalD; d > 0; --d) {
    const std::vector<int>& frontier = trace[d];
    auto pv = [&](int diagonal) { return frontier[diagonal + d]; };
    int k = x - y;
    int prevK;
    if (k == -d || (k != d && pv(k - 1) < pv(k + 1)))
      prevK = k + 1;
    else
      prevK = k - 1;
    int prevX = pv(prevK);
    int prevY = prevX - prevK;
    while (x > prevX && y > prevY) {
      --x;
      --y;
      steps.push_back({Op::Keep, x, y});
    }
    if (x == prevX) {
      --y;
      steps.push_back({Op::Insert, x, y});
    } else {
      --x;
      steps.push_back({Op::Delete, x, y});
    }
  }
  while (x > 0 && y > 0) {
    --x;
    --y;
    steps.push_back({Op::Keep, x, y});
  }
  std::reverse(steps.begin(), steps.end());
  return steps;
}

std::string Range(int start, int count) {
  // diff -u writes an empty range as the line before it.
  if (count == 0) return std::to_string(start) + ",0";
  if (count == 1) return std::to_string(start + 1);
  return std::to_string(start + 1) + "," + std::to_string(count);
}

}  // namespace

std::string UnifiedDiff(const std::vector<std::string>& oldLines, const std::vector<std::string>& newLines,
                        const std::string& oldName, const std::string& newName, int context, int maxEdits) {
  std::vector<Step> steps = EditScript(oldLines, newLines, maxEdits);
  std::string out;
  const int total = static_cast<int>(steps.size());
  int i = 0;
  while (i < total) {
    while (i < total && steps[i].op == Op::Keep) ++i;
    if (i == total) break;
    // A hunk runs from `context` kept lines before the first change to
    // `context` kept lines after the last change that is not separated from
    // the next by more than 2 * context kept lines.
    int begin = std::max(0, i - context);
    int end = i;
    while (true) {
      while (end < total && steps[end].op != Op::Keep) ++end;
      int keep = end;
      while (keep < total && steps[keep].op == Op::Keep) ++keep;
      if (keep < total && keep - end <= 2 * context) {
        end = keep;
        continue;
      }
      end = std::min(end + context, total);
      break;
    }
    int oldStart = -1, newStart = -1, oldCount = 0, newCount = 0;
    std::string body;
    for (int s = begin; s < end; ++s) {
      const Step& step = steps[s];
      if (oldStart < 0) {
        oldStart = step.oldIndex;
        newStart = step.newIndex;
      }
      switch (step.op) {
        case Op::Keep:
          body += " " + oldLines[step.oldIndex] + "\n";
          ++oldCount;
          ++newCount;
          break;
        case Op::Delete:
          body += "-" + oldLines[step.oldIndex] + "\n";
          ++oldCount;
          break;
        case Op::Insert:
          body += "+" + newLines[step.newIndex] + "\n";
          ++newCount;
          break;
      }
    }
    if (out.empty()) out = "--- " + oldName + "\n+++ " + newName + "\n";
    out += "@@ -" + Range(oldStart, oldCount) + " +" + Range(newStart, newCount) + " @@\n" + body;
    i = end;
  }
  return out;
}

}  // namespace tarno::codegen
