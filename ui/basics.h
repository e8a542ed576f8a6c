// Shared pieces of the headless window toolkit: VB runtime errors, the VB
// constants that windows use, fonts and the plain description of a control
// that a desktop front end renders.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tarno::ui {

// A VB run-time error (Err.Number and Err.Description) raised by a control or
// a service, e.g. 35601 "Element not found" from a tree view's Nodes.
class VbError : public std::runtime_error {
 public:
  VbError(int number, const std::string& description)
      : std::runtime_error(description + " (" + std::to_string(number) + ")"), number_(number) {}
  int number() const { return number_; }

 private:
  int number_;
};

// Numbers of the VB errors the toolkit raises.
namespace err {
inline constexpr int InvalidCall = 5;               // SetFocus on a control that cannot take it
inline constexpr int InvalidPropertyValue = 380;    // ListIndex out of range, ...
inline constexpr int InvalidArrayIndex = 381;       // List(i) out of range
inline constexpr int IndexOutOfBounds = 35600;
inline constexpr int ElementNotFound = 35601;
inline constexpr int KeyNotUnique = 35602;
inline constexpr int DialogCancelled = 32755;       // cdlCancel, raised when CancelError is set
}  // namespace err

// MsgBox buttons, icons and answers (VbMsgBoxStyle / VbMsgBoxResult).
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Form.Show styles.
inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

// QueryUnload's UnloadMode.
inline constexpr int16_t vbFormControlMenu = 0;  // the close box
inline constexpr int16_t vbFormCode = 1;         // Unload in code
inline constexpr int16_t vbAppWindows = 2;
inline constexpr int16_t vbAppTaskManager = 3;
inline constexpr int16_t vbFormMDIForm = 4;

// Screen.MousePointer values.
inline constexpr int vbDefault = 0;
inline constexpr int vbArrow = 1;
inline constexpr int vbHourglass = 11;

// CheckBox.Value.
inline constexpr int16_t vbUnchecked = 0;
inline constexpr int16_t vbChecked = 1;
inline constexpr int16_t vbGrayed = 2;

// Key codes that the toolkit itself interprets in KeyPress.
inline constexpr int16_t vbKeyBack = 8;
inline constexpr int16_t vbKeyTab = 9;
inline constexpr int16_t vbKeyReturn = 13;
inline constexpr int16_t vbKeyEscape = 27;

// TreeView Nodes.Add relationships.
inline constexpr int tvwFirst = 0;
inline constexpr int tvwLast = 1;
inline constexpr int tvwNext = 2;
inline constexpr int tvwPrevious = 3;
inline constexpr int tvwChild = 4;

// ListView views and sort orders.
inline constexpr int lvwIcon = 0;
inline constexpr int lvwSmallIcon = 1;
inline constexpr int lvwList = 2;
inline constexpr int lvwReport = 3;
inline constexpr int lvwAscending = 0;
inline constexpr int lvwDescending = 1;

// ComboBox.Style.
inline constexpr int vbComboDropdown = 0;
inline constexpr int vbComboSimple = 1;
inline constexpr int vbComboDropdownList = 2;

// CommonDialog flags used by the tools.
inline constexpr int cdlOFNOverwritePrompt = 2;
inline constexpr int cdlOFNHideReadOnly = 4;
inline constexpr int cdlOFNFileMustExist = 0x1000;
inline constexpr int cdlCFScreenFonts = 1;
inline constexpr int cdlCFEffects = 0x100;

// A control's font (StdFont). The default is the Japanese system's dialog font.
struct StdFont {
  std::u16string Name = u"ＭＳ Ｐゴシック";
  double Size = 9;
  bool Bold = false;
  bool Italic = false;
  bool Strikethru = false;
  bool Underline = false;
  bool operator==(const StdFont&) const = default;
};

// What a front end needs to draw one control. Positions are twips, relative
// to the container; `container` is empty for controls placed on the form.
struct ControlDescription {
  std::string kind;          // "CommandButton", "TextBox", ...
  std::u16string name;       // "Command1", or "Option1(2)" for a control-array member
  std::u16string caption;    // Caption, or Text for text-holding controls
  std::u16string tool_tip;
  int left = 0, top = 0, width = 0, height = 0;
  std::u16string container;  // name of the containing Frame/PictureBox/SSTab
  int container_tab = -1;    // SSTab page the control sits on, -1 otherwise
  bool enabled = true;
  bool visible = true;
  int tab_index = -1;        // -1 for controls without a tab order
  StdFont font;
  // Kind-specific state: ("Text", ...), ("Value", "1"), ("Items", "a|b"), ...
  std::vector<std::pair<std::string, std::u16string>> properties;
};

struct FormDescription {
  std::u16string name;
  std::u16string caption;
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = false;
  std::vector<ControlDescription> controls;
};

}  // namespace tarno::ui
