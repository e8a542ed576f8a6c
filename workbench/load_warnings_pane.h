// The "Load Warnings" pane: what the last load went past (component files
// missing or unreadable, bytes not valid in the code page, values left out),
// one row per warning with its file and line. It shows itself when a load
// had warnings and hides when the next one has none.
#pragma once

#include <QDockWidget>
#include <filesystem>

#include "host/files/file_error.h"

class QTreeWidget;

namespace tarno::workbench {

class LoadWarningsPane : public QDockWidget {
 public:
  explicit LoadWarningsPane(QWidget* parent = nullptr);

  // File names show relative to `base` (the opened project's folder).
  void SetWarnings(const host::files::Warnings& warnings, const std::filesystem::path& base);
  QTreeWidget* list() const { return list_; }

 private:
  QTreeWidget* list_;
};

}  // namespace tarno::workbench
