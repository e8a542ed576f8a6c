#include "addin/settings.h"

#include <functional>
#include <optional>
#include <system_error>

#include "platform/code_page.h"
#include "platform/profile.h"
#include "platform/system_dirs.h"
#include "platform/vb_text.h"

namespace tarno {
namespace fs = std::filesystem;
namespace {

constexpr uint32_t kBufferSize = 255;
const std::u16string kFooterSeparator = u"*9*9";

std::string PatternSection(int32_t number) { return "CONTROL_NO" + std::to_string(number); }

std::string Ansi(std::u16string_view text) { return SystemCodePage().Encode(text); }
std::string Ansi(long long n) { return std::to_string(n); }

class Reader {
 public:
  explicit Reader(const fs::path& path) : batch_(path), path_(path) {}

  // The value as the profile call returns it (at most 254 bytes); nullopt
  // when the returned length is 0.
  std::optional<std::u16string> Text(const char* section, const char* key) const {
    std::string out;
    uint32_t n = batch_.GetPrivateProfileStringA(section, key, "", out, kBufferSize);
    if (n < 1) return std::nullopt;
    return SystemCodePage().Decode(out);
  }

  int32_t Long(const std::string& section, const char* key) const {
    auto text = Text(section.c_str(), key);
    auto value = text ? vb::ToLong(*text) : std::nullopt;
    if (!value) Fail(section, key, text, "a whole number");
    return *value;
  }
  int16_t Integer(const std::string& section, const char* key) const {
    int32_t value = Long(section, key);
    if (value < INT16_MIN || value > INT16_MAX)
      Fail(section, key, vb::FromInt(value), "a whole number from -32768 to 32767");
    return static_cast<int16_t>(value);
  }
  // Converted straight from the text (FontSize), without the 32-bit step.
  int16_t DirectInteger(const std::string& section, const char* key) const {
    auto text = Text(section.c_str(), key);
    auto value = text ? vb::ToInteger(*text) : std::nullopt;
    if (!value) Fail(section, key, text, "a whole number from -32768 to 32767");
    return *value;
  }
  bool Boolean(const std::string& section, const char* key) const {
    auto text = Text(section.c_str(), key);
    auto value = text ? vb::ToBoolean(*text) : std::nullopt;
    if (!value) Fail(section, key, text, "True or False");
    return *value;
  }

  [[noreturn]] void Fail(const std::string& section, const char* key,
                         const std::optional<std::u16string>& text, const char* expected) const {
    std::string got = text ? "\"" + vb::ToUtf8(*text) + "\"" : "no value";
    throw SettingsError(path_.string() + ": [" + section + "] " + key + ": expected " + expected +
                        ", found " + got);
  }

 private:
  win::ProfileBatch batch_;  // the file is read once for all keys
  fs::path path_;
};

}  // namespace

SettingsModel& Settings() {
  static SettingsModel model;
  return model;
}

void ResetSettings() { Settings() = SettingsModel{}; }

fs::path SettingsFilePath(const SettingsModel& model) {
  if (model.SystemDir.empty()) return {};
  return win::JoinPath(model.SystemDir, kSettingsFileName);
}

void GetSystemDir(SettingsModel& model) {
  std::string buffer(kBufferSize, ' ');
  uint32_t n = win::GetSystemDirectoryA(buffer, kBufferSize);
  // A length of 255 or more is the size a longer folder would need: the
  // buffer does not hold it, so keep what we had rather than a cut path.
  if (n > 0 && n < kBufferSize) model.SystemDir = buffer.substr(0, n);
}

std::u16string EncodeComment(std::u16string_view text) { return vb::Replace(text, vb::kCrLf, u""); }

std::u16string DecodeComment(std::u16string_view stored) {
  std::u16string out;
  for (size_t i = 0; i < stored.size(); ++i) {
    if (i > 0 && stored[i] == u'\'') out += vb::kCrLf;
    out.push_back(stored[i]);
  }
  return out;
}

std::u16string EncodeFooter(std::u16string_view text) {
  return vb::Replace(text, vb::kCrLf, kFooterSeparator);
}

std::u16string DecodeFooter(std::u16string_view stored) {
  return vb::Replace(stored, kFooterSeparator, vb::kCrLf);
}

// Keys that are missing (or empty) outside the pattern sections give the
// field's default; inside a pattern section a missing number fails the load.
void LoadSettings(SettingsModel& model) {
  model.LoadCompleted = false;
  fs::path path = SettingsFilePath(model);
  if (path.empty()) return;  // no system directory: nothing can be read, nothing may be written
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    model.LoadCompleted = !ec;
    return;
  }
  Reader r(path);

  model.CurrentCommentNo = r.Text("COMMENT_NO", "NO") ? r.Long("COMMENT_NO", "NO") : 0;
  for (int n = 1; n <= 10; ++n) {
    auto text = r.Text("COMMENT", std::to_string(n).c_str());
    model.CommentTexts[static_cast<size_t>(n - 1)] = text ? DecodeComment(*text) : u"";
  }
  model.AutoSaveOn = r.Text("Project", "Saved") ? r.Integer("Project", "Saved") : 0;
  model.AutoSaveInterval = r.Text("Project", "Interval") ? r.Integer("Project", "Interval") : 1;
  model.AutoSaveMsgFlag = r.Text("Project", "MsgFlg") ? r.Integer("Project", "MsgFlg") : 0;
  model.PatternCount = r.Text("CONTROL_NO", "NO") ? r.Long("CONTROL_NO", "NO") : 0;
  // New patterns are numbered count + 1, so a negative count would hand out
  // numbers no record can have.
  if (model.PatternCount < 0)
    r.Fail("CONTROL_NO", "NO", vb::FromInt(model.PatternCount), "a count of 0 or more");

  // Pattern numbers are positions in the collection, so it must start empty.
  model.PatternCollection.Clear();
  for (int32_t i = 1; i <= model.PatternCount; ++i) {
    auto rec = std::make_shared<clsCotrolStyle>();
    const std::string s = PatternSection(i);
    const char* sec = s.c_str();
    rec->SetPatrnName(r.Text(sec, "PatrnName").value_or(u""));
    rec->SetCType(r.Integer(s, "Type"));
    rec->SetFlg(r.Text(sec, "Flg") ? vb::FromInt(r.Long(s, "Flg")) : u"");
    rec->SetAlignment(r.Integer(s, "Alignment"));
    rec->SetBackStyle(r.Integer(s, "BackStyle"));
    rec->SetCaption(r.Text(sec, "Caption").value_or(u""));
    rec->SetEnabled(r.Integer(s, "Enabled"));
    rec->SetFont(r.Text(sec, "Font").value_or(u""));
    rec->SetFontSize(r.DirectInteger(s, "FontSize"));
    rec->SetFontBold(r.Boolean(s, "FontBold"));
    rec->SetFontItalic(r.Boolean(s, "FontItalic"));
    rec->SetFontStrikethru(r.Boolean(s, "FontStrikethru"));
    rec->SetFontUnderline(r.Boolean(s, "FontUnderline"));
    rec->SetHeight(r.Long(s, "Height"));
    rec->SetIMEMode(r.Integer(s, "IMEMode"));
    rec->SetLeft(r.Long(s, "Left"));
    rec->SetLocked(r.Integer(s, "Locked"));
    rec->SetMaxLength(r.Long(s, "MaxLength"));
    rec->SetTop(r.Long(s, "Top"));
    rec->SetTag(r.Text(sec, "Tag").value_or(u""));
    rec->SetWidth(r.Long(s, "Width"));
    model.PatternCollection.Add(rec);
  }

  model.ErrExitFlag =
      r.Text("ERRCOMMENT", "ErrExitFlg") ? vb::FromInt(r.Long("ERRCOMMENT", "ErrExitFlg")) : u"0";
  model.ErrHeaderLabel = r.Text("ERRCOMMENT", "ErrHeader").value_or(u"");
  if (auto footer = r.Text("ERRCOMMENT", "ErrHuter"); footer && !vb::Trim(*footer).empty())
    model.ErrFooterText = DecodeFooter(*footer);
  model.LoadCompleted = true;
}

bool SaveSettings(SettingsModel& model) {
  fs::path path = SettingsFilePath(model);
  if (!model.LoadCompleted || path.empty()) return false;
  // All writes are applied to one copy of the file, which then replaces the
  // stored one in a single step: a failure half-way leaves the old settings.
  win::ProfileBatch batch(path);
  bool ok = true;
  auto put = [&](const std::string& section, const char* key, const std::string& value) {
    ok = batch.WritePrivateProfileStringA(section, key, value) && ok;
  };

  put("COMMENT_NO", "NO", Ansi(model.CurrentCommentNo));
  for (int n = 1; n <= 10; ++n)
    put("COMMENT", std::to_string(n).c_str(),
        Ansi(EncodeComment(model.CommentTexts[static_cast<size_t>(n - 1)])));
  put("Project", "Saved", Ansi(model.AutoSaveOn));
  put("Project", "Interval", Ansi(model.AutoSaveInterval));
  put("Project", "MsgFlg", Ansi(model.AutoSaveMsgFlag));

  if (!model.PatternCollection.empty()) {
    auto boolean = [](bool b) { return std::string(b ? "True" : "False"); };
    int32_t k = 0;
    for (const auto& rec : model.PatternCollection) {
      if (rec->DelFlg() != 0) continue;
      const std::string s = PatternSection(++k);
      put(s, "PatrnName", Ansi(rec->PatrnName()));
      put(s, "Type", Ansi(rec->CType()));
      put(s, "Flg", Ansi(rec->Flg()));
      put(s, "Alignment", Ansi(rec->Alignment()));
      put(s, "BackStyle", Ansi(rec->BackStyle()));
      put(s, "Caption", Ansi(rec->Caption()));
      put(s, "Enabled", Ansi(rec->Enabled()));
      put(s, "Font", Ansi(rec->Font()));
      put(s, "FontSize", Ansi(rec->FontSize()));
      put(s, "FontBold", boolean(rec->FontBold()));
      put(s, "FontItalic", boolean(rec->FontItalic()));
      put(s, "FontStrikethru", boolean(rec->FontStrikethru()));
      put(s, "FontUnderline", boolean(rec->FontUnderline()));
      put(s, "Height", Ansi(rec->Height()));
      put(s, "IMEMode", Ansi(rec->IMEMode()));
      put(s, "Left", Ansi(rec->Left()));
      put(s, "Locked", Ansi(rec->Locked()));
      put(s, "MaxLength", Ansi(rec->MaxLength()));
      put(s, "Tag", Ansi(rec->Tag()));
      put(s, "Top", Ansi(rec->Top()));
      put(s, "Width", Ansi(rec->Width()));
    }
    // Sections of the patterns that were dropped: the whole section goes,
    // keys and header, so nothing stale is read at the next connection.
    for (int32_t n = k + 1; n <= model.PatternCollection.Count(); ++n)
      ok = batch.WritePrivateProfileSectionA(PatternSection(n), std::nullopt) && ok;
    model.PatternCollection.RemoveMarked();
    model.PatternCount = k;
    put("CONTROL_NO", "NO", Ansi(k));
  }

  put("ERRCOMMENT", "ErrExitFlg", Ansi(model.ErrExitFlag));
  put("ERRCOMMENT", "ErrHeader", Ansi(model.ErrHeaderLabel));
  put("ERRCOMMENT", "ErrHuter", Ansi(EncodeFooter(model.ErrFooterText)));
  return batch.Commit() && ok;
}

}  // namespace tarno
