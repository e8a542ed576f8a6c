// The add-in's settings model and its file "TarnoAddIn.ini" in the system
// directory. The connection loads the whole file once (LoadSettings) and the
// disconnection writes the whole model back once (SaveSettings); tool windows
// only read and change the model in between.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "controls/cotrol_style.h"

namespace tarno {

inline constexpr const char* kSettingsFileName = "TarnoAddIn.ini";

struct SettingsModel {
  // System directory as native path bytes; empty until GetSystemDir finds it.
  std::string SystemDir;
  std::array<std::u16string, 10> CommentTexts;
  int32_t CurrentCommentNo = 0;
  int16_t AutoSaveOn = 0;
  int16_t AutoSaveInterval = 0;  // minutes; 0 until a settings file is read
  int16_t AutoSaveMsgFlag = 0;
  int32_t PatternCount = 0;
  CotrolStyleCollection PatternCollection;
  int32_t CurrentPatternNo = 0;
  std::u16string ErrExitFlag;  // decimal text of a whole number, "0" or "1"
  std::u16string ErrHeaderLabel;
  std::u16string ErrFooterText;  // lines separated by CR LF

  // True once LoadSettings has read the file to the end (or found none).
  // SaveSettings writes only then, so that a connection that failed before or
  // during the load never replaces the stored settings with a partial model.
  bool LoadCompleted = false;
};

// The add-in-wide model, alive as long as the library is loaded.
SettingsModel& Settings();
// Back to a fresh model (a new library load; used by tests).
void ResetSettings();

// A value in the settings file that cannot be converted; what() names the
// file, the section and the key.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// SystemDir joined with "TarnoAddIn.ini"; empty when SystemDir is empty.
std::filesystem::path SettingsFilePath(const SettingsModel& model);

// SystemDir from GetSystemDirectoryA (255-byte buffer); left as it was when
// the directory is unknown or does not fit.
void GetSystemDir(SettingsModel& model);
// Fills the model from the file; a missing file reads nothing. A key that is
// missing outside the pattern sections gives the field's default (0, an
// Interval of 1, an ErrExitFlag of "0", empty texts; the footer keeps what it
// held). The pattern collection is emptied first, since a pattern's number is
// its position. Throws SettingsError on a value that cannot be converted
// (or a number missing inside a pattern section), leaving the model partly
// filled and LoadCompleted false. With SystemDir empty nothing is read and
// LoadCompleted stays false.
void LoadSettings(SettingsModel& model);
// Writes the model to the file, renumbering the live patterns and dropping
// the ones marked deleted. Returns false, writing nothing, when the last load
// did not complete or SystemDir is empty; false too when a write failed (the
// other writes still happen). PatternCount becomes the number of live patterns.
bool SaveSettings(SettingsModel& model);

// Stored forms of the multi-line texts. A comment is stored with its CR LF
// pairs removed and read back by starting a new line at every apostrophe
// after the first character. A footer is stored with "*9*9" for each CR LF.
std::u16string EncodeComment(std::u16string_view text);
std::u16string DecodeComment(std::u16string_view stored);
std::u16string EncodeFooter(std::u16string_view text);
std::u16string DecodeFooter(std::u16string_view stored);

}  // namespace tarno
