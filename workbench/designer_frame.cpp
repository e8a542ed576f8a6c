#include "workbench/designer_frame.h"

#include <QMouseEvent>
#include <QPainter>

#include "gui/classic_colours.h"
#include "gui/qt_convert.h"
#include "workbench/control_painter.h"
#include "workbench/designer_fonts.h"
#include "workbench/form_canvas.h"
#include "workbench/property_values.h"

namespace tarno::workbench {
namespace {

QColor Sys(int index) { return gui::ClassicColor(static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index))); }

constexpr int kTitleHeight = 18;
constexpr int kToolTitleHeight = 15;
constexpr int kMenuRowHeight = 19;

// The system's font for title bars and menus: Tahoma 8 pt, or the Japanese
// system's ＭＳ Ｐゴシック 9 pt for a form written in its code page.
QFont SystemFont(const CodePage& cp, bool bold) {
  host::FontValues f = cp.name() == "CP932" ? CodePageDefaultFont(cp) : host::FontValues{u"Tahoma", 8, bold};
  f.bold = bold;
  return DesignerQFont(f);
}

// A menu's Shortcut as the menu shows it: ^S as Ctrl+S, +{F5} as Shift+F5.
QString ShortcutText(const host::MemControl& menu) {
  QString s = TextOf(menu, u"Shortcut");
  QString out;
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] == u'^') out += QStringLiteral("Ctrl+");
    else if (s[i] == u'+') out += QStringLiteral("Shift+");
    else if (s[i] == u'%') out += QStringLiteral("Alt+");
    else if (s[i] != u'{' && s[i] != u'}') out += s[i];
  }
  return out;
}

std::vector<std::shared_ptr<host::MemControl>> ItemsOf(const host::MemDesigner& d, const host::MemControl* parent) {
  std::vector<std::shared_ptr<host::MemControl>> items;
  for (const auto& c : d.controls())
    if (c->parent().get() == parent && c->cls().name == u"Menu" && FlagOf(*c, u"Visible", true)) items.push_back(c);
  return items;
}

void FillMenu(QMenu& menu, const host::MemDesigner& d, const host::MemControl& parent) {
  for (const auto& item : ItemsOf(d, &parent)) {
    const QString caption = TextOf(*item, u"Caption");
    if (caption == QStringLiteral("-")) {
      menu.addSeparator();
      continue;
    }
    auto sub = ItemsOf(d, item.get());
    QAction* action;
    if (!sub.empty()) {
      QMenu* inner = menu.addMenu(caption);
      FillMenu(*inner, d, *item);
      action = inner->menuAction();
    } else {
      QString text = caption;
      if (QString key = ShortcutText(*item); !key.isEmpty()) text += u'\t' + key;
      action = menu.addAction(text);
    }
    action->setCheckable(FlagOf(*item, u"Checked"));
    action->setChecked(FlagOf(*item, u"Checked"));
    action->setEnabled(FlagOf(*item, u"Enabled", true));
  }
}

void Glyph(QPainter& p, const QRect& b, int kind) {
  p.fillRect(b, Sys(15));
  DrawRaised(p, b);
  p.setPen(QPen(Qt::black, 1));
  const QRect g = b.adjusted(4, 3, -5, -4);
  switch (kind) {
    case 0:  // close
      for (int d = 0; d < 2; ++d) {
        p.drawLine(g.topLeft() + QPoint(d, 0), g.bottomRight() + QPoint(d - 1, 0));
        p.drawLine(g.bottomLeft() + QPoint(d, 0), g.topRight() + QPoint(d - 1, 0));
      }
      break;
    case 1:  // maximise
      p.drawRect(g.adjusted(0, 0, -1, -1));
      p.drawLine(g.topLeft() + QPoint(0, 1), g.topRight() + QPoint(-1, 1));
      break;
    default:  // minimise
      p.fillRect(QRect(g.left(), g.bottom() - 1, 6, 2), Qt::black);
      break;
  }
}

}  // namespace

DesignerFrame::DesignerFrame(FormCanvas* canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  canvas_->setParent(this);
  canvas_->on_resize = [this] { Relayout(); };
  Relayout();
}

bool DesignerFrame::HasFrame() const {
  const int type = canvas_->component()->type();
  return type == ide::ComponentType::VBForm || type == ide::ComponentType::MDIForm;
}

bool DesignerFrame::ToolWindow() const {
  const int style = IntOf(*canvas_->component()->designer()->form(), u"BorderStyle", 2);
  return style == 4 || style == 5;
}

bool DesignerFrame::HasTitleBar() const {
  if (!HasFrame()) return false;
  const auto& form = *canvas_->component()->designer()->form();
  if (IntOf(form, u"BorderStyle", 2) == 0) return false;
  // Windows drops the title bar of a window with nothing to show in it.
  return !TextOf(form, u"Caption").isEmpty() || FlagOf(form, u"ControlBox", true) || FlagOf(form, u"MinButton", true) ||
         FlagOf(form, u"MaxButton", true);
}

int DesignerFrame::BorderWidth() const {
  if (!HasFrame()) return 0;
  const int style = IntOf(*canvas_->component()->designer()->form(), u"BorderStyle", 2);
  if (style == 0) return 0;
  return style == 2 || style == 5 ? 4 : 3;
}

void DesignerFrame::LayoutMenus() {
  menus_.clear();
  menu_rects_.clear();
  menu_bar_ = QRect();
  if (!HasFrame()) return;
  const auto& designer = *canvas_->component()->designer();
  menus_ = ItemsOf(designer, nullptr);
  if (menus_.empty()) return;
  const int b = BorderWidth();
  const int top = title_.isNull() ? b : title_.bottom() + 2;
  const int width = canvas_->width();
  const QFontMetrics fm(SystemFont(canvas_->code_page(), false));
  int x = 0, y = 0;
  for (const auto& m : menus_) {
    const int w = fm.horizontalAdvance(gui::StripAccessKeys(TextOf(*m, u"Caption"))) + 12;
    if (x > 0 && x + w > width) {
      x = 0;
      y += kMenuRowHeight;
    }
    menu_rects_.emplace_back(b + x, top + y, w, kMenuRowHeight);
    x += w;
  }
  menu_bar_ = QRect(b, top, width, y + kMenuRowHeight);
}

void DesignerFrame::Relayout() {
  const int b = BorderWidth();
  title_ = HasTitleBar() ? QRect(b, b, canvas_->width(), ToolWindow() ? kToolTitleHeight : kTitleHeight) : QRect();
  LayoutMenus();
  int top = b;
  if (!title_.isNull()) top = title_.bottom() + 2;
  if (!menu_bar_.isNull()) top = menu_bar_.bottom() + 2;
  canvas_->move(b, top);
  setFixedSize(sizeHint());
  update();
}

QSize DesignerFrame::sizeHint() const {
  const int b = BorderWidth();
  return {canvas_->width() + 2 * b, canvas_->y() + canvas_->height() + b};
}

QMenu* DesignerFrame::OpenMenu(size_t index) {
  if (index >= menus_.size()) return nullptr;
  if (popup_) popup_->deleteLater();
  popup_ = new QMenu(this);
  popup_->setFont(SystemFont(canvas_->code_page(), false));
  FillMenu(*popup_, *canvas_->component()->designer(), *menus_[index]);
  if (popup_->actions().isEmpty()) return nullptr;
  popup_->popup(mapToGlobal(menu_rects_[index].bottomLeft() + QPoint(0, 1)));
  return popup_;
}

void DesignerFrame::mousePressEvent(QMouseEvent* e) {
  for (size_t i = 0; i < menu_rects_.size(); ++i)
    if (menu_rects_[i].contains(e->position().toPoint())) {
      OpenMenu(i);
      return;
    }
  QWidget::mousePressEvent(e);
}

void DesignerFrame::paintEvent(QPaintEvent*) {
  if (!HasFrame() || BorderWidth() == 0) return;
  QPainter p(this);
  const auto& form = *canvas_->component()->designer()->form();
  const QRect all = rect();
  p.fillRect(all, Sys(10));
  DrawRaised(p, all);
  if (!title_.isNull()) {
    QLinearGradient g(title_.topLeft(), title_.topRight());
    g.setColorAt(0, Sys(2));
    g.setColorAt(1, QColor(0xA6, 0xCA, 0xF0));
    p.fillRect(title_, g);
    int x = title_.left() + 2;
    const bool box = FlagOf(form, u"ControlBox", true);
    const int style = IntOf(form, u"BorderStyle", 2);
    if (box && style != 3 && !ToolWindow()) {
      QImage icon;
      if (const std::u16string ref = Utf16Of(form, u"Icon"); !ref.empty()) icon = canvas_->frx().Picture(ref);
      const QRect at(x, title_.top() + 1, 16, 16);
      if (!icon.isNull()) {
        p.drawImage(at, icon.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
      } else {  // the default form icon: a small window
        p.fillRect(at.adjusted(1, 2, -1, -2), Qt::white);
        p.fillRect(QRect(at.left() + 1, at.top() + 2, 14, 3), Sys(2));
        p.setPen(Qt::black);
        p.drawRect(at.adjusted(1, 2, -2, -3));
      }
      x += 18;
    }
    // Buttons from the right: close, then maximise and minimise.
    int right = title_.right() - 1;
    const QSize button = ToolWindow() ? QSize(13, 11) : QSize(16, 14);
    const int by = title_.top() + (title_.height() - button.height()) / 2;
    if (box) {
      Glyph(p, QRect(QPoint(right - button.width() + 1, by), button), 0);
      right -= button.width() + 2;
      const bool minMax = (style == 1 || style == 2) && (FlagOf(form, u"MinButton", true) || FlagOf(form, u"MaxButton", true));
      if (minMax) {
        Glyph(p, QRect(QPoint(right - button.width() + 1, by), button), 1);
        right -= button.width();
        Glyph(p, QRect(QPoint(right - button.width() + 1, by), button), 2);
        right -= button.width() + 2;
      }
    }
    p.setFont(SystemFont(canvas_->code_page(), true));
    p.setPen(Sys(9));
    p.drawText(QRect(x + 1, title_.top(), right - x - 1, title_.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               TextOf(form, u"Caption"));
  }
  if (!menu_bar_.isNull()) {
    p.fillRect(menu_bar_, Sys(4));
    p.setFont(SystemFont(canvas_->code_page(), false));
    for (size_t i = 0; i < menus_.size(); ++i) {
      p.setPen(FlagOf(*menus_[i], u"Enabled", true) ? Sys(7) : Sys(17));
      p.drawText(menu_rects_[i], Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine,
                 TextOf(*menus_[i], u"Caption"));
    }
  }
}

}  // namespace tarno::workbench
