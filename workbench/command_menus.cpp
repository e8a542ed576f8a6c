#include "workbench/command_menus.h"

#include <QImage>
#include <QPixmap>
#include <vector>

namespace tarno::workbench {
namespace {

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

}  // namespace

QIcon FaceIcon(const Picture& face) {
  if (face.width <= 0 || face.height <= 0 ||
      face.pixels.size() < static_cast<size_t>(face.width) * static_cast<size_t>(face.height))
    return {};
  QImage image(face.width, face.height, QImage::Format_ARGB32);
  for (int y = 0; y < face.height; ++y)
    for (int x = 0; x < face.width; ++x)
      image.setPixel(x, y, face.pixels[static_cast<size_t>(y) * static_cast<size_t>(face.width) + static_cast<size_t>(x)]);
  return QIcon(QPixmap::fromImage(image));
}

void FillMenu(QMenu& menu, const host::MemCommandBarControls& controls, const ControlClick& click,
              const BuiltInActions& builtIns) {
  // clear() leaves the submenus (children of the menu) alive: they go too.
  std::vector<QMenu*> submenus;
  for (QAction* a : menu.actions())
    if (a->menu() && a->menu()->parent() == &menu) submenus.push_back(a->menu());
  menu.clear();
  for (QMenu* sub : submenus) delete sub;
  for (const auto& c : controls.items()) {
    if (c->deleted()) continue;
    if (c->beginGroup() && !menu.isEmpty()) menu.addSeparator();
    const QString caption = Q(c->caption());
    if (c->items()) {
      QMenu* sub = menu.addMenu(caption);
      if (c->face()) sub->setIcon(FaceIcon(*c->face()));
      sub->setToolTip(Q(c->toolTipText()));
      sub->setToolTipsVisible(true);
      FillMenu(*sub, *c->items(), click, builtIns);
      continue;
    }
    QAction* action = menu.addAction(caption);
    if (c->face()) action->setIcon(FaceIcon(*c->face()));
    if (!c->toolTipText().empty()) action->setToolTip(Q(c->toolTipText()));
    if (c->builtIn()) {
      auto it = builtIns.find(c->caption());
      if (it == builtIns.end()) action->setEnabled(false);
      else QObject::connect(action, &QAction::triggered, action, [f = it->second] { f(); });
    } else {
      std::weak_ptr<host::MemCommandBarControl> weak = c;
      QObject::connect(action, &QAction::triggered, action, [weak, click] {
        if (auto control = weak.lock()) click(control);
      });
    }
  }
}

void FillToolBar(QToolBar& bar, const host::MemCommandBar& commandBar, const ControlClick& click) {
  bar.clear();
  bar.setWindowTitle(Q(commandBar.name()));
  for (const auto& c : commandBar.items()->items()) {
    if (c->deleted()) continue;
    if (c->beginGroup() && !bar.actions().isEmpty()) bar.addSeparator();
    QAction* action = bar.addAction(Q(c->caption()));
    if (c->face()) action->setIcon(FaceIcon(*c->face()));
    action->setToolTip(Q(c->toolTipText()));
    std::weak_ptr<host::MemCommandBarControl> weak = c;
    QObject::connect(action, &QAction::triggered, action, [weak, click] {
      if (auto control = weak.lock()) click(control);
    });
  }
}

}  // namespace tarno::workbench
