// The add-in's button faces: a window that is never shown, one picture box
// per face, named after the face's role.
#pragma once

#include <string_view>

#include "platform/clipboard.h"
#include "ui/ui.h"

namespace tarno {

class frmImage : public ui::Form {
 public:
  frmImage();

  ui::PictureBox picComMnt{*this, u"picComMnt"};
  ui::PictureBox picHenMnt{*this, u"picHenMnt"};
  ui::PictureBox picProcMnt{*this, u"picProcMnt"};
  ui::PictureBox picCodeMnt{*this, u"picCodeMnt"};
  ui::PictureBox picPrjSave{*this, u"picPrjSave"};
  ui::PictureBox picFrmCopy{*this, u"picFrmCopy"};
  ui::PictureBox picCtlSize{*this, u"picCtlSize"};
  ui::PictureBox picCtlPatrn{*this, u"picCtlPatrn"};
  ui::PictureBox picCtlTabIndex{*this, u"picCtlTabIndex"};
  ui::PictureBox picCtlIndex{*this, u"picCtlIndex"};
  ui::PictureBox picComInst{*this, u"picComInst"};
  ui::PictureBox picComBlck{*this, u"picComBlck"};
  ui::PictureBox picComNBlk{*this, u"picComNBlk"};
  ui::PictureBox picComIBlk{*this, u"picComIBlk"};
  ui::PictureBox picErrHInst{*this, u"picErrHInst"};
  ui::PictureBox picErrFInst{*this, u"picErrFInst"};
  ui::PictureBox picErrInst{*this, u"picErrInst"};

  // The face of the picture box with this name; std::out_of_range when none.
  const Picture& Face(std::string_view name) const;
};

// Size of a face in pixels (the IDE's small button image).
inline constexpr int kFaceSize = 16;

// The one frmImage of the add-in.
frmImage& Images();

}  // namespace tarno
