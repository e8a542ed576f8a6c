// tarno-workbench: a desktop IDE over VB 6 project files that hosts the add-in.
//
//   tarno-workbench [PROJECT.vbp|GROUP.vbg] [--open COMPONENT [--code]] [--encoding CP]
//                   [--screenshot FILE.png] [--find TEXT] [--refs NAME] [--addin-dir DIR]
//
// --find lists the places of TEXT in every project in the results pane (for
// a picture of it with --screenshot); --refs lists the references of NAME
// (Name, Module.Member or Module.Procedure.Local) there instead.
//
// --open shows that component at start (its form view; its code pane for a
// module or with --code); --screenshot then pictures the window with it.
// The add-ins listed in VBADDIN.INI (Windows directory) whose value asks for
// it are connected at start; the libraries are looked for beside the program
// unless --addin-dir names their folder.
#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>
#include <iostream>
#include <string>

#include "gui/desktop.h"
#include "host/files/file_error.h"
#include "workbench/code_navigation.h"
#include "workbench/find_replace.h"
#include "workbench/main_window.h"

namespace {

int Usage() {
  std::cerr << "usage: tarno-workbench [PROJECT.vbp|GROUP.vbg] [--open COMPONENT [--code]] [--encoding CP] "
               "[--screenshot FILE.png] [--find TEXT] [--refs NAME] [--addin-dir DIR]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarno;
  std::string project, encoding, screenshot, addinDir, find, refs, open;
  bool code = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--encoding" && i + 1 < argc) encoding = argv[++i];
    else if (a == "--screenshot" && i + 1 < argc) screenshot = argv[++i];
    else if (a == "--addin-dir" && i + 1 < argc) addinDir = argv[++i];
    else if (a == "--find" && i + 1 < argc) find = argv[++i];
    else if (a == "--refs" && i + 1 < argc) refs = argv[++i];
    else if (a == "--open" && i + 1 < argc) open = argv[++i];
    else if (a == "--code") code = true;
    else if (a == "--help" || a == "-h") return Usage(), 0;
    else if (!a.empty() && a[0] != '-' && project.empty()) project = a;
    else return Usage();
  }
  workbench::WorkbenchOptions options;
  if (!encoding.empty()) {
    try {
      options.code_page = CodePage::Named(encoding);
    } catch (const std::exception&) {
      std::cerr << "tarno-workbench: unknown code page \"" << encoding << "\"\n";
      return 2;
    }
  }
  // The tools read and write their own files in the same code page.
  SetSystemCodePage(options.code_page);
  if (!screenshot.empty()) options.remember_recent = false;

  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  options.addin_dir = addinDir.empty() ? std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
                                       : std::filesystem::path(addinDir);
  gui::Desktop desktop;
  int rc = 0;
  {
    workbench::MainWindow window(options);
    if (!project.empty()) {
      try {
        window.OpenPath(project);
      } catch (const std::exception& e) {
        std::cerr << "tarno-workbench: " << e.what() << "\n";
        if (!screenshot.empty()) return 2;
        // Not an empty window without a word: the reason, then the window.
        QMessageBox::critical(&window, QStringLiteral("Tarno Workbench"), QString::fromStdString(e.what()));
      }
    }
    if (!screenshot.empty()) window.warn = [](const QString& t) { std::cerr << "tarno-workbench: " << t.toStdString() << "\n"; };
    window.ConnectAtStart();
    if (!find.empty()) {
      window.finder().options.what = QString::fromStdString(find);
      window.finder().scope = workbench::FindScope::AllProjects;
      window.finder().FindAll();
    }
    if (!refs.empty() && window.navigation().ListReferences(QString::fromStdString(refs).toStdU16String()) == 0)
      std::cerr << "tarno-workbench: no references of " << refs << "\n";
    if (!open.empty() && !window.OpenComponent(QString::fromStdString(open).toStdU16String(), code)) {
      std::cerr << "tarno-workbench: no component named " << open << "\n";
      if (!screenshot.empty()) return 2;
    }
    if (!screenshot.empty()) {
      const QString file = QString::fromStdString(screenshot);
      if (!(open.empty() ? window.Screenshot(file) : window.ScreenshotAsShown(file))) {
        std::cerr << "tarno-workbench: cannot write " << screenshot << "\n";
        rc = 1;
      }
      window.UnloadAll(toolkit::ext_dm_HostShutdown);
      return rc;
    }
    window.show();
    rc = app.exec();
  }
  return rc;
}
