// The font dialog of the control tools: primed with the held font, Flags 3
// (screen and printer fonts), CancelError on; the chosen size is held as a
// whole number of points (halves to even).
#pragma once

#include "controls/control_layout.h"
#include "ui/ui.h"

namespace tarno::controls {

// True when the developer chose a font (`font` is replaced); false, with
// `font` unchanged, when the dialog was cancelled.
bool ChooseFont(ui::CommonDialog& dialog, HeldFont& font);

}  // namespace tarno::controls
