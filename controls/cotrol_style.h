// One registered control style pattern (a named set of property values for a
// text box, label or command button) and the ordered, 1-based collection of
// all patterns that the settings model keeps.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarno {

class clsCotrolStyle {
 public:
  clsCotrolStyle() = default;  // the defaults below

  const std::u16string& PatrnName() const { return m_PatrnName; }
  void SetPatrnName(std::u16string_view strPatrnName) { m_PatrnName = strPatrnName; }

  // Written as text and held as a 16-bit integer; read back as its decimal
  // text. Empty or blank text counts as 0 (a settings file without the key
  // gives ""); other text that is not a number throws std::invalid_argument,
  // a value outside 16 bits std::out_of_range. Numbers round ties to even.
  std::u16string Flg() const;
  void SetFlg(std::u16string_view intFlg);
  int16_t FlgValue() const { return m_Flg; }

  int16_t CType() const { return m_CType; }  // 0 TextBox, 1 Label, 2 CommandButton
  void SetCType(int16_t intType) { m_CType = intType; }
  int16_t Alignment() const { return m_Alignment; }
  void SetAlignment(int16_t intAlignment) { m_Alignment = intAlignment; }
  int16_t BackStyle() const { return m_BackStyle; }
  void SetBackStyle(int16_t intBackStyle) { m_BackStyle = intBackStyle; }
  const std::u16string& Caption() const { return m_Caption; }
  void SetCaption(std::u16string_view strCaption) { m_Caption = strCaption; }
  int16_t Enabled() const { return m_Enabled; }  // list index: 0 True, 1 False
  void SetEnabled(int16_t intEnabled) { m_Enabled = intEnabled; }
  const std::u16string& Font() const { return m_Font; }
  void SetFont(std::u16string_view strFont) { m_Font = strFont; }
  int16_t FontSize() const { return m_FontSize; }
  void SetFontSize(int16_t intFontSize) { m_FontSize = intFontSize; }
  bool FontBold() const { return m_FontBold; }
  void SetFontBold(bool bolFontBold) { m_FontBold = bolFontBold; }
  bool FontItalic() const { return m_FontItalic; }
  void SetFontItalic(bool bolFontItalic) { m_FontItalic = bolFontItalic; }
  bool FontStrikethru() const { return m_FontStrikethru; }
  void SetFontStrikethru(bool bolFontStrikethru) { m_FontStrikethru = bolFontStrikethru; }
  bool FontUnderline() const { return m_FontUnderline; }
  void SetFontUnderline(bool bolFontUnderline) { m_FontUnderline = bolFontUnderline; }
  int32_t Height() const { return m_Height; }
  void SetHeight(int32_t lngHeight) { m_Height = lngHeight; }
  int16_t IMEMode() const { return m_IMEMode; }
  void SetIMEMode(int16_t intIMEMode) { m_IMEMode = intIMEMode; }
  int32_t Left() const { return m_Left; }
  void SetLeft(int32_t lngLeft) { m_Left = lngLeft; }
  int16_t Locked() const { return m_Locked; }  // list index: 0 True, 1 False
  void SetLocked(int16_t intLocked) { m_Locked = intLocked; }
  int32_t MaxLength() const { return m_MaxLength; }
  void SetMaxLength(int32_t lngMaxLength) { m_MaxLength = lngMaxLength; }
  const std::u16string& Tag() const { return m_Tag; }
  void SetTag(std::u16string_view strTag) { m_Tag = strTag; }
  int32_t Top() const { return m_Top; }
  void SetTop(int32_t lngTop) { m_Top = lngTop; }
  int32_t Width() const { return m_Width; }
  void SetWidth(int32_t lngWidth) { m_Width = lngWidth; }
  int16_t DelFlg() const { return m_DelFlg; }  // 0 registered, 1 deleted
  void SetDelFlg(int16_t intDelFlg) { m_DelFlg = intDelFlg; }

  bool operator==(const clsCotrolStyle&) const = default;

 private:
  std::u16string m_PatrnName;
  int16_t m_Flg = 0;
  int16_t m_CType = 0;
  int16_t m_Alignment = 0;
  int16_t m_BackStyle = 1;
  std::u16string m_Caption;
  int16_t m_Enabled = 0;
  std::u16string m_Font = u"ＭＳ Ｐゴシック";
  int16_t m_FontSize = 9;
  bool m_FontBold = false;
  bool m_FontItalic = false;
  bool m_FontStrikethru = false;
  bool m_FontUnderline = false;
  int32_t m_Height = 0;
  int16_t m_IMEMode = 0;
  int32_t m_Left = 0;
  int16_t m_Locked = 1;
  int32_t m_MaxLength = 0;
  std::u16string m_Tag;
  int32_t m_Top = 0;
  int32_t m_Width = 0;
  int16_t m_DelFlg = 0;
};

// The ordered collection of style patterns. Records are shared: a window that
// takes a record by number and changes it changes the one in the collection.
// A pattern's number is its 1-based position.
class CotrolStyleCollection {
 public:
  using Ptr = std::shared_ptr<clsCotrolStyle>;

  void Add(Ptr record);
  // 1 to Count(); throws std::out_of_range otherwise.
  clsCotrolStyle& Item(int32_t number) const;
  Ptr ItemPtr(int32_t number) const;
  int32_t Count() const { return static_cast<int32_t>(records_.size()); }
  bool empty() const { return records_.empty(); }
  void Clear() { records_.clear(); }
  // Drops the records whose DelFlg is not 0, keeping the order of the others.
  // Only the settings save does this; during a connection records stay.
  void RemoveMarked();

  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }

 private:
  std::vector<Ptr> records_;
};

}  // namespace tarno
