#include "addin/connect/frm_image.h"

#include <stdexcept>

#include "platform/vb_text.h"

namespace tarno {

namespace {

// Each face a 16 x 16 picture of what its command does, one character a
// pixel: '.' transparent, 'k' outline, 'w' white, 'l' light grey, 's' grey,
// 'c' glass blue; the roles' colours: comments green 'g', checks blue 'b',
// patterns orange 'o', project tools purple 'p', control tools teal 't',
// error handling red 'r'; 'y' yellow.
struct FaceRow {
  const char* name;
  const char* rows[kFaceSize];
};
constexpr FaceRow kFaces[] = {
    {"picComMnt",
     {"................", "................", ".kkkkkkkkkk.....", ".kwwwwwwwwk.....", ".kwggggggwk.....", ".kwwwwwwwwk..yk.", ".kwggggggwk.yyk.", ".kwwwwwwwwkyyk..", ".kwgggggwwyyk...", ".kwwwwwwwyyk....", ".kwggggwwok.....", ".kwwwwwwwk......", ".kwwwwwwwk......", ".kkkkkkkkk......", "................", "................"}},
    {"picHenMnt",
     {"................", "...kkkkk........", "..kcccccck......", ".kcwwwwwcck.....", ".kcwbwwbwck.....", ".kcwwbbwwck.....", ".kcwwbbwwck.....", ".kcwbwwbwck.....", "..kcwwwwck......", "...kkkkkkk......", ".........kkk....", "..........kkk...", "...........kkk..", "............kkk.", ".............kk.", "................"}},
    {"picProcMnt",
     {"................", "...kkkkk........", "..kcccccck......", ".kcwwwwwcck.....", ".kcwbbbbwck.....", ".kcwbwwbwck.....", ".kcwbwwbwck.....", ".kcwbbbbwck.....", "..kcwwwwck......", "...kkkkkkk......", ".........kkk....", "..........kkk...", "...........kkk..", "............kkk.", ".............kk.", "................"}},
    {"picCodeMnt",
     {"................", "................", "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwkwk....", "..kwoowwwkkkk...", "..kwowwwwwwwk...", "..kwowwwwoowk...", "..kwowwwwwowk...", "..kwoowwwwowk...", "..kwwwwwwwowk...", "..kwwwwwwoowk...", "..kwwwwwwwwwk...", "..kkkkkkkkkkk...", "................", "................"}},
    {"picPrjSave",
     {"................", ".ppppppppppppp..", ".pplllllllllppp.", ".pplllllllskppp.", ".pplllllllskppp.", ".ppllllllllllpp.", ".pppppppppppppp.", ".pppppppppppppp.", ".ppwwwwwwwwwwpp.", ".ppwkkkkkkkkwpp.", ".ppwwwwwwwwwwpp.", ".ppwkkkkkkkkwpp.", ".ppwwwwwwwwwwpp.", ".pppppppppppppp.", "................", "................"}},
    {"picFrmCopy",
     {"................", "................", "kkkkkkkkkk......", "kppppppppk......", "kwwwwwwwwk......", "kwwwwwwwwk......", "kwwwkkkkkkkkkk..", "kwwwkppppppppk..", "kwwwkwwwwwwwwk..", "kkkkkwwwwwwwwk..", "....kwwwwwwwwk..", "....kwwwwwwwwk..", "....kwwwwwwwwk..", "....kkkkkkkkkk..", "................", "................"}},
    {"picCtlSize",
     {"................", ".k..............", ".k.ttttttttttt..", ".k.ttttttttttt..", ".k..............", ".k.tttttt.......", ".k.tttttt.......", ".k..............", ".k.tttttttttttt.", ".k.tttttttttttt.", ".k..............", ".k.ttttttttt....", ".k.ttttttttt....", ".k..............", "................", "................"}},
    {"picCtlPatrn",
     {"................", "................", "....kkkkkk......", "..kkllllllkk....", ".klrrllllbblk...", ".klrrllllbblk...", "kllllllllllllk..", "klggllllllllk...", "klggllllkkkk....", "klllllllk.......", ".kllyylllk......", ".kllyyllllk.....", "..kklllllllk....", "....kkkkkkkk....", "................", "................"}},
    {"picCtlTabIndex",
     {"................", ".k..kttttttttt..", "kk..............", ".k..kttttttttt..", ".k..............", "kkk.kttttttttt..", "................", "kk..............", "..k.ktttttttt...", ".k..............", "kkk.ktttttttt...", "................", "...........k.k..", ".kkkkkkkkkkk.k..", "...........k.k..", "................"}},
    {"picCtlIndex",
     {"................", "................", "................", ".kk.........kk..", ".k...........k..", ".k..ttt.ttt..k..", ".k..ttt.ttt..k..", ".k..ttt.ttt..k..", ".k...........k..", ".k..ttt.ttt..k..", ".k..ttt.ttt..k..", ".k..ttt.ttt..k..", ".k...........k..", ".kk.........kk..", "................", "................"}},
    {"picComInst",
     {"................", "................", "..gg............", "..gg............", "...g............", "..g.............", "................", "..kkkkkkkkkkkk..", "................", "..kkkkkkkk......", "................", "..kkkkkkkkkk....", "..........gg....", ".........gggg...", "..........gg....", "................"}},
    {"picComBlck",
     {"................", "................", ".gg.kkkkkkkkkk..", "..g.............", ".g..............", ".gg.kkkkkkkk....", "..g.............", ".g..............", ".gg.kkkkkkkkkk..", "..g.............", ".g..............", ".gg.kkkkkkk.....", "..g.............", ".g..............", "................", "................"}},
    {"picComNBlk",
     {"................", "................", ".gg.kkkkkkkkkk..", "..g.............", ".g..........rr..", ".gg.kkkkkkrrrr..", "..g.......rrr...", ".g.......rr.....", ".gg.kkkkrrkkkk..", "..g....rr.......", ".g....rr........", ".gg.krrkkkk.....", "..g.rr..........", ".g..............", "................", "................"}},
    {"picComIBlk",
     {"................", "................", ".ggggggggggggg..", ".g...........g..", ".g.gg.kkkkkk.g..", ".g..g........g..", ".g.g.........g..", ".g.gg.kkkkk..g..", ".g..g........g..", ".g.g.........g..", ".g.gg.kkkkkk.g..", ".g..g........g..", ".g.g.........g..", ".ggggggggggggg..", "................", "................"}},
    {"picErrHInst",
     {"................", "..kkkkkkkkkk....", "..kwwwwrrwwk....", "..kwwwwrrwwk....", "..kwwwwrrwwk....", "..kwwwwwwwwk....", "..kwwwwrrwwk....", "..kwwwwwwwwk....", "..kwkkkkkkwk....", "..kwwwwwwwwk....", "..kwkkkkkwwk....", "..kwwwwwwwwk....", "..kwkkkkkkwk....", "..kwwwwwwwwk....", "..kkkkkkkkkk....", "................"}},
    {"picErrFInst",
     {"................", "..kkkkkkkkkk....", "..kwwwwwwwwk....", "..kwkkkkkkwk....", "..kwwwwwwwwk....", "..kwkkkkkwwk....", "..kwwwwwwwwk....", "..kwkkkkkkwk....", "..kwwwwwwwwk....", "..kwwwwrrwwk....", "..kwwwwrrwwk....", "..kwwwwrrwwk....", "..kwwwwwwwwk....", "..kwwwwrrwwk....", "..kkkkkkkkkk....", "................"}},
    {"picErrInst",
     {"..kkkkkkkkkk....", "..kwwwwrrwwk....", "..kwwwwrrwwk....", "..kwwwwwwwwk....", "..kwwwwrrwwk....", "..kwwwwwwwwk....", "..kwkkkkkkwk....", "..kwwwwwwwwk....", "..kwkkkkkwwk....", "..kwwwwwwwwk....", "..kwwwwrrwwk....", "..kwwwwrrwwk....", "..kwwwwwwwwk....", "..kwwwwrrwwk....", "..kkkkkkkkkk....", "................"}},

};

uint32_t Colour(char c) {
  switch (c) {
    case 'k': return 0xFF303030;
    case 'w': return 0xFFFFFFFF;
    case 'l': return 0xFFD8D8D8;
    case 's': return 0xFF9A9A9A;
    case 'c': return 0xFFBFD7F0;
    case 'g': return 0xFF2E8B57;
    case 'b': return 0xFF1E5AA8;
    case 'o': return 0xFFD2691E;
    case 'p': return 0xFF7B3FA0;
    case 't': return 0xFF008080;
    case 'r': return 0xFFB22222;
    case 'y': return 0xFFF0C040;
    default: return 0x00000000;
  }
}

Picture DrawFace(const FaceRow& row) {
  Picture p;
  p.width = kFaceSize;
  p.height = kFaceSize;
  p.name = row.name;
  p.pixels.reserve(kFaceSize * kFaceSize);
  for (int y = 0; y < kFaceSize; ++y)
    for (int x = 0; x < kFaceSize; ++x) p.pixels.push_back(Colour(row.rows[y][x]));
  return p;
}

}  // namespace

frmImage::frmImage() : Form(u"frmImage") {
  for (const FaceRow& row : kFaces) {
    auto* box = dynamic_cast<ui::PictureBox*>(FindControl(vb::U(row.name)));
    if (!box) throw std::logic_error(std::string("frmImage has no picture box ") + row.name);
    box->SetPicture(DrawFace(row));
    box->Move(0, 0, 330, 330);
  }
}

const Picture& frmImage::Face(std::string_view name) const {
  auto* box = dynamic_cast<ui::PictureBox*>(FindControl(vb::U(name)));
  if (!box || !box->Picture()) throw std::out_of_range("frmImage has no face " + std::string(name));
  return *box->Picture();
}

frmImage& Images() {
  static frmImage images;
  return images;
}

}  // namespace tarno
