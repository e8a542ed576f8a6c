// The message boxes of the pattern windows, all titled "Tarno Kit".
#pragma once

#include <string>

#include "patterns/pattern_store.h"

namespace tarno::patterns {

// A refusal: exclamation icon, OK.
void Warn(const std::u16string& text);
// A completion: information icon, OK.
void Inform(const std::u16string& text);
// A Yes/No question with the information icon; true on Yes.
bool AskYes(const std::u16string& text);
// A file-system failure: exclamation icon, the action and the reason.
void ReportFailure(const PatternStoreError& e);

}  // namespace tarno::patterns
