// tarno-gallery: the tool windows on screen with sample data.
//
//   tarno-gallery DIR                 writes DIR/<window class>.png for every window
//   tarno-gallery --show frmMain      opens one window to use with mouse and keyboard
//   tarno-gallery --list              names the windows
//   --project FILE.vbp                the host's project (default: the bundled sample)
#include <QApplication>
#include <QStyleFactory>
#include <cstring>
#include <iostream>
#include <string>

#include "gui/desktop.h"
#include "gui/gallery.h"

namespace {

int Usage() {
  std::cerr << "usage: tarno-gallery DIR | --show WINDOW | --list  [--project FILE.vbp]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarno;
  std::string dir, show, project;
  bool list = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--show" && i + 1 < argc) show = argv[++i];
    else if (a == "--project" && i + 1 < argc) project = argv[++i];
    else if (a == "--list") list = true;
    else if (!a.empty() && a[0] != '-' && dir.empty()) dir = a;
    else return Usage();
  }
  if (list) {
    for (const auto& w : gui::GalleryWindows()) std::cout << w.name << "\n";
    return 0;
  }
  if (dir.empty() == show.empty()) return Usage();
  const gui::GalleryWindow* window = show.empty() ? nullptr : gui::FindGalleryWindow(show);
  if (!show.empty() && !window) {
    std::cerr << "tarno-gallery: no window " << show << " (see --list)\n";
    return 2;
  }

  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  gui::Desktop desktop;
  try {
    gui::GallerySample sample(project.empty() ? gui::DefaultSampleProject() : std::filesystem::path(project));
    if (window) {
      auto form = window->open();
      // A window shown modelessly is handed to the modal loop so that the
      // program lasts as long as the window.
      if (form && form->Loaded() && form->Visible()) {
        form->Hide();
        form->Show(ui::vbModal);
      }
      return 0;
    }
    int failed = 0;
    for (const auto& shot : gui::WriteGallery(desktop, dir)) {
      if (shot.error.empty()) {
        std::cout << dir << "/" << shot.name << ".png\n";
      } else {
        std::cerr << "tarno-gallery: " << shot.name << ": " << shot.error << "\n";
        ++failed;
      }
    }
    return failed ? 1 : 0;
  } catch (const std::exception& e) {
    std::cerr << "tarno-gallery: " << e.what() << "\n";
    return 2;
  }
}
