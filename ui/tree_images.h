// The small pictures tree views show for folders and files: a closed and an
// open folder and a sheet of paper, 16 x 16, drawn here (no icon files).
#pragma once

#include "platform/clipboard.h"

namespace tarno::ui {

tarno::Picture FolderImage();
tarno::Picture OpenFolderImage();
tarno::Picture FileImage();

}  // namespace tarno::ui
