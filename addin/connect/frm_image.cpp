#include "addin/connect/frm_image.h"

#include <stdexcept>

#include "platform/vb_text.h"

namespace tarno {

namespace {

// 5 x 7 letters drawn on the faces.
struct Glyph {
  char letter;
  const char* rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'V', {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'S', {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."}},
    {'A', {"..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'\'', {"..##.", "..##.", "...#.", "..#..", ".....", ".....", "....."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
};

// Role colours: comments green, checks blue, patterns orange, project tools
// purple, control tools teal, error handling red.
constexpr uint32_t kGreen = 0xFF2E8B57, kBlue = 0xFF1E5AA8, kOrange = 0xFFD2691E, kPurple = 0xFF7B3FA0,
                   kTeal = 0xFF008080, kRed = 0xFFB22222;

struct FaceRow {
  const char* name;
  char letter;
  uint32_t colour;
};
constexpr FaceRow kFaces[] = {
    {"picComMnt", 'R', kGreen},       {"picHenMnt", 'V', kBlue},     {"picProcMnt", 'P', kBlue},
    {"picCodeMnt", 'S', kOrange},     {"picPrjSave", 'A', kPurple},  {"picFrmCopy", 'F', kPurple},
    {"picCtlSize", 'L', kTeal},       {"picCtlPatrn", 'S', kTeal},   {"picCtlTabIndex", 'T', kTeal},
    {"picCtlIndex", 'I', kTeal},      {"picComInst", 'C', kGreen},   {"picComBlck", '\'', kGreen},
    {"picComNBlk", 'U', kGreen},      {"picComIBlk", 'B', kGreen},   {"picErrHInst", 'H', kRed},
    {"picErrFInst", 'F', kRed},       {"picErrInst", 'E', kRed},
};

// A rounded tile in the role's colour with the letter in white; the corners
// stay transparent.
Picture DrawFace(const FaceRow& row) {
  Picture p;
  p.width = kFaceSize;
  p.height = kFaceSize;
  p.name = row.name;
  p.pixels.assign(kFaceSize * kFaceSize, 0x00000000);
  for (int y = 1; y < kFaceSize - 1; ++y)
    for (int x = 1; x < kFaceSize - 1; ++x) {
      bool corner = (x == 1 || x == kFaceSize - 2) && (y == 1 || y == kFaceSize - 2);
      if (!corner) p.pixels[y * kFaceSize + x] = row.colour;
    }
  const Glyph* glyph = nullptr;
  for (const Glyph& g : kGlyphs)
    if (g.letter == row.letter) glyph = &g;
  if (!glyph) throw std::logic_error(std::string("no glyph for face ") + row.name);
  // The letter, centred, over a one-pixel dark shadow.
  const int left = (kFaceSize - 5) / 2, top = (kFaceSize - 7) / 2;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 5; ++x)
      if (glyph->rows[y][x] == '#') {
        p.pixels[(top + y + 1) * kFaceSize + left + x + 1] = 0xFF202020;
      }
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 5; ++x)
      if (glyph->rows[y][x] == '#') p.pixels[(top + y) * kFaceSize + left + x] = 0xFFFFFFFF;
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
