// VB colours as the classic Windows scheme shows them: a design-time view
// paints a form as it looked on the machine it was made on, whatever the
// desktop's own palette is.
#pragma once

#include <QColor>
#include <cstdint>

namespace tarno::gui {

// 0x00BBGGRR as it is; a system colour (0x80000000 + COLOR_* index, such as
// &H8000000F& button face) from the classic scheme's table.
QColor ClassicColor(int32_t vbColor);

}  // namespace tarno::gui
