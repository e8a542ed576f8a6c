#include "addin/addin_globals.h"

namespace tarno {

std::shared_ptr<ide::VBE> HostVBE;
int16_t ProjectToolFromMenu = 0;

}  // namespace tarno
