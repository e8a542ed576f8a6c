// Qt's own texts (message-box buttons, the file and font dialogs) in
// Japanese, as the add-in's windows are, from Qt's translations
// (qtbase_ja.qm of the system's Qt). While a JapaneseQtTexts lives, the
// widgets created read their texts in Japanese; the workbench's own windows
// stay as they are. Without the translation file nothing changes.
#pragma once

#include <QTranslator>

namespace tarno::gui {

class JapaneseQtTexts {
 public:
  JapaneseQtTexts();
  ~JapaneseQtTexts();
  JapaneseQtTexts(const JapaneseQtTexts&) = delete;
  JapaneseQtTexts& operator=(const JapaneseQtTexts&) = delete;
  // Whether the translation was found.
  static bool Available();

 private:
  bool installed_ = false;
};

}  // namespace tarno::gui
