#include "codegen/file_lines.h"

#include "host/code_module.h"
#include "host/files/file_state.h"
#include "platform/vb_text.h"

namespace tarno::codegen {

namespace {

struct Layout {
  std::string file;  // for messages
  int headerLines = 0;
  const host::ModuleText* text = nullptr;
};

Layout LayoutOf(host::MemComponent& component) {
  Layout layout;
  auto* state = host::files::StateOf(component);
  if (!state || !state->file || !component.code())
    throw FileLineError(vb::ToUtf8(component.name()) + ": the component has no code loaded from a file");
  layout.file = state->path.string();
  layout.headerLines = static_cast<int>(state->file->header_end());
  layout.text = &component.code()->text();
  return layout;
}

std::string At(const Layout& layout, int line) { return layout.file + ":" + std::to_string(line) + ": "; }

}  // namespace

int CodeLineOfFileLine(host::MemComponent& component, int fileLine, bool allowEnd) {
  Layout layout = LayoutOf(component);
  const host::ModuleText& text = *layout.text;
  const int physical = text.PhysicalCount();
  const int lastFileLine = layout.headerLines + physical;
  if (fileLine < 1 || fileLine > lastFileLine + (allowEnd ? 1 : 0)) {
    throw FileLineError(At(layout, fileLine) + "no such line: the file has " + std::to_string(lastFileLine) +
                        " lines");
  }
  if (fileLine <= layout.headerLines) {
    throw FileLineError(At(layout, fileLine) + "line " + std::to_string(fileLine) +
                        " is in the hidden header (lines 1 to " + std::to_string(layout.headerLines) +
                        "); the code starts at line " + std::to_string(layout.headerLines + 1));
  }
  const int index = fileLine - layout.headerLines - 1;  // 0-based among the body lines
  if (index == physical) return text.CountOfLines() + 1;
  // The last code line whose physical position is at or before the index.
  int lo = 1, hi = text.CountOfLines();
  while (lo < hi) {
    int mid = lo + (hi - lo + 1) / 2;
    if (text.PhysicalIndex(mid) <= index)
      lo = mid;
    else
      hi = mid - 1;
  }
  if (text.CountOfLines() == 0 || text.PhysicalIndex(lo) != index) {
    throw FileLineError(At(layout, fileLine) + "line " + std::to_string(fileLine) +
                        " is a hidden member attribute line; choose a code line");
  }
  return lo;
}

int FileLineOfCodeLine(host::MemComponent& component, int codeLine) {
  Layout layout = LayoutOf(component);
  return layout.headerLines + layout.text->PhysicalIndex(codeLine) + 1;
}

}  // namespace tarno::codegen
