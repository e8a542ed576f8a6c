#include "codegen/comment_block.h"

#include <functional>
#include <optional>

#include "codegen/line_edit.h"

namespace tarno::codegen {

std::shared_ptr<ide::CodePane> ActiveCodeWindowPane(ide::VBE& vbe) {
  try {
    auto window = vbe.ActiveWindow();
    if (!window || window->Type() != 0) return nullptr;
    return vbe.ActiveCodePane();
  } catch (const ide::HostError&) {
    return nullptr;
  }
}

int SelectionStartLine(ide::CodePane& pane) {
  int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  try {
    pane.GetSelection(startLine, startColumn, endLine, endColumn);
  } catch (const ide::HostError&) {
    return 0;
  }
  return startLine;
}

namespace {

using Transform = std::function<std::optional<std::u16string>(const std::u16string&)>;

void TransformSelection(ide::VBE& vbe, const Transform& transform) {
  auto pane = ActiveCodeWindowPane(vbe);
  if (!pane) return;
  int startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  try {
    pane->GetSelection(startLine, startColumn, endLine, endColumn);
  } catch (const ide::HostError&) {
    return;
  }
  if (startLine <= 0) return;
  std::shared_ptr<ide::CodeModule> module;
  try {
    module = pane->CodeModule();
  } catch (const ide::HostError&) {
  }
  if (module) {
    // The end line is processed even when the selection ends in its column 1.
    for (int line = startLine; line <= endLine; ++line) {
      try {
        auto text = transform(module->Lines(line, 1));
        if (text) ReplaceLine(*module, line, *text);
      } catch (const ide::HostError&) {
      }
    }
  }
  try {
    pane->SetSelection(startLine, startColumn, endLine, endColumn);
  } catch (const ide::HostError&) {
  }
}

}  // namespace

void CommentSelection(ide::VBE& vbe) { TransformSelection(vbe, CommentLineText); }

void UncommentSelection(ide::VBE& vbe) { TransformSelection(vbe, UncommentLineText); }

}  // namespace tarno::codegen
