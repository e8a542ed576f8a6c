// The code panes' font for the code page a project is read in: a Japanese
// font under CP932 (where the byte 5C is the yen sign), elsewhere a font
// whose 5C is the backslash it stands for.
#pragma once

#include <QFont>

#include "platform/code_page.h"

namespace tarno::workbench {

QFont EditorFont(const CodePage& codePage);

}  // namespace tarno::workbench
