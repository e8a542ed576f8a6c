// The font a designer control is drawn with, as VB resolves it: the
// control's own Font group; a control without one has its container's font
// (VB writes no group for a font equal to it), and a form without one the
// default font of its file's code page.
#pragma once

#include <QFont>

#include "host/controls.h"
#include "platform/code_page.h"

namespace tarno::workbench {

// The Windows font on screen: the family mapped to an installed look-alike,
// the size in pixels at 96 dots an inch as Windows draws it.
QFont DesignerQFont(const host::FontValues& font);
// The default font of a form written in the code page.
host::FontValues CodePageDefaultFont(const CodePage& cp);
// The control's (or form's) font values.
host::FontValues FontValuesOf(const host::MemControl& control, const CodePage& cp);

}  // namespace tarno::workbench
