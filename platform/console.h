// The standard streams of the command-line programs.
#pragma once

namespace tarno {

// Standard output and error carry bytes as the programs write them. The
// Windows C runtime would turn each LF into CR LF, and a report or JSON
// document would then differ from the same run elsewhere.
void WriteStandardStreamsAsBytes();

}  // namespace tarno
