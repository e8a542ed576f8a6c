// Applying a registered style pattern to the controls selected on a form
// designer, and the rules of the pattern list and editor that do not depend
// on a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "addin/host_api.h"
#include "controls/cotrol_style.h"

namespace tarno::controls {

// "TextBox", "Label", "CommandButton" for CType 0, 1, 2; "" otherwise.
std::u16string PatternTypeName(int16_t ctype);

enum class StyleApplyResult { Done, NotForm, NoSelection, TypeMismatch };
std::u16string StyleApplyMessage(StyleApplyResult r);

// Checks the selection (form module, a selected control, every selected
// control of the pattern's class) before writing anything, then writes the
// pattern's properties in the order of its type to every selected control.
// A failing single write is skipped.
// `designer`: the selected form module's designer, nullptr when the selected
// component is not a form module.
StyleApplyResult ApplyStylePattern(const std::shared_ptr<ide::VBForm>& designer, const clsCotrolStyle& pattern);

// The numbers of the patterns the list shows (DelFlg 0), in order.
std::vector<int32_t> LivePatternNumbers(const CotrolStyleCollection& patterns);

// Whether a new pattern's trimmed name equals the trimmed name of any
// pattern, deleted ones included.
bool PatternNameTaken(const CotrolStyleCollection& patterns, std::u16string_view name);
// A number field of the editor: numeric, a 32-bit whole number, and not 0
// unless zero values are switched off (`zeroAllowed`).
bool NumberFieldValid(std::u16string_view text, bool zeroAllowed);
// MaxLength: a whole number from 0 to 65535, whatever the switch.
bool MaxLengthValid(std::u16string_view text);

}  // namespace tarno::controls
