// What the command-line programs set up before anything else.
#pragma once

namespace tarno {

// Standard output and error carry bytes as the programs write them (the
// Windows C runtime would turn each LF into CR LF, and a report or JSON
// document would differ from the same run elsewhere), and file names given
// as arguments open: on Windows they arrive in the ANSI code page, which the
// C runtime is told to use for narrow file names.
void SetUpCommandLineProgram();

}  // namespace tarno
