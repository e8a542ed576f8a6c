#include "patterns/message_boxes.h"

#include "patterns/pattern_edits.h"
#include "ui/services.h"

namespace tarno::patterns {

void Warn(const std::u16string& text) { ui::MsgBox(text, ui::vbOKOnly | ui::vbExclamation, kMessageTitle); }

void Inform(const std::u16string& text) { ui::MsgBox(text, ui::vbOKOnly | ui::vbInformation, kMessageTitle); }

bool AskYes(const std::u16string& text) {
  return ui::MsgBox(text, ui::vbYesNo | ui::vbInformation, kMessageTitle) == ui::vbYes;
}

void ReportFailure(const PatternStoreError& e) { Warn(FailureMessage(e)); }

}  // namespace tarno::patterns
