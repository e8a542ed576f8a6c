#include "companion/frm_torikomi.h"

#include <system_error>

#include "addin/settings.h"
#include "companion/program_window.h"
#include "companion/settings_import.h"
#include "platform/system_dirs.h"
#include "platform/text_file.h"
#include "platform/vb_text.h"

namespace tarno::companion {
namespace fs = std::filesystem;
namespace {

// The file name the path must hold somewhere, and the name of the destination.
constexpr const char16_t* kSettingsFileName16 = u"TarnoAddIn.ini";

}  // namespace

frmTorikomi::frmTorikomi() : Form(u"frmTorikomi") {
  SetCaption(kMessageTitle);
  Move(0, 0, 6000, 2700);
  Label2.SetCaption(vb::U("既存の設定ファイルを取り込み自動的に設定します"));
  Label2.Move(240, 240, 5400, 255);
  Label1.SetCaption(vb::U("ファイル名"));
  Label1.Move(240, 780, 1000, 255);
  Text1.SetToolTipText(vb::U("取り込むファイルを入力してください"));
  Text1.Move(1320, 750, 3300, 300);
  Command2.SetCaption(vb::U("参照"));
  Command2.SetToolTipText(vb::U("ファイル選択画面を表示します"));
  Command2.Move(4740, 720, 900, 360);
  Command1.SetCaption(vb::U("取り込み"));
  Command1.SetToolTipText(vb::U("設定ファイルを取り込みます"));
  Command1.Move(2700, 1560, 1400, 400);
  Command3.SetCaption(vb::U("閉じる"));
  Command3.SetToolTipText(vb::U("画面を閉じます"));
  Command3.Move(4240, 1560, 1400, 400);
  SetProgramFont(*this);
  Text1.OnGotFocus = [this] { Text1_GotFocus(); };
  Command2.OnClick = [this] { Command2_Click(); };
  Command1.OnClick = [this] { Command1_Click(); };
  Command3.OnClick = [this] { Command3_Click(); };
}

void frmTorikomi::Command2_Click() {
  CommonDialog1.CancelError = true;
  CommonDialog1.FileName = kSettingsFileName16;
  CommonDialog1.Flags = ui::cdlOFNOverwritePrompt;
  CommonDialog1.Filter = vb::U("設定ファイル|*.ini");
  try {
    CommonDialog1.ShowOpen();
  } catch (const ui::VbError& e) {
    if (e.number() == ui::err::DialogCancelled) return;
    throw;
  }
  Text1.SetText(CommonDialog1.FileName);
}

void frmTorikomi::Refuse(const std::u16string& text) {
  outcome_ = Outcome::kRefused;
  ShowMessage(text, ui::vbExclamation, Caption());
  Text1.SetFocus();
}

void frmTorikomi::Fail() {
  outcome_ = Outcome::kFailed;
  ShowMessage(vb::U("ファイルの取り込みに失敗しました"), ui::vbExclamation, Caption());
}

void frmTorikomi::Command1_Click() {
  const std::u16string text = Text1.Text();
  if (vb::Trim(text).empty()) return Refuse(vb::U("ファイル名を入力するか選択してください"));
  // The name test is case-sensitive and looks at the whole path.
  if (vb::InStr(1, text, kSettingsFileName16) == 0) return Refuse(vb::U("不正なファイルを指定しています"));
  const std::u16string kMissing = vb::U("指定されたファイルは存在しません");
  const std::u16string kTooLarge = vb::U("指定されたファイルは大きすぎます（設定ファイルは 1 MiB まで）");
  try {
    fs::path source = PathOfText(text);
    std::error_code ec;
    fs::file_status status = fs::status(source, ec);
    if (ec && status.type() != fs::file_type::not_found) return Fail();  // a path that cannot be looked at
    // A folder, a FIFO or a device is no file to import.
    if (status.type() != fs::file_type::regular) return Refuse(kMissing);

    strSystemDir_ = FindSystemDirectory();
    // Without a system directory there is no destination; never one in the current folder.
    if (strSystemDir_.empty()) return Fail();
    fs::path destination = win::JoinPath(strSystemDir_, kSettingsFileName);
    if (NamesDestination(text, source, destination)) return Refuse(vb::U("取り込み先のファイルは指定できません"));
    std::uintmax_t size = fs::file_size(source, ec);
    if (!ec && size > kMaxSettingsFileBytes) return Refuse(kTooLarge);

    if (fs::exists(fs::symlink_status(destination, ec))) {
      int answer = ui::MsgBox(vb::U("TarnoAddIn.iniは既に存在しています") + vb::U("上書きしてもよろしいですか？"),
                              ui::vbYesNo + ui::vbInformation, Caption());
      if (answer != ui::vbYes) {
        outcome_ = Outcome::kDeclined;
        return;
      }
    }
    if (!win::EnsureStandardDirectory(strSystemDir_)) return Fail();
    // The file as it is, a block at a time, through a temporary file renamed
    // into place: a failed copy leaves the old file whole. The source is
    // looked at again as it is opened, in case it changed since.
    try {
      files::CopyFileAtomic(source, destination, kMaxSettingsFileBytes);
    } catch (const files::NotAFileError&) {
      return Refuse(kMissing);
    } catch (const files::FileTooLargeError&) {
      return Refuse(kTooLarge);
    }
    outcome_ = Outcome::kDone;
  } catch (const std::exception&) {
    Fail();
  }
}

}  // namespace tarno::companion
