// One view per intrinsic control type: labels, text boxes, buttons, check and
// option buttons, combo and list boxes, frames, pictures, images, shapes,
// up-downs and tab controls.
#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QToolButton>
#include <vector>

#include "gui/control_kinds.h"
#include "gui/desktop.h"
#include "gui/form_view.h"
#include "gui/qt_convert.h"
#include "platform/clipboard.h"

namespace tarno::gui {

namespace {

// ---- Label -------------------------------------------------------------------

class LabelView : public ControlView {
 public:
  LabelView(FormView& f, ui::Label& c) : ControlView(f, c, new QLabel(&f)), c_(c), w_(static_cast<QLabel*>(widget())) {
    w_->setTextFormat(Qt::PlainText);
    w_->setWordWrap(true);  // VB labels wrap at their width
  }

 protected:
  void Update() override {
    QString text = StripAccessKeys(ToQ(c_.Caption()));
    if (w_->text() != text) w_->setText(text);
    Qt::Alignment h = c_.Alignment() == 1 ? Qt::AlignRight : c_.Alignment() == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
    if (w_->alignment() != (h | Qt::AlignTop)) w_->setAlignment(h | Qt::AlignTop);
    w_->setFrameStyle(c_.BorderStyle() == 1 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    w_->setAutoFillBackground(c_.BackStyle() == 1);
  }
  bool ClickOnRelease() const override { return true; }

 private:
  ui::Label& c_;
  QLabel* w_;
};

// ---- TextBox -------------------------------------------------------------------

// Positions between the model's text (CR LF line ends) and the widget's (LF).
int ModelToShown(const std::u16string& t, int m) {
  int shown = 0;
  for (int i = 0; i < m && i < static_cast<int>(t.size()); ++i)
    if (!(t[i] == u'\r' && i + 1 < static_cast<int>(t.size()) && t[i + 1] == u'\n')) ++shown;
  return shown;
}
int ShownToModel(const std::u16string& t, int shown) {
  int i = 0;
  for (int s = 0; s < shown && i < static_cast<int>(t.size()); ++s) {
    if (t[i] == u'\r' && i + 1 < static_cast<int>(t.size()) && t[i + 1] == u'\n') ++i;
    ++i;
  }
  return i;
}

class TextBoxView : public ControlView {
 public:
  TextBoxView(FormView& f, ui::TextBox& c) : ControlView(f, c, Make(f, c)), c_(c) {
    line_ = qobject_cast<QLineEdit*>(widget());
    edit_ = qobject_cast<QPlainTextEdit*>(widget());
    if (line_) {
      line_->setDragEnabled(false);
      line_->setAcceptDrops(false);
      line_->setContextMenuPolicy(Qt::NoContextMenu);
      QObject::connect(line_, &QLineEdit::selectionChanged, this, [this] { SelectionFromWidget(); });
      QObject::connect(line_, &QLineEdit::cursorPositionChanged, this, [this] { SelectionFromWidget(); });
    } else {
      edit_->setAcceptDrops(false);
      edit_->viewport()->setAcceptDrops(false);
      edit_->setContextMenuPolicy(Qt::NoContextMenu);
      edit_->setTabChangesFocus(true);
      Watch(edit_->viewport());
      QObject::connect(edit_, &QPlainTextEdit::selectionChanged, this, [this] { SelectionFromWidget(); });
      QObject::connect(edit_, &QPlainTextEdit::cursorPositionChanged, this, [this] { SelectionFromWidget(); });
    }
  }

 protected:
  static QWidget* Make(FormView& f, ui::TextBox& c) {
    if (c.MultiLine()) return new QPlainTextEdit(&f);
    return new QLineEdit(&f);
  }

  void Update() override {
    const std::u16string& t = c_.Text();
    if (line_) {
      QString q = ToQ(t);
      if (line_->text() != q) line_->setText(q);
      line_->setReadOnly(c_.Locked());
      line_->setEchoMode(c_.PasswordChar() ? QLineEdit::Password : QLineEdit::Normal);
      Qt::Alignment a = c_.Alignment() == 1 ? Qt::AlignRight : c_.Alignment() == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
      if ((line_->alignment() & Qt::AlignHorizontal_Mask) != a) line_->setAlignment(a | Qt::AlignVCenter);
      int start = line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
      int length = static_cast<int>(line_->selectedText().size());
      if (start != c_.SelStart() || length != c_.SelLength()) {
        if (c_.SelLength() > 0) line_->setSelection(c_.SelStart(), c_.SelLength());
        else line_->setCursorPosition(c_.SelStart());
      }
    } else {
      QString q = ToQLines(t);
      if (edit_->toPlainText() != q) edit_->setPlainText(q);
      edit_->setReadOnly(c_.Locked());
      int bars = c_.ScrollBars();
      edit_->setLineWrapMode((bars & 1) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
      edit_->setHorizontalScrollBarPolicy((bars & 1) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
      edit_->setVerticalScrollBarPolicy((bars & 2) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
      QTextCursor cur = edit_->textCursor();
      int start = ModelToShown(t, c_.SelStart());
      int end = ModelToShown(t, c_.SelStart() + c_.SelLength());
      if (cur.selectionStart() != start || cur.selectionEnd() != end) {
        QTextCursor n(edit_->document());
        n.setPosition(start);
        n.setPosition(end, QTextCursor::KeepAnchor);
        edit_->setTextCursor(n);
      }
    }
  }

  // Caret moves and mouse selections are the user's; the model learns them
  // (no events: VB raises none for them either).
  void SelectionFromWidget() {
    if (Syncing()) return;
    int start, end;
    if (line_) {
      start = line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
      end = start + static_cast<int>(line_->selectedText().size());
    } else {
      QTextCursor cur = edit_->textCursor();
      start = ShownToModel(c_.Text(), cur.selectionStart());
      end = ShownToModel(c_.Text(), cur.selectionEnd());
    }
    c_.SetSelStart(start);
    c_.SetSelLength(end - start);
  }

  bool Key(QKeyEvent& e) override {
    switch (e.key()) {
      case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
      case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
        return false;  // caret moves: the widget's own
      default: break;
    }
    if (e.matches(QKeySequence::SelectAll)) {
      Act([this] { c_.SelectAll(); });
    } else if (e.matches(QKeySequence::Copy)) {
      if (c_.SelLength() > 0 && !c_.PasswordChar()) SystemClipboard().SetText(c_.SelText());
    } else if (e.matches(QKeySequence::Cut)) {
      if (c_.SelLength() > 0 && !c_.PasswordChar() && !c_.Locked()) {
        SystemClipboard().SetText(c_.SelText());
        Act([this] { if (ui::CanUse(c_)) c_.SetSelText(u""); });
      }
    } else if (e.matches(QKeySequence::Paste)) {
      Act([this] { Paste(); });
    } else if (e.key() == Qt::Key_Delete) {
      Act([this] { DeleteForward(); });
    } else if (!KeyAsciiOf(e).empty()) {
      return ControlView::Key(e);
    }
    return true;  // nothing else edits the text behind the model's back
  }

  void Paste() {
    if (c_.Locked() || !ui::CanUse(c_)) return;
    auto text = SystemClipboard().GetText();
    if (!text || text->empty()) return;
    std::u16string t = *text;
    if (!c_.MultiLine()) t = t.substr(0, t.find_first_of(u"\r\n"));
    if (c_.MaxLength() > 0) {
      int room = c_.MaxLength() - (static_cast<int>(c_.Text().size()) - c_.SelLength());
      if (room <= 0) return;
      if (static_cast<int>(t.size()) > room) t.resize(static_cast<size_t>(room));
    }
    c_.SetSelText(t);
  }

  void DeleteForward() {
    if (c_.Locked() || !ui::CanUse(c_)) return;
    if (c_.SelLength() == 0) {
      const std::u16string& t = c_.Text();
      int at = c_.SelStart();
      if (at >= static_cast<int>(t.size())) return;
      bool pair = t[at] == u'\r' && at + 1 < static_cast<int>(t.size()) && t[at + 1] == u'\n';
      c_.SetSelLength(pair ? 2 : 1);
    }
    c_.SetSelText(u"");
  }

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (Detached()) return false;
    if (e->type() == QEvent::InputMethod) {
      // Composed text (an input method) arrives as typed characters.
      auto* im = static_cast<QInputMethodEvent*>(e);
      QString commit = im->commitString();
      if (!commit.isEmpty()) {
        std::u16string text = FromQ(commit);
        Act([&] { ui::Type(c_, text); });
        // The rest (the text still being composed) goes to the widget.
        QInputMethodEvent rest(im->preeditString(), im->attributes());
        QCoreApplication::sendEvent(watched, &rest);
        return true;
      }
    }
    if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::MiddleButton)
      return true;  // no selection paste behind the model's back
    return ControlView::eventFilter(watched, e);
  }

 private:
  ui::TextBox& c_;
  QLineEdit* line_ = nullptr;
  QPlainTextEdit* edit_ = nullptr;
};

// ---- Buttons -------------------------------------------------------------------

class CommandButtonView : public ControlView {
 public:
  CommandButtonView(FormView& f, ui::CommandButton& c)
      : ControlView(f, c, new QPushButton(&f)), c_(c), w_(static_cast<QPushButton*>(widget())) {
    w_->setAutoDefault(false);
    QObject::connect(w_, &QPushButton::clicked, this, [this] { Act([this] { ui::Click(c_); }); });
  }

 protected:
  void Update() override {
    QString text = ToQ(c_.Caption());
    if (w_->text() != text) w_->setText(text);
    if (w_->isDefault() != c_.Default()) w_->setDefault(c_.Default());
  }
  bool WidgetHandlesAfterKeyPress(int key) const override { return key == ' '; }

 private:
  ui::CommandButton& c_;
  QPushButton* w_;
};

// VB's check and option buttons take a click anywhere on the control, not
// only on the box and the caption text.
template <class B>
class WholeAreaButton : public B {
 public:
  using B::B;

 protected:
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

class CheckBoxView : public ControlView {
 public:
  CheckBoxView(FormView& f, ui::CheckBox& c)
      : ControlView(f, c, new WholeAreaButton<QCheckBox>(&f)), c_(c), w_(static_cast<QCheckBox*>(widget())) {
    QObject::connect(w_, &QCheckBox::clicked, this, [this] { Act([this] { ui::Click(c_); }); });
  }

 protected:
  void Update() override {
    QString text = ToQ(c_.Caption());
    if (w_->text() != text) w_->setText(text);
    Qt::CheckState s = c_.Value() == ui::vbChecked   ? Qt::Checked
                       : c_.Value() == ui::vbGrayed ? Qt::PartiallyChecked
                                                    : Qt::Unchecked;
    if (s == Qt::PartiallyChecked) w_->setTristate(true);
    if (w_->checkState() != s) w_->setCheckState(s);
  }
  bool WidgetHandlesAfterKeyPress(int key) const override { return key == ' '; }

 private:
  ui::CheckBox& c_;
  QCheckBox* w_;
};

class OptionButtonView : public ControlView {
 public:
  OptionButtonView(FormView& f, ui::OptionButton& c)
      : ControlView(f, c, new WholeAreaButton<QRadioButton>(&f)), c_(c), w_(static_cast<QRadioButton*>(widget())) {
    w_->setAutoExclusive(false);  // the model clears the others
    QObject::connect(w_, &QRadioButton::clicked, this, [this] { Act([this] { ui::Click(c_); }); });
  }

 protected:
  void Update() override {
    QString text = ToQ(c_.Caption());
    if (w_->text() != text) w_->setText(text);
    if (w_->isChecked() != c_.Value()) w_->setChecked(c_.Value());
  }
  bool WidgetHandlesAfterKeyPress(int key) const override { return key == ' '; }

 private:
  ui::OptionButton& c_;
  QRadioButton* w_;
};

// ---- Combo and list boxes --------------------------------------------------------

std::vector<std::u16string> ItemsOf(const ui::ListControl& c) {
  std::vector<std::u16string> items;
  items.reserve(static_cast<size_t>(c.ListCount()));
  for (int i = 0; i < c.ListCount(); ++i) items.push_back(c.List(i));
  return items;
}

class ComboBoxView : public ControlView {
 public:
  ComboBoxView(FormView& f, ui::ComboBox& c)
      : ControlView(f, c, new QComboBox(&f)), c_(c), w_(static_cast<QComboBox*>(widget())) {
    w_->setMaxVisibleItems(12);
    QObject::connect(w_, &QComboBox::activated, this, [this](int index) {
      Act([this, index] { ui::Choose(c_, index); });
    });
  }
  QWidget* FocusWidget() override { return w_->lineEdit() ? static_cast<QWidget*>(w_->lineEdit()) : w_; }

 protected:
  void Update() override {
    bool editable = c_.Style() != ui::vbComboDropdownList;
    if (w_->isEditable() != editable) {
      w_->setEditable(editable);
      if (editable) {
        w_->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
        w_->setCompleter(nullptr);
        Watch(w_->lineEdit());
      }
    }
    auto items = ItemsOf(c_);
    if (items != items_) {
      items_ = items;
      w_->clear();
      for (const auto& i : items_) w_->addItem(ToQ(i));
    }
    if (w_->currentIndex() != c_.ListIndex()) w_->setCurrentIndex(c_.ListIndex());
    if (editable && w_->lineEdit()->text() != ToQ(c_.Text())) w_->lineEdit()->setText(ToQ(c_.Text()));
  }
  bool Key(QKeyEvent& e) override {
    if (!KeyAsciiOf(e).empty()) return ControlView::Key(e);
    // Arrows pick entries (activated); anything else that would edit is the model's.
    switch (e.key()) {
      case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
      case Qt::Key_Home: case Qt::Key_End: case Qt::Key_F4: case Qt::Key_Left: case Qt::Key_Right:
        return false;
      default: return c_.Style() != ui::vbComboDropdownList;
    }
  }

 private:
  ui::ComboBox& c_;
  QComboBox* w_;
  std::vector<std::u16string> items_;
};

class ListBoxView : public ControlView {
 public:
  ListBoxView(FormView& f, ui::ListBox& c)
      : ControlView(f, c, new QListWidget(&f)), c_(c), w_(static_cast<QListWidget*>(widget())) {
    QObject::connect(w_, &QListWidget::currentRowChanged, this, [this](int row) {
      if (row >= 0) Act([this, row] { ui::Choose(c_, row); });
    });
    QObject::connect(w_, &QListWidget::itemDoubleClicked, this, [this] { DoubleClicked(); });
  }

 protected:
  void Update() override {
    auto items = ItemsOf(c_);
    if (items != items_) {
      items_ = items;
      w_->clear();
      for (const auto& i : items_) w_->addItem(ToQ(i));
    }
    if (w_->currentRow() != c_.ListIndex()) w_->setCurrentRow(c_.ListIndex());
  }

 private:
  ui::ListBox& c_;
  QListWidget* w_;
  std::vector<std::u16string> items_;
};

// ---- Containers, pictures and shapes ----------------------------------------------

class FrameView : public ControlView {
 public:
  FrameView(FormView& f, ui::Frame& c) : ControlView(f, c, new QGroupBox(&f)), c_(c), w_(static_cast<QGroupBox*>(widget())) {}

 protected:
  void Update() override {
    QString text = ToQ(c_.Caption());
    if (w_->title() != text) w_->setTitle(text);
  }
  bool ClickOnRelease() const override { return true; }

 private:
  ui::Frame& c_;
  QGroupBox* w_;
};

// A picture drawn at the top left (or stretched), over an optional sunken border.
class PictureWidget : public QFrame {
 public:
  using QFrame::QFrame;
  void SetPicture(const std::optional<Picture>& p, bool stretch) {
    QImage image = p ? ToImage(*p) : QImage();
    if (image == image_ && stretch == stretch_) return;
    image_ = image;
    stretch_ = stretch;
    update();
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QFrame::paintEvent(e);
    if (image_.isNull()) return;
    QPainter p(this);
    QRect r = contentsRect();
    if (stretch_) p.drawImage(r, image_);
    else p.drawImage(r.topLeft(), image_);
  }

 private:
  QImage image_;
  bool stretch_ = false;
};

class PictureBoxView : public ControlView {
 public:
  PictureBoxView(FormView& f, ui::PictureBox& c)
      : ControlView(f, c, new PictureWidget(&f)), c_(c), w_(static_cast<PictureWidget*>(widget())) {
    w_->setAutoFillBackground(true);
  }

 protected:
  void Update() override {
    w_->setFrameStyle(c_.BorderStyle() == 1 ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
    w_->SetPicture(c_.Picture(), false);
  }
  bool ClickOnRelease() const override { return true; }

 private:
  ui::PictureBox& c_;
  PictureWidget* w_;
};

class ImageView : public ControlView {
 public:
  ImageView(FormView& f, ui::Image& c) : ControlView(f, c, new PictureWidget(&f)), c_(c), w_(static_cast<PictureWidget*>(widget())) {}

 protected:
  void Update() override { w_->SetPicture(c_.Picture(), c_.Stretch()); }
  bool ClickOnRelease() const override { return true; }

 private:
  ui::Image& c_;
  PictureWidget* w_;
};

class ShapeWidget : public QWidget {
 public:
  using QWidget::QWidget;
  int kind = 0, back_style = 0;
  int32_t border = 0, back = 0xFFFFFF;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, kind >= 2);
    p.setPen(QPen(ToQColor(border, palette()), 1));
    if (back_style == 1) p.setBrush(ToQColor(back, palette()));
    QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (kind == 1 || kind == 3 || kind == 5) {  // square, circle, rounded square: the shorter side
      qreal side = std::min(r.width(), r.height());
      r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    if (kind == 2 || kind == 3) p.drawEllipse(r);
    else if (kind == 4 || kind == 5) p.drawRoundedRect(r, r.width() / 8, r.height() / 8);
    else p.drawRect(r);
  }
};

class ShapeView : public ControlView {
 public:
  ShapeView(FormView& f, ui::Shape& c) : ControlView(f, c, new ShapeWidget(&f)), c_(c), w_(static_cast<ShapeWidget*>(widget())) {
    w_->setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void Update() override {
    if (w_->kind == c_.ShapeKind() && w_->border == c_.BorderColor() && w_->back == c_.BackColor() &&
        w_->back_style == c_.BackStyle())
      return;
    w_->kind = c_.ShapeKind();
    w_->border = c_.BorderColor();
    w_->back = c_.BackColor();
    w_->back_style = c_.BackStyle();
    w_->update();
  }

 private:
  ui::Shape& c_;
  ShapeWidget* w_;
};

// ---- Up-down and tab control ----------------------------------------------------------

class UpDownView : public ControlView {
 public:
  UpDownView(FormView& f, ui::UpDown& c) : ControlView(f, c, new QWidget(&f)), c_(c) {
    up_ = new QToolButton(widget());
    down_ = new QToolButton(widget());
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
      b->setFocusPolicy(Qt::NoFocus);
      b->setAutoRepeat(true);
    }
    QObject::connect(up_, &QToolButton::clicked, this, [this] { Act([this] { ui::ClickUp(c_); }); });
    QObject::connect(down_, &QToolButton::clicked, this, [this] { Act([this] { ui::ClickDown(c_); }); });
  }

 protected:
  void Update() override {
    QSize s = widget()->size();
    if (s.width() > s.height() * 3 / 2) {  // a horizontal spinner: left and right halves
      down_->setArrowType(Qt::LeftArrow);
      up_->setArrowType(Qt::RightArrow);
      down_->setGeometry(0, 0, s.width() / 2, s.height());
      up_->setGeometry(s.width() / 2, 0, s.width() - s.width() / 2, s.height());
    } else {
      up_->setGeometry(0, 0, s.width(), s.height() / 2);
      down_->setGeometry(0, s.height() / 2, s.width(), s.height() - s.height() / 2);
    }
  }

 private:
  ui::UpDown& c_;
  QToolButton* up_;
  QToolButton* down_;
};

class SSTabView : public ControlView {
 public:
  SSTabView(FormView& f, ui::SSTab& c) : ControlView(f, c, new QFrame(&f)), c_(c) {
    auto* frame = static_cast<QFrame*>(widget());
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    bar_ = new QTabBar(frame);
    bar_->setFocusPolicy(Qt::NoFocus);
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    QObject::connect(bar_, &QTabBar::tabBarClicked, this, [this](int index) {
      if (index >= 0) Act([this, index] { ui::ChooseTab(c_, static_cast<int16_t>(index)); });
    });
  }

 protected:
  void Update() override {
    while (bar_->count() < c_.Tabs()) bar_->addTab(QString());
    while (bar_->count() > c_.Tabs()) bar_->removeTab(bar_->count() - 1);
    for (int i = 0; i < c_.Tabs(); ++i) {
      QString text = ToQ(c_.TabCaption(i));
      if (bar_->tabText(i) != text) bar_->setTabText(i, text);
      bar_->setTabEnabled(i, c_.TabEnabled(i));
    }
    if (bar_->currentIndex() != c_.Tab()) bar_->setCurrentIndex(c_.Tab());
    bar_->setGeometry(0, 0, widget()->width(), bar_->sizeHint().height());
    bar_->raise();
  }

 private:
  ui::SSTab& c_;
  QTabBar* bar_;
};

template <class V, class C>
std::unique_ptr<ControlView> Try(FormView& f, ui::Control& c) {
  if (auto* typed = dynamic_cast<C*>(&c)) return std::make_unique<V>(f, *typed);
  return nullptr;
}

}  // namespace

std::unique_ptr<ControlView> MakeControlView(FormView& f, ui::Control& c) {
  if (auto* v = dynamic_cast<ui::ListView*>(&c)) return MakeListView(f, *v);
  if (auto* t = dynamic_cast<ui::TreeView*>(&c)) return MakeTreeView(f, *t);
  using Maker = std::unique_ptr<ControlView> (*)(FormView&, ui::Control&);
  static const Maker makers[] = {
      Try<LabelView, ui::Label>,       Try<TextBoxView, ui::TextBox>,       Try<CommandButtonView, ui::CommandButton>,
      Try<CheckBoxView, ui::CheckBox>, Try<OptionButtonView, ui::OptionButton>, Try<ComboBoxView, ui::ComboBox>,
      Try<ListBoxView, ui::ListBox>,   Try<FrameView, ui::Frame>,           Try<PictureBoxView, ui::PictureBox>,
      Try<ImageView, ui::Image>,       Try<ShapeView, ui::Shape>,           Try<UpDownView, ui::UpDown>,
      Try<SSTabView, ui::SSTab>,
  };
  for (Maker m : makers)
    if (auto view = m(f, c)) return view;
  return nullptr;  // Timer, ImageList, CommonDialog: nothing on screen
}

}  // namespace tarno::gui
