#include "platform/console.h"

namespace tarno {

// POSIX streams never translate line ends.
void WriteStandardStreamsAsBytes() {}

}  // namespace tarno
