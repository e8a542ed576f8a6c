#include "gui/japanese_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tarno::gui {
namespace {

QTranslator* Translator() {
  static QTranslator* translator = [] {
    auto* t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      delete t;
      return static_cast<QTranslator*>(nullptr);
    }
    return t;
  }();
  return translator;
}

}  // namespace

bool JapaneseQtTexts::Available() { return Translator() != nullptr; }

JapaneseQtTexts::JapaneseQtTexts() {
  if (QTranslator* t = Translator()) installed_ = QCoreApplication::installTranslator(t);
}

JapaneseQtTexts::~JapaneseQtTexts() {
  if (installed_) QCoreApplication::removeTranslator(Translator());
}

}  // namespace tarno::gui
