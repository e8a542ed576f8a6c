// Saving the open projects: what the auto-save window does when its interval
// is due. Only projects and components that already have a file are saved;
// new, never-saved ones are left alone.
#pragma once

#include "addin/host_api.h"

namespace tarno::project {

// True when any open project is not saved and has a file name, or any of its
// components is dirty and has a file name. Host failures throw.
bool SomethingToSave(ide::VBE& vbe);

// Over the projects in collection order: each dirty component that has a file
// is saved to it (SaveAs) and marked clean, then the project itself if it is
// not saved and has a file. A host failure ends the save and throws; what was
// saved before it stays saved.
void SaveAllProjects(ide::VBE& vbe);

}  // namespace tarno::project
