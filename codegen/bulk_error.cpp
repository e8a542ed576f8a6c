#include "codegen/bulk_error.h"

#include "codegen/error_block.h"
#include "host/vb_syntax.h"
#include "platform/vb_text.h"

namespace tarno::codegen {

std::u16string ErrorHandlingTexts::HeaderText() const {
  const std::u16string& nl = vb::kCrLf;
  if (Registered) return nl + u"On Error GoTo " + Label + nl;
  return nl + u"On Error GoTo Error_Exit" + nl + nl + u"Screen.MousePointer = vbHourglass" + nl;
}

std::u16string ErrorHandlingTexts::FooterText(const std::u16string& exitWord) const {
  const std::u16string& nl = vb::kCrLf;
  if (!Registered) return nl + u"Exit " + exitWord + nl + nl + ErrorLabelBlock() + nl;
  std::u16string labelPart = Label + u":" + nl + nl + Footer + nl;
  if (vb::Trim(ExitFlag) == u"0") return labelPart;
  return u"Exit " + exitWord + nl + nl + labelPart;
}

ErrorHandlingTexts StandardErrorTexts() { return {}; }

ErrorHandlingTexts RegisteredErrorTexts(const std::u16string& label, const std::u16string& footer,
                                        const std::u16string& exitFlag) {
  return {true, label, footer, exitFlag};
}

std::u16string ExitWord(const std::u16string& endLine) {
  // The word only: an indented end statement would otherwise give
  // "Exit End Sub", and one with a comment after it "Exit Sub ' done".
  host::syntax::Words words(endLine);
  words.Next();
  return std::u16string(words.Next());
}

namespace {

// VB's line continuation: a blank and an underscore at the end of the line.
bool Continues(const std::u16string& line) {
  std::u16string text = vb::RTrim(line);
  if (text.empty() || text.back() != u'_') return false;
  return text.size() == 1 || text[text.size() - 2] == u' ' || text[text.size() - 2] == u'\t';
}

}  // namespace

ErrorHandlingResult InsertErrorHandling(ide::CodeModule& module, const std::u16string& name, int kind,
                                        const ErrorHandlingTexts& texts) {
  ErrorHandlingResult result;
  int headerLine = 0;
  try {
    headerLine = module.ProcBodyLine(name, kind) + 1;
  } catch (const ide::HostError&) {
    return result;
  }
  // A declaration continued over several lines ends at its last line; the
  // header must not land inside it.
  std::u16string declaration;
  try {
    const int count = module.CountOfLines();
    declaration = module.Lines(headerLine - 1, 1);
    while (headerLine <= count && Continues(module.Lines(headerLine - 1, 1))) {
      declaration += module.Lines(headerLine, 1);
      ++headerLine;
    }
  } catch (const ide::HostError&) {
  }
  // A procedure written on one line ("Property Get Count() As Long: End
  // Property") has no body to hold the handler: the header would land after
  // its end, outside it.
  if (host::syntax::EndsProcOnSameLine(declaration)) return result;
  try {
    module.InsertLines(headerLine, texts.HeaderText());
    result.Inserted = true;
    result.HeaderLine = headerLine;
  } catch (const ide::HostError&) {
  }

  int lastLine = 0;
  try {
    lastLine = module.ProcStartLine(name, kind) + module.ProcCountLines(name, kind) - 1;
  } catch (const ide::HostError&) {
    return result;
  }
  // The end statement is the last End Sub / End Function / End Property of the
  // range: the host counts the blank and comment lines after the module's last
  // procedure with it, and the footer must go above the end, not after them.
  int endLine = 0;
  std::u16string endText;
  for (int line = lastLine; line >= headerLine; --line) {
    try {
      std::u16string text = module.Lines(line, 1);
      if (host::syntax::IsProcEnd(text)) {
        endLine = line;
        endText = text;
        break;
      }
    } catch (const ide::HostError&) {
    }
  }
  if (endLine <= 0) return result;
  try {
    module.InsertLines(endLine, texts.FooterText(ExitWord(endText)));
    result.Inserted = true;
    result.FooterLine = endLine;
  } catch (const ide::HostError&) {
  }
  return result;
}

}  // namespace tarno::codegen
