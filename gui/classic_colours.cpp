#include "gui/classic_colours.h"

#include <iterator>

namespace tarno::gui {

QColor ClassicColor(int32_t vbColor) {
  // The COLOR_* indices 0 to 24 of the Windows Classic scheme (Windows 2000).
  static constexpr uint32_t kScheme[] = {
      0xD4D0C8,  // 0 scroll bars
      0x3A6EA5,  // 1 desktop
      0x0A246A,  // 2 active title bar
      0x808080,  // 3 inactive title bar
      0xD4D0C8,  // 4 menu bar
      0xFFFFFF,  // 5 window background
      0x000000,  // 6 window frame
      0x000000,  // 7 menu text
      0x000000,  // 8 window text
      0xFFFFFF,  // 9 active title bar text
      0xD4D0C8,  // 10 active border
      0xD4D0C8,  // 11 inactive border
      0x808080,  // 12 application workspace
      0x0A246A,  // 13 highlight
      0xFFFFFF,  // 14 highlight text
      0xD4D0C8,  // 15 button face
      0x808080,  // 16 button shadow
      0x808080,  // 17 disabled text
      0x000000,  // 18 button text
      0xD4D0C8,  // 19 inactive title bar text
      0xFFFFFF,  // 20 button highlight
      0x404040,  // 21 button dark shadow
      0xD4D0C8,  // 22 button light shadow
      0x000000,  // 23 tool tip text
      0xFFFFE1,  // 24 tool tip
  };
  const auto v = static_cast<uint32_t>(vbColor);
  if (v & 0x80000000u) {
    const uint32_t index = v & 0xFFFFFFu;
    const uint32_t rgb = index < std::size(kScheme) ? kScheme[index] : kScheme[15];
    return QColor(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
  }
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

}  // namespace tarno::gui
