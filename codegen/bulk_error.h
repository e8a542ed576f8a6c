// Error handling inserted into whole procedures: a header after the
// declaration line and a footer above the end statement.
#pragma once

#include <string>

#include "addin/host_api.h"

namespace tarno::codegen {

// The texts inserted into one procedure: the kit's standard ones, or the
// user's registered label, footer and exit option.
struct ErrorHandlingTexts {
  bool Registered = false;
  std::u16string Label;     // registered label name
  std::u16string Footer;    // registered footer text (CR LF between lines)
  std::u16string ExitFlag;  // "0": no exit line before the registered label

  std::u16string HeaderText() const;
  std::u16string FooterText(const std::u16string& exitWord) const;
};

ErrorHandlingTexts StandardErrorTexts();
ErrorHandlingTexts RegisteredErrorTexts(const std::u16string& label, const std::u16string& footer,
                                        const std::u16string& exitFlag);

// The word after "End" on an end statement line ("Sub", "Function", "Property").
std::u16string ExitWord(const std::u16string& endLine);

// Where one procedure was given its error handling.
struct ErrorHandlingResult {
  bool Inserted = false;
  int HeaderLine = 0;  // first inserted header line
  int FooterLine = 0;  // first inserted footer line (0 when none)
};

// Inserts the header after the declaration of the procedure (name, kind), after
// its last line when it is continued over several, and the footer above its
// End statement, above the blank and comment lines that the host counts with
// the module's last procedure. Host errors are ignored step by step; a
// procedure the host cannot locate, or one written on one line, is left alone.
ErrorHandlingResult InsertErrorHandling(ide::CodeModule& module, const std::u16string& name, int kind,
                                        const ErrorHandlingTexts& texts);

}  // namespace tarno::codegen
