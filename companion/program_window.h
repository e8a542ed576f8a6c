// Shared by the three companion programs' windows.
#pragma once

#include "ui/ui.h"

namespace tarno::companion {

inline constexpr const char16_t* kProgramFont = u"ＭＳ Ｐゴシック";

// Gives every control of the window the programs' font.
void SetProgramFont(ui::Form& form);

// A message of the programs: OK button, the given icon, title "Tarno Kit"
// unless another is given.
void ShowMessage(const std::u16string& text, int icon);
void ShowMessage(const std::u16string& text, int icon, const std::u16string& title);

}  // namespace tarno::companion
