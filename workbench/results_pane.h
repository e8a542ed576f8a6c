// The results pane: places in code listed as rows (file, line, the line's
// text), each opening its code pane at the place on a double click or Enter.
// Find lists its matches here; anything else that gathers places in code
// (references of a name) can list them the same way.
#pragma once

#include <QDockWidget>
#include <functional>
#include <memory>
#include <vector>

#include "workbench/code_place.h"

class QTreeWidget;

namespace tarno::workbench {

class ResultsPane : public QDockWidget {
 public:
  explicit ResultsPane(QWidget* parent = nullptr);

  // Replaces the rows; the pane shows itself. `title` says what was looked for.
  void Show(const QString& title, std::vector<CodePlace> places);
  const std::vector<CodePlace>& places() const { return places_; }
  QTreeWidget* list() const { return list_; }
  // Opens row i as a double click does.
  void Open(int row);
  std::function<void(const CodePlace&)> on_open;

 private:
  QTreeWidget* list_;
  std::vector<CodePlace> places_;
};

}  // namespace tarno::workbench
