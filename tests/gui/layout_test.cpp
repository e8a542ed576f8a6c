// Every window of the gallery fits on screen as its form sizes it: each
// visible control inside its form's client area (or its container's), and
// no caption cut where the control's width holds its text.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

#include "gui/desktop.h"
#include "gui/form_view.h"
#include "gui/gallery.h"
#include "gui/path_elide.h"
#include "platform/vb_text.h"

namespace tarno::gui {
namespace {

TEST(WindowLayoutTest, EveryControlLiesInsideItsWindowsClientArea) {
  Desktop desktop;
  GallerySample sample(DefaultSampleProject());
  std::vector<std::string> outside;
  for (const GalleryWindow& w : GalleryWindows()) {
    std::string error = Inspect(desktop, w, [&](FormView& view) {
      const QRect client(QPoint(0, 0), view.ClientSize());
      for (ui::Control* c : view.form().Controls()) {
        QWidget* widget = view.WidgetOf(*c);
        if (!widget || !c->EffectivelyVisible()) continue;
        // Relative to the client area, through its containers.
        QRect r(widget->mapTo(&view, QPoint(0, 0)), widget->size());
        if (!client.contains(r))
          outside.push_back(w.name + "." + vb::ToUtf8(c->DisplayName()) + " at " + std::to_string(r.x()) + "," +
                            std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
                            std::to_string(r.height()) + " in " + std::to_string(client.width()) + "x" +
                            std::to_string(client.height()));
      }
    });
    EXPECT_EQ(error, "") << w.name;
  }
  std::string all;
  for (const auto& o : outside) all += o + "\n";
  EXPECT_TRUE(outside.empty()) << all;
}

// A report list shows all its columns, and a caption that fits its control
// at 96 DPI in the bundled fonts is drawn whole.
TEST(WindowLayoutTest, ListColumnsAndCaptionsFitTheirControls) {
  Desktop desktop;
  GallerySample sample(DefaultSampleProject());
  std::vector<std::string> cut;
  int lists = 0, captions = 0;
  for (const GalleryWindow& w : GalleryWindows()) {
    std::string error = Inspect(desktop, w, [&](FormView& view) {
      for (ui::Control* c : view.form().Controls()) {
        QWidget* widget = view.WidgetOf(*c);
        if (!widget || !c->EffectivelyVisible()) continue;
        const std::string name = w.name + "." + vb::ToUtf8(c->DisplayName());
        if (auto* list = qobject_cast<QTreeWidget*>(widget); list && !list->isHeaderHidden() && c->Kind() == std::string("ListView")) {
          ++lists;
          int total = 0;
          for (int i = 0; i < list->header()->count(); ++i) total += list->header()->sectionSize(i);
          if (total > list->viewport()->width())
            cut.push_back(name + ": columns " + std::to_string(total) + " in " + std::to_string(list->viewport()->width()));
        }
        QString text;
        int room = widget->width();
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap()) {
          text = label->text();
          room = label->contentsRect().width();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
          text = button->text();
          room = widget->width() - (button->icon().isNull() ? 0 : button->iconSize().width());
        }
        text.remove(u'&');
        if (text.isEmpty() || text.contains(u'\n')) continue;
        ++captions;
        const int need = widget->fontMetrics().horizontalAdvance(text);
        if (need > room)
          cut.push_back(name + ": \"" + text.toStdString() + "\" needs " + std::to_string(need) + " in " + std::to_string(room));
      }
    });
    EXPECT_EQ(error, "") << w.name;
  }
  std::string all;
  for (const auto& o : cut) all += o + "\n";
  EXPECT_TRUE(cut.empty()) << all;
  EXPECT_GE(lists, 8);
  EXPECT_GE(captions, 60);
}

TEST(PathElideTest, PathsLoseTheirMiddleAndListsUseIt) {
  EXPECT_EQ(ElideModeFor(QStringLiteral("C:\\Projects\\App\\Forms\\frmMain.frm")), Qt::ElideMiddle);
  EXPECT_EQ(ElideModeFor(QStringLiteral("src/modMain.bas")), Qt::ElideMiddle);
  EXPECT_EQ(ElideModeFor(QStringLiteral("frmMain")), Qt::ElideRight);
  Desktop desktop;
  GallerySample sample(DefaultSampleProject());
  int lists = 0;
  for (const GalleryWindow& w : GalleryWindows()) {
    Inspect(desktop, w, [&](FormView& view) {
      for (ui::Control* c : view.form().Controls())
        if (c->Kind() == std::string("ListView")) {
          auto* list = qobject_cast<QTreeWidget*>(view.WidgetOf(*c));
          ASSERT_NE(list, nullptr);
          EXPECT_NE(dynamic_cast<PathElidingDelegate*>(list->itemDelegate()), nullptr) << w.name;
          ++lists;
        }
    });
  }
  EXPECT_GE(lists, 8);
}

}  // namespace
}  // namespace tarno::gui
