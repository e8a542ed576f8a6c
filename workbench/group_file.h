// The group file (.vbg) after one of its projects was saved under a new name:
// the line that named the old project file names the new one, relative to
// the group's folder; every other line keeps its bytes.
#pragma once

#include <filesystem>

#include "platform/code_page.h"

namespace tarno::workbench {

// Rewrites the group's line that leads to old_vbp (Project= or
// StartupProject=, whichever it was) to lead to new_vbp, through a temporary
// file. False when no line leads to old_vbp (nothing is written); throws
// ProjectFileError when the group cannot be read or written.
bool RenameGroupProject(const std::filesystem::path& vbg, const std::filesystem::path& old_vbp,
                        const std::filesystem::path& new_vbp, const CodePage& code_page);

}  // namespace tarno::workbench
