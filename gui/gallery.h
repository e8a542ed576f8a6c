// The gallery: every tool window opened with sample data and drawn to a PNG
// named after its window class. The window list is one table
// (GalleryWindows, gallery.cpp): a new window is one line there.
#pragma once

#include <QImage>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/files/project_loader.h"
#include "ui/ui.h"

namespace tarno::gui {

class Desktop;
class FormView;

// The sample state the windows open on: a settings model with registered
// comments, error texts and style patterns, and the sample project as the
// host (HostVBE). Restores a fresh settings model and no host when destroyed.
class GallerySample {
 public:
  explicit GallerySample(const std::filesystem::path& project);
  ~GallerySample();
  GallerySample(const GallerySample&) = delete;
  GallerySample& operator=(const GallerySample&) = delete;
  host::files::LoadedWorkspace& workspace() { return workspace_; }

 private:
  host::files::LoadedWorkspace workspace_;
};

// The bundled sample project (examples/Sample.vbp of the source tree).
std::filesystem::path DefaultSampleProject();

struct GalleryWindow {
  std::string name;  // the window class, also the PNG's name
  // Creates the window over the sample state and shows it: modeless, or
  // modally through the window's own Init.
  std::function<std::unique_ptr<ui::Form>()> open;
};

const std::vector<GalleryWindow>& GalleryWindows();
const GalleryWindow* FindGalleryWindow(const std::string& name);

struct GalleryShot {
  std::string name;
  QImage image;       // null when the window failed to open
  std::string error;  // why it failed
};

// Opens the window, hands its view to `inspect` while it is on screen (for a
// window shown modally, inside the modal Show), then closes it. Returns an
// error text, empty when the window opened and was inspected.
std::string Inspect(Desktop& desktop, const GalleryWindow& window, const std::function<void(FormView&)>& inspect);
// Opens the window, draws it with a title bar showing its caption, closes it.
GalleryShot Capture(Desktop& desktop, const GalleryWindow& window);
// The window as the screen shows it: client area under a caption bar.
QImage DrawWindow(FormView& view);

// Writes DIR/<name>.png for every window; returns the shots (errors included).
std::vector<GalleryShot> WriteGallery(Desktop& desktop, const std::filesystem::path& dir);

}  // namespace tarno::gui
