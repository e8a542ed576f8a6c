// What the command-line programs set up before anything else.
#pragma once

#include <string>
#include <string_view>

namespace tarno {

// Standard output and error carry bytes as the programs write them (the
// Windows C runtime would turn each LF into CR LF, and a report or JSON
// document would differ from the same run elsewhere), and file names given
// as arguments open: on Windows they arrive in the ANSI code page, which the
// C runtime is told to use for narrow file names.
void SetUpCommandLineProgram();

// The text of an argument that names something other than a file (a
// component, a new object name): UTF-8 elsewhere, the ANSI code page on
// Windows, where the arguments arrive in it.
std::u16string ArgumentText(std::string_view arg);

}  // namespace tarno
