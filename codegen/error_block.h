// The kit's standard error-handling header and footer, inserted at the caret.
#pragma once

#include <string>

#include "addin/host_api.h"

namespace tarno::codegen {

// Rebuilt by every run of InsertErrorHeader / InsertErrorFooter.
extern std::u16string StdErrHeaderText;
extern std::u16string StdErrFooterText;

// "On Error GoTo Error_Exit", an empty line, the hourglass; no final CR LF.
std::u16string BuildStdErrHeaderText();
// The Error_Exit label block with its message box, ending in CR LF.
std::u16string BuildStdErrFooterText();
// The footer's seven lines from "'エラーの場合" on, joined by CR LF, no final CR LF.
std::u16string ErrorLabelBlock();

// Insert the header / footer above the first selected line of the active code window.
void InsertErrorHeader(ide::VBE& vbe);
void InsertErrorFooter(ide::VBE& vbe);

}  // namespace tarno::codegen
