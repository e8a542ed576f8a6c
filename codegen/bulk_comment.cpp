#include "codegen/bulk_comment.h"

#include "codegen/line_edit.h"

namespace tarno::codegen {

void CommentOutProcedure(ide::CodeModule& module, const std::u16string& name, int kind, int firstLine) {
  int count = 0;
  try {
    count = module.ProcCountLines(name, kind);
  } catch (const ide::HostError&) {
    return;
  }
  if (firstLine > 0) CommentOutLines(module, firstLine, firstLine + count - 1);
}

void CommentOutProcedure(ide::CodeModule& module, const std::u16string& name, int kind) {
  int firstLine = 0;
  try {
    firstLine = module.ProcStartLine(name, kind);
  } catch (const ide::HostError&) {
    return;
  }
  CommentOutProcedure(module, name, kind, firstLine);
}

void CommentOutBelowDeclarations(ide::CodeModule& module) {
  int first = 0, last = 0;
  try {
    first = module.CountOfDeclarationLines() + 1;
    last = module.CountOfLines();
  } catch (const ide::HostError&) {
    return;
  }
  CommentOutLines(module, first, last);
}

}  // namespace tarno::codegen
