// Comment-out and un-comment of the lines selected in the active code pane.
#pragma once

#include "addin/host_api.h"

namespace tarno::codegen {

// Puts an apostrophe in column 1 of every non-blank selected line.
void CommentSelection(ide::VBE& vbe);

// Removes the first apostrophe of every non-blank selected line.
void UncommentSelection(ide::VBE& vbe);

// The active code pane when the active window is a code window, else nullptr.
// Host errors count as "no code window".
std::shared_ptr<ide::CodePane> ActiveCodeWindowPane(ide::VBE& vbe);

// The start line of the pane's selection; 0 when it cannot be read.
int SelectionStartLine(ide::CodePane& pane);

}  // namespace tarno::codegen
