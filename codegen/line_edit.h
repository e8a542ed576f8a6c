// Line-level edits shared by the code generators: the comment-out and
// un-comment transforms and a line replacement that never loses the line.
#pragma once

#include <optional>
#include <string>

#include "addin/host_api.h"

namespace tarno::codegen {

// The commented form of a line ("'" in column 1), or nullopt when the line is
// blank (only spaces) and stays as it is.
std::optional<std::u16string> CommentLineText(const std::u16string& line);

// The line without its first apostrophe, or nullopt when it is blank or holds
// no apostrophe. The apostrophe may be inside a string or start a trailing
// comment: only that one character goes, blanks around it stay.
std::optional<std::u16string> UncommentLineText(const std::u16string& line);

// Replaces line `line` of the module by `text` (one line, no CR LF). The new
// line goes in first and the old one is deleted after it, so a host that
// refuses either step leaves the old line in place: when the delete fails the
// inserted line is taken out again. Throws HostError when the line could not
// be replaced (the module then holds the old line; if even the undo failed it
// holds both, never neither).
void ReplaceLine(ide::CodeModule& module, int line, const std::u16string& text);

// Reads line `line` and comments it out when it is not blank. Host errors are
// ignored: a line that cannot be read or replaced is left as it is.
void CommentOutLine(ide::CodeModule& module, int line);

// CommentOutLine for every line from `first` to `last`, both included.
void CommentOutLines(ide::CodeModule& module, int first, int last);

}  // namespace tarno::codegen
