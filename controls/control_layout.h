// Position, size, font and BackStyle of the controls selected on a form
// designer: the values they have in common (what frmContorol shows when it
// opens) and applying one tab's values to every selected control.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "addin/host_api.h"

namespace tarno::controls {

// Top, Left, Height, Width: the order of Text1 to Text4.
inline constexpr std::array<const char16_t*, 4> kPositionNames = {u"Top", u"Left", u"Height", u"Width"};

struct HeldFont {
  std::u16string Name;  // empty: the selected controls have no common font name
  int32_t Size = 0;     // whole points
  bool Bold = false, Italic = false, Strikethru = false, Underline = false;
  bool operator==(const HeldFont&) const = default;
};

struct CommonValues {
  bool formModule = false;
  std::shared_ptr<ide::VBForm> designer;  // captured at gathering; nullptr when not a form
  int count = -1;                         // selected controls; -1 when unknown
  std::u16string objectName;              // the Name of the only selected control
  std::array<std::u16string, 4> positions;  // empty: no common value
  std::array<bool, 4> positionEnabled{true, true, true, true};
  HeldFont font;
  bool fontEnabled = true;
  std::u16string backStyle;  // empty: no common value
  bool backStyleEnabled = true;
};

// Gathers the common values of the selected controls of the selected
// component. Host failures never escape: a failing read disables the field
// concerned (or is skipped). When the selected controls disagree on the font
// size, the first control's size is held.
CommonValues GatherCommonValues(ide::VBE& vbe);
// The same for a designer already chosen (formModule says whether the
// designer is a form's; nothing is gathered otherwise).
CommonValues GatherCommonValues(bool formModule, const std::shared_ptr<ide::VBForm>& designer);

enum class LayoutResult { Done, NotForm, NoSelection, NoValues, NoFont, NoBackStyle };
// The message of a refusal ("" for Done).
std::u16string LayoutMessage(LayoutResult r);

// Each writes to every control selected in `designer` now; failures of a
// single write are ignored. `formModule`: whether the IDE's selected
// component is a form module at the moment of the call (the first check).
LayoutResult ApplyPositions(bool formModule, ide::VBForm* designer, const std::array<std::u16string, 4>& fields);
LayoutResult ApplyFont(bool formModule, ide::VBForm* designer, const std::u16string& fontField, const HeldFont& font);
// listIndex: the chosen entry of the BackStyle list, -1 for none.
LayoutResult ApplyBackStyle(bool formModule, ide::VBForm* designer, int listIndex);

}  // namespace tarno::controls
