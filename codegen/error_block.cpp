#include "codegen/error_block.h"

#include "codegen/comment_block.h"
#include "platform/vb_text.h"

namespace tarno::codegen {

std::u16string StdErrHeaderText;
std::u16string StdErrFooterText;

std::u16string BuildStdErrHeaderText() {
  return u"On Error GoTo Error_Exit" + vb::kCrLf + vb::kCrLf + u"Screen.MousePointer = vbHourglass";
}

std::u16string ErrorLabelBlock() {
  const std::u16string& nl = vb::kCrLf;
  return vb::U("'エラーの場合") + nl + u"Error_Exit:" + nl + nl + u"Screen.MousePointer = vbDefault" + nl + nl +
         vb::U("MsgBox \"エラー番号：\"& Err.Number & vbCrLf _") + nl +
         vb::U("   &\"エラー内容：\"& Err.Description,vbExclamation");
}

std::u16string BuildStdErrFooterText() { return ErrorLabelBlock() + vb::kCrLf; }

namespace {

void InsertAtCaret(ide::VBE& vbe, const std::u16string& text) {
  auto pane = ActiveCodeWindowPane(vbe);
  if (!pane) return;
  int line = SelectionStartLine(*pane);
  if (line <= 0) return;
  try {
    auto module = pane->CodeModule();
    if (module) module->InsertLines(line, text);
  } catch (const ide::HostError&) {
  }
}

}  // namespace

void InsertErrorHeader(ide::VBE& vbe) {
  StdErrHeaderText = BuildStdErrHeaderText();
  InsertAtCaret(vbe, StdErrHeaderText);
}

void InsertErrorFooter(ide::VBE& vbe) {
  StdErrFooterText = BuildStdErrFooterText();
  InsertAtCaret(vbe, StdErrFooterText);
}

}  // namespace tarno::codegen
