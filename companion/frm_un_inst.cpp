#include "companion/frm_un_inst.h"

#include <system_error>

#include "addin/settings.h"
#include "companion/program_window.h"
#include "platform/profile.h"
#include "platform/system_dirs.h"
#include "platform/vb_text.h"

namespace tarno::companion {
namespace fs = std::filesystem;

frmUnInst::frmUnInst() : OneActionWindow(u"frmUnInst", vb::U("Tarno Kit アンインストール"), vb::U("アンインストール")) {}

void frmUnInst::Command2_Click() {
  // Only the add-in's key goes; every other line of the file stays as it is.
  fs::path file = AddInsFilePath();
  bool removed = !file.empty() && win::WritePrivateProfileStringA(kAddInsSection, kAddInKey, nullptr, file);
  StartHidden(kUnregisterCommand);

  std::u16string problems;
  if (!removed)
    problems += vb::U("VBADDIN.INIからアドインの登録を削除できませんでした") + vb::kCrLf +
                vb::U(file.empty() ? std::string(kAddInsFile) : file.string());

  std::string strSystemDir = FindSystemDirectory();
  if (!strSystemDir.empty()) {
    fs::path settings = win::JoinPath(strSystemDir, kSettingsFileName);
    std::error_code ec;
    fs::file_status st = fs::symlink_status(settings, ec);
    // A folder of that name is no settings file and is left alone.
    if (fs::exists(st) && !fs::is_directory(st) && !fs::remove(settings, ec)) {
      if (!problems.empty()) problems += vb::kCrLf;
      problems += vb::U("設定ファイルを削除できませんでした") + vb::kCrLf + vb::U(settings.string());
    }
  }

  if (!problems.empty()) {
    outcome_ = Outcome::kFailed;
    ShowMessage(problems, ui::vbExclamation);
    return;
  }
  outcome_ = Outcome::kDone;
  ShowMessage(vb::U("アンインストールしました"), ui::vbInformation);
}

}  // namespace tarno::companion
