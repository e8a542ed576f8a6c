// Add-in-wide state that the connect class keeps for every tool.
#pragma once

#include <cstdint>
#include <memory>

#include "addin/host_api.h"

namespace tarno {

// The IDE root object received at connection; every tool reaches the IDE through it.
extern std::shared_ptr<ide::VBE> HostVBE;

// 1 when the auto-save window is opened by its command, 0 when the connection loads it.
extern int16_t ProjectToolFromMenu;

}  // namespace tarno
