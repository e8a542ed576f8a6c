#include "codegen/line_edit.h"

#include "platform/vb_text.h"

namespace tarno::codegen {

std::optional<std::u16string> CommentLineText(const std::u16string& line) {
  if (vb::Trim(line).empty()) return std::nullopt;
  return u"'" + line;
}

std::optional<std::u16string> UncommentLineText(const std::u16string& line) {
  if (vb::Trim(line).empty()) return std::nullopt;
  int pos = vb::InStr(line, u"'");
  if (pos == 0) return std::nullopt;
  return vb::Left(line, pos - 1) + vb::Mid(line, pos + 1);
}

void ReplaceLine(ide::CodeModule& module, int line, const std::u16string& text) {
  module.InsertLines(line, text);
  try {
    module.DeleteLines(line + 1, 1);
  } catch (const ide::HostError&) {
    // Take the new line out again so the module is as it was.
    try {
      module.DeleteLines(line, 1);
    } catch (const ide::HostError&) {
    }
    throw;
  }
}

void CommentOutLine(ide::CodeModule& module, int line) {
  try {
    auto text = CommentLineText(module.Lines(line, 1));
    if (text) ReplaceLine(module, line, *text);
  } catch (const ide::HostError&) {
    // Host errors are skipped line by line.
  }
}

void CommentOutLines(ide::CodeModule& module, int first, int last) {
  for (int line = first; line <= last; ++line) CommentOutLine(module, line);
}

}  // namespace tarno::codegen
