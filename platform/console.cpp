#include "platform/console.h"

#include "platform/vb_text.h"

namespace tarno {

// POSIX streams never translate line ends, and file names are bytes.
void SetUpCommandLineProgram() {}

std::u16string ArgumentText(std::string_view arg) { return vb::U(arg); }

}  // namespace tarno
