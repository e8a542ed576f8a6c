#include "companion/frm_set_up.h"

#include "companion/program_window.h"
#include "platform/profile.h"
#include "platform/vb_text.h"

namespace tarno::companion {

frmSetUp::frmSetUp() : OneActionWindow(u"frmSetUp", vb::U("Tarno Kit セットアップ"), vb::U("セットアップ")) {}

void frmSetUp::Command2_Click() {
  // The entry is written through a temporary file; when that cannot be done
  // (no Windows directory, a read-only one, a folder in the file's place) the
  // user is told instead of being told that all went well.
  std::filesystem::path file = AddInsFilePath();
  bool written = !file.empty() && win::WritePrivateProfileStringA(kAddInsSection, kAddInKey, kAddInValue, file);
  StartHidden(kRegisterCommand);
  if (!written) {
    outcome_ = Outcome::kFailed;
    ShowMessage(vb::U("VBADDIN.INIにアドインを登録できませんでした") + vb::kCrLf +
                    vb::U(file.empty() ? std::string(kAddInsFile) : file.string()),
                ui::vbExclamation);
    return;
  }
  outcome_ = Outcome::kDone;
  ShowMessage(vb::U("セットアップが完了しました"), ui::vbInformation);
}

}  // namespace tarno::companion
