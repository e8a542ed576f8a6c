// Which code page a project's files are in, guessed from their bytes: valid
// UTF-8 is UTF-8; otherwise each candidate decodes the non-ASCII bytes and
// the one whose decoding looks most like text wins (kana and Hangul count
// most, a Western accented letter inside a word counts, bytes the code page
// cannot decode and stray symbols count against). Only a guess: the Open
// dialog shows it beside the user's choice.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarno::workbench {

// The code pages the Open dialog offers, in its order (names CodePage::Named takes).
const std::vector<std::string>& OfferedCodePages();

struct CodePageGuess {
  std::string code_page;  // empty when every byte is ASCII (any code page reads it)
  bool utf8 = false;      // the bytes are valid UTF-8 with non-ASCII characters
};

// From the bytes of the files themselves.
CodePageGuess GuessCodePage(const std::vector<std::string>& files);
// From a .vbp, .vbg or component file and the files it lists (those that
// exist); empty when nothing can be read.
CodePageGuess GuessProjectCodePage(const std::filesystem::path& path);

// How text-like the bytes read in the code page are (higher is better); for tests.
double TextLikeness(std::string_view bytes, const std::string& code_page);

}  // namespace tarno::workbench
