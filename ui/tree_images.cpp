#include "ui/tree_images.h"

#include <cstring>

namespace tarno::ui {
namespace {

// One character per pixel: '.' transparent, 'k' outline, 'y' folder body,
// 'l' light folder face, 'w' paper, 'g' text lines on the paper.
Picture Draw(const char* const rows[16], const char* role) {
  Picture p;
  p.width = p.height = 16;
  p.name = role;
  p.pixels.reserve(256);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      switch (rows[y][x]) {
        case 'k': p.pixels.push_back(0xFF6B5A2A); break;
        case 'y': p.pixels.push_back(0xFFE8C04A); break;
        case 'l': p.pixels.push_back(0xFFF8E08E); break;
        case 'w': p.pixels.push_back(0xFFFFFFFF); break;
        case 'g': p.pixels.push_back(0xFF8DA3C4); break;
        case 'p': p.pixels.push_back(0xFF5F6B7A); break;
        default: p.pixels.push_back(0x00000000); break;
      }
    }
  return p;
}

}  // namespace

Picture FolderImage() {
  static const char* const rows[16] = {
      "................", "................", "..kkkkk.........", ".kyyyyyk........", "kyyyyyyykkkkkkk.",
      "kllllllllllllyk.", "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.",
      "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.", "klyyyyyyyyyyyyk.", "kkkkkkkkkkkkkkk.", "................",
      "................"};
  return Draw(rows, "Folder");
}

Picture OpenFolderImage() {
  static const char* const rows[16] = {
      "................", "................", "..kkkkk.........", ".kyyyyyk........", "kyyyyyyykkkkkk..",
      "kyyyyyyyyyyyyk..", "kyyykkkkkkkkkkkk", "kyykllllllllllk.", "kyklllllllllllk.", "kykllllllllllk..",
      "kklllllllllllk..", "kklllllllllllk..", "kllllllllllllk..", "kkkkkkkkkkkkk...", "................",
      "................"};
  return Draw(rows, "OpenFolder");
}

Picture FileImage() {
  static const char* const rows[16] = {
      "..pppppppp......", "..pwwwwwwpp.....", "..pwwwwwwpwp....", "..pwggggwppppp..", "..pwwwwwwwwwwp..",
      "..pwggggggggwp..", "..pwwwwwwwwwwp..", "..pwggggggggwp..", "..pwwwwwwwwwwp..", "..pwggggggggwp..",
      "..pwwwwwwwwwwp..", "..pwggggggwwwp..", "..pwwwwwwwwwwp..", "..pwwwwwwwwwwp..", "..pppppppppppp..",
      "................"};
  return Draw(rows, "File");
}

}  // namespace tarno::ui
