// The workbench tests run with a real QApplication (offscreen) and the Qt
// window services; the add-in library is loaded from the build tree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>

#include "gui/desktop.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  tarno::gui::Desktop desktop;
  return RUN_ALL_TESTS();
}
