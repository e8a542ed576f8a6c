#include "controls/font_dialog.h"

#include "controls/control_values.h"

namespace tarno::controls {

bool ChooseFont(ui::CommonDialog& dialog, HeldFont& font) {
  dialog.CancelError = true;
  dialog.FontName = font.Name;
  dialog.FontSize = font.Size;
  dialog.FontBold = font.Bold;
  dialog.FontItalic = font.Italic;
  dialog.FontStrikethru = font.Strikethru;
  dialog.FontUnderline = font.Underline;
  dialog.Flags = 3;
  try {
    dialog.ShowFont();
  } catch (const ui::VbError& e) {
    if (e.number() == ui::err::DialogCancelled) return false;
    throw;
  }
  font.Name = dialog.FontName;
  font.Size = RoundHalfEven(dialog.FontSize);
  font.Bold = dialog.FontBold;
  font.Italic = dialog.FontItalic;
  font.Strikethru = dialog.FontStrikethru;
  font.Underline = dialog.FontUnderline;
  return true;
}

}  // namespace tarno::controls
