// Registered comment texts: their normal form, the procedure header comment
// template and the insertion of the current comment at the caret.
#pragma once

#include <string>

#include "addin/host_api.h"

namespace tarno {
struct SettingsModel;
}

namespace tarno::codegen {

// The editor text in stored form: every line begins with an apostrophe (one is
// put in front where missing), lines joined by CR LF; a final CR LF is kept
// and adds no line of its own. Empty text stays empty.
std::u16string NormaliseComment(const std::u16string& editorText);

// Normalises the editor text and stores it into slot `index` (0 to 9).
void StoreComment(SettingsModel& settings, int index, const std::u16string& editorText);

// The six fields of the procedure header comment template.
struct HeaderCommentFields {
  std::u16string Name, Summary, Arguments, ReturnValue, Author, Date;
};
// The eight-line header comment, no CR LF after the last line; fields as typed.
std::u16string HeaderCommentText(const HeaderCommentFields& fields);

// The slot of CurrentCommentNo; a value outside 0 to 9 (a hand-edited
// settings file) counts as slot 0.
int CurrentCommentIndex(const SettingsModel& settings);

enum class InsertCommentResult { Inserted, NotRun, NoComment };

// Inserts the current registered comment above the caret line of the active
// code window. NotRun when no code window is active or the caret cannot be read;
// NoComment when the current slot is blank: the caller shows the
// message. Host errors are ignored step by step.
InsertCommentResult InsertRegisteredCommentText(ide::VBE& vbe, const SettingsModel& settings);

// The command: the insertion, and "コメントが入力されていません" when the
// current slot is blank.
void InsertRegisteredComment(ide::VBE& vbe, const SettingsModel& settings);

}  // namespace tarno::codegen
