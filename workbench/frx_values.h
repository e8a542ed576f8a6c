// The binary values a designer keeps beside its file (.frx for a form, .ctx
// for a user control, ...): pictures and the design-time items of list and
// combo boxes, read for drawing. A property's value names the file and an
// offset ("Form1.frx":08CA).
#pragma once

#include <QImage>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/code_page.h"

namespace tarno::workbench {

class FrxValues {
 public:
  // folder: the designer file's own; texts are in its code page.
  FrxValues(std::filesystem::path folder, CodePage codePage);

  // A picture record: DWORD record length, "lt\0\0", DWORD data length and
  // the picture's own bytes (BMP, ICO, CUR, GIF, JPEG; WMF and EMF only where
  // Qt has a reader). A null image when the record cannot be read.
  QImage Picture(const std::u16string& reference);
  // A list record: WORD item count, WORD 3, then each item as a WORD length
  // and its bytes. Empty when the record cannot be read.
  QStringList List(const std::u16string& reference);
  // The bytes of the binary file of that name (as a reference writes it),
  // nullptr when it cannot be read.
  const std::string* File(const std::u16string& name);
  // Binary files not on disk yet ("<1>"): nullptr when the name is none.
  std::function<const std::string*(const std::u16string& name)> held;
  // Forgets what was read: the files may have grown (a save appends to them).
  void Forget();

 private:
  // The file's bytes from the offset on; nullopt for a value that is no
  // reference or a file that cannot be read.
  std::optional<std::string_view> At(const std::u16string& reference);

  std::filesystem::path folder_;
  CodePage code_page_;
  std::map<std::filesystem::path, std::optional<std::string>> files_;
  std::map<std::u16string, QImage> pictures_;
};

}  // namespace tarno::workbench
