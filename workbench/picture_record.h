// A picture file (.bmp, .ico, .cur, .gif, .jpg) as a form's binary file keeps
// a Picture or Icon property's value: the record's length, "lt\0\0", the
// picture's length and the file's own bytes.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace tarno::workbench {

// The file types the Properties window's picture dialog offers.
QString PictureFileFilter();

// The record of the picture in the file; nullopt (with `problem` saying why,
// naming the file) when it cannot be read, is not one of those types or is
// not a picture at all.
std::optional<std::string> PictureRecord(const QString& file, QString& problem);

}  // namespace tarno::workbench
