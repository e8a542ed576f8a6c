#include "platform/console.h"

namespace tarno {

// POSIX streams never translate line ends, and file names are bytes.
void SetUpCommandLineProgram() {}

}  // namespace tarno
