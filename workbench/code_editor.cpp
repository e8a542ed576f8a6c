#include "workbench/code_editor.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QScrollBar>
#include <QToolButton>
#include <QTextBlock>
#include <vector>

#include "workbench/code_outline.h"
#include "workbench/procedure_bar.h"
#include "workbench/vb_highlighter.h"

namespace tarno::workbench {
namespace {

class LineNumbers : public QWidget {
 public:
  explicit LineNumbers(CodeEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->LineNumberWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* e) override { editor_->PaintLineNumbers(e); }

 private:
  CodeEditor* editor_;
};

QString Q(std::u16string_view s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }
std::u16string U(const QString& s) { return s.toStdU16String(); }

// The module's lines; an empty module shows as one empty line.
std::vector<QString> ModuleLines(host::MemCodeModule& module) {
  std::vector<QString> lines;
  const auto& text = module.text();
  lines.reserve(text.CountOfLines());
  for (int i = 1; i <= text.CountOfLines(); ++i) lines.push_back(Q(text.Line(i)));
  if (lines.empty()) lines.emplace_back();
  return lines;
}

}  // namespace

CodeEditor::CodeEditor(std::shared_ptr<host::MemVBE> vbe, std::shared_ptr<host::MemComponent> component,
                       QWidget* parent)
    : QPlainTextEdit(parent), vbe_(std::move(vbe)), component_(std::move(component)) {
  pane_ = std::make_shared<host::MemCodePane>(component_->code());
  window_ = std::make_shared<host::MemWindow>(host::MemWindow::kCodeWindow, component_->name() + u" (Code)");
  setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont font(QStringLiteral("IPAGothic"));
  font.setStyleHint(QFont::Monospace);
  font.setPointSize(10);
  setFont(font);
  setTabStopDistance(fontMetrics().horizontalAdvance(u' ') * 4);
  connect(document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
    if (!modified && on_clean_) on_clean_();
  });
  highlighter_ = new VbHighlighter(document());
  numbers_ = new LineNumbers(this);
  bar_ = new ProcedureBar(component_, this);
  bar_->on_go = [this](int line, bool newHandler) {
    if (newHandler) {
      SyncFromModule();
      if (on_edit_) on_edit_();
    }
    // A new handler's caret is on its empty body line.
    SelectPlace(newHandler ? line + 1 : line, 1, 0);
    setFocus();
  };
  bar_->on_view = [this](bool on) { SetProcedureView(on); };
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this](int) { UpdateMargins(); });
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (dy) numbers_->scroll(0, dy);
    else numbers_->update(0, rect.y(), numbers_->width(), rect.height());
  });
  {
    ++applying_;
    QStringList all;
    for (auto& line : ModuleLines(*component_->code())) all << line;
    setPlainText(all.join(u'\n'));
    seen_version_ = component_->code()->text().version();
    --applying_;
  }
  document()->clearUndoRedoStacks();
  UpdateMargins();
  connect(document(), &QTextDocument::contentsChange, this, &CodeEditor::OnContentsChange);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CodeEditor::OnCursor);
  connect(this, &QPlainTextEdit::selectionChanged, this, &CodeEditor::OnCursor);
}

CodeEditor::~CodeEditor() = default;

int CodeEditor::LineNumberWidth() const {
  int digits = 1;
  for (int max = std::max(1, blockCount()); max >= 10; max /= 10) ++digits;
  return 8 + fontMetrics().horizontalAdvance(u'9') * std::max(digits, 3);
}

void CodeEditor::PaintLineNumbers(QPaintEvent* event) {
  QPainter p(numbers_);
  p.fillRect(event->rect(), QColor(240, 240, 240));
  p.setPen(QColor(120, 120, 120));
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  int bottom = top + qRound(blockBoundingRect(block).height());
  while (block.isValid() && top <= event->rect().bottom()) {
    if (block.isVisible() && bottom >= event->rect().top()) {
      p.drawText(0, top, numbers_->width() - 4, fontMetrics().height(), Qt::AlignRight,
                 QString::number(block.blockNumber() + 1));
    }
    block = block.next();
    top = bottom;
    bottom = top + qRound(blockBoundingRect(block).height());
  }
}

void CodeEditor::UpdateMargins() { setViewportMargins(LineNumberWidth(), bar_->sizeHint().height(), 0, 0); }

void CodeEditor::resizeEvent(QResizeEvent* e) {
  QPlainTextEdit::resizeEvent(e);
  QRect cr = contentsRect();
  const int top = bar_->sizeHint().height();
  // The vertical scroll bar runs the whole height: the lists stop at it.
  const int scroll = verticalScrollBar()->isVisibleTo(this) ? verticalScrollBar()->sizeHint().width() : 0;
  bar_->setGeometry(QRect(cr.left(), cr.top(), cr.width() - scroll, top));
  numbers_->setGeometry(QRect(cr.left(), cr.top() + top, LineNumberWidth(), cr.height() - top));
}

const std::vector<int>& CodeEditor::ProcStarts() {
  auto& module = *component_->code();
  if (module.text().version() != starts_version_) {
    proc_starts_.clear();
    for (const auto& p : ModuleProcs(module)) proc_starts_.push_back(p.start);
    starts_version_ = module.text().version();
  }
  return proc_starts_;
}

void CodeEditor::paintEvent(QPaintEvent* e) {
  QPlainTextEdit::paintEvent(e);
  if (procedure_view_) return;
  // A line above each procedure, as the IDE separates them in Full Module view.
  QPainter p(viewport());
  p.setPen(QColor(160, 160, 160));
  const QRect area = e->rect();
  for (int start : ProcStarts()) {
    if (start <= 1) continue;
    QTextBlock b = document()->findBlockByNumber(start - 1);
    if (!b.isValid() || !b.isVisible()) continue;
    const int y = qRound(blockBoundingGeometry(b).translated(contentOffset()).top());
    if (y < area.top() - 1 || y > area.bottom() + 1) continue;
    p.drawLine(0, y, viewport()->width(), y);
  }
}

void CodeEditor::SetProcedureView(bool on) {
  procedure_view_ = on;
  if (bar_->procedureView()->isChecked() != on) (on ? bar_->procedureView() : bar_->fullModuleView())->setChecked(true);
  ApplyView();
}

void CodeEditor::ApplyView() {
  auto& module = *component_->code();
  std::pair<int, int> range{1, document()->blockCount()};
  if (procedure_view_) {
    const int line = CaretLine();
    int kind = 0;
    const std::u16string name = line <= module.CountOfLines() ? module.ProcOfLine(line, &kind) : u"";
    if (name.empty()) {
      range = {1, std::max(1, module.CountOfDeclarationLines())};
    } else {
      const int start = module.ProcStartLine(name, kind);
      range = {start, start + module.ProcCountLines(name, kind) - 1};
    }
  }
  if (range == shown_range_) return;
  shown_range_ = range;
  for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next()) {
    const int n = b.blockNumber() + 1;
    b.setVisible(n >= range.first && n <= range.second);
  }
  ++applying_;
  document()->markContentsDirty(0, document()->characterCount());
  --applying_;
  viewport()->update();
  numbers_->update();
}

void CodeEditor::focusInEvent(QFocusEvent* e) {
  QPlainTextEdit::focusInEvent(e);
  Activate();
}

void CodeEditor::Activate() {
  vbe_->SetActiveCodePane(pane_);
  vbe_->SetActiveWindow(window_);
  vbe_->SetSelectedComponent(component_);
  OnCursor();
}

void CodeEditor::OnCursor() {
  if (applying_) return;
  QTextCursor c = textCursor();
  QTextBlock a = document()->findBlock(c.selectionStart());
  QTextBlock b = document()->findBlock(c.selectionEnd());
  pane_->Select(a.blockNumber() + 1, c.selectionStart() - a.position() + 1, b.blockNumber() + 1,
                c.selectionEnd() - b.position() + 1);
  const int line = c.blockNumber() + 1;
  if (on_caret_) on_caret_(line, c.positionInBlock() + 1);
  if (line != followed_line_) {
    const int left = followed_line_;
    followed_line_ = line;
    if (pretty_ && edited_line_ == left && left > 0) PrettyList(left);
    edited_line_ = 0;
    bar_->Follow(line);
    if (procedure_view_) ApplyView();
  }
}

// Lines outside the changed blocks are the module's lines at the same
// offsets from either end; the changed ones are trimmed against the module
// (colouring reports changes that leave the text as it was) and the rest is
// replaced in the module.
void CodeEditor::OnContentsChange(int position, int removed, int added) {
  if (applying_) return;
  // A change within the caret's line is listed when the caret leaves it.
  edited_line_ = document()->findBlock(position).blockNumber() + 1;
  auto& module = *component_->code();
  QTextDocument* doc = document();
  QTextBlock firstBlock = doc->findBlock(position);
  QTextBlock lastBlock = doc->findBlock(position + added);
  if (!firstBlock.isValid()) firstBlock = doc->firstBlock();
  if (!lastBlock.isValid()) lastBlock = doc->lastBlock();
  const int newCount = doc->blockCount();
  const int moduleCount = module.text().CountOfLines();
  const int oldCount = std::max(1, moduleCount);
  int prefix = firstBlock.blockNumber();
  int suffix = newCount - 1 - lastBlock.blockNumber();
  if (prefix + suffix > oldCount) suffix = std::max(0, oldCount - prefix);
  if (prefix > oldCount) prefix = oldCount, suffix = 0;
  std::vector<QString> fresh;
  for (QTextBlock b = doc->findBlockByNumber(prefix); b.isValid() && b.blockNumber() < newCount - suffix; b = b.next())
    fresh.push_back(b.text());
  auto oldLine = [&](int i) { return i < moduleCount ? Q(module.text().Line(i + 1)) : QString(); };
  int oldMid = oldCount - prefix - suffix;
  size_t from = 0, to = fresh.size();
  while (oldMid > 0 && from < to && oldLine(prefix) == fresh[from]) ++prefix, ++from, --oldMid;
  while (oldMid > 0 && from < to && oldLine(prefix + oldMid - 1) == fresh[to - 1]) --to, --oldMid;
  if (oldMid == 0 && from == to) return;
  try {
    if (newCount == 1 && doc->firstBlock().text().isEmpty()) {
      // An empty pane is a module without lines, as in the IDE.
      if (moduleCount > 0) module.DeleteLines(1, moduleCount);
    } else if (moduleCount == 0) {
      // The empty module's one shown line was not a line of it: all of the pane is new.
      module.InsertLines(1, U(toPlainText().replace(u'\n', QStringLiteral("\r\n"))));
    } else {
      if (oldMid > 0) module.DeleteLines(prefix + 1, oldMid);
      if (from < to) {
        QStringList lines;
        for (size_t i = from; i < to; ++i) lines << fresh[i];
        module.InsertLines(prefix + 1, U(lines.join(QStringLiteral("\r\n"))));
      }
    }
  } catch (const std::exception&) {
    // A host failure leaves the module as it was; the next sync shows it.
  }
  seen_version_ = module.text().version();
  if (on_edit_) on_edit_();
}

void CodeEditor::SyncFromModule() {
  auto& module = *component_->code();
  if (module.text().version() != seen_version_) {
    std::vector<QString> now = ModuleLines(module);
    const int oldN = document()->blockCount();
    const int newN = static_cast<int>(now.size());
    int prefix = 0;
    while (prefix < oldN && prefix < newN && document()->findBlockByNumber(prefix).text() == now[prefix]) ++prefix;
    int suffix = 0;
    while (suffix < oldN - prefix && suffix < newN - prefix &&
           document()->findBlockByNumber(oldN - 1 - suffix).text() == now[newN - 1 - suffix])
      ++suffix;
    if (!(prefix == oldN && prefix == newN)) {
      // Keep one line on each side in the replaced range, so that no line
      // break has to be added or removed on its own.
      while (prefix + suffix >= std::min(oldN, newN)) {
        if (suffix > 0) --suffix;
        else --prefix;
      }
      QTextCursor c(document());
      c.setPosition(document()->findBlockByNumber(prefix).position());
      QTextBlock last = document()->findBlockByNumber(oldN - 1 - suffix);
      c.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
      QStringList mid;
      for (int i = prefix; i < newN - suffix; ++i) mid << now[i];
      ++applying_;
      c.beginEditBlock();
      c.insertText(mid.join(u'\n'));
      c.endEditBlock();
      --applying_;
    }
    seen_version_ = module.text().version();
  }
  ApplySelection();
}

void CodeEditor::ApplySelection() {
  int sl = 1, sc = 1, el = 1, ec = 1;
  try {
    pane_->GetSelection(sl, sc, el, ec);
  } catch (const std::exception&) {
    return;
  }
  auto pos = [&](int line, int col) {
    QTextBlock b = document()->findBlockByNumber(std::clamp(line, 1, document()->blockCount()) - 1);
    return b.position() + std::clamp(col - 1, 0, b.length() - 1);
  };
  QTextCursor c(document());
  c.setPosition(pos(sl, sc));
  c.setPosition(pos(el, ec), QTextCursor::KeepAnchor);
  ++applying_;
  setTextCursor(c);
  --applying_;
}

}  // namespace tarno::workbench

namespace tarno::workbench {

void CodeEditor::SelectPlace(int line, int column, int length) {
  QTextBlock b = document()->findBlockByNumber(std::clamp(line, 1, document()->blockCount()) - 1);
  const int start = b.position() + std::clamp(column - 1, 0, b.length() - 1);
  QTextCursor c(document());
  c.setPosition(start);
  c.setPosition(std::min(start + length, b.position() + b.length() - 1), QTextCursor::KeepAnchor);
  setTextCursor(c);
  centerCursor();
}

int CodeEditor::CaretLine() const { return textCursor().blockNumber() + 1; }

void CodeEditor::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ControlModifier) && on_ctrl_click_) {
    setTextCursor(cursorForPosition(e->position().toPoint()));
    e->accept();
    on_ctrl_click_();
    return;
  }
  QPlainTextEdit::mousePressEvent(e);
}

bool CodeEditor::viewportEvent(QEvent* e) {
  if (e->type() != QEvent::ToolTip || !hover_text_) return QPlainTextEdit::viewportEvent(e);
  auto* help = static_cast<QHelpEvent*>(e);
  QTextCursor c = cursorForPosition(help->pos());
  // Past the end of a line is no name: the nearest caret place must be near the mouse.
  const int near = fontMetrics().horizontalAdvance(u'M');
  QString text;
  if (std::abs(cursorRect(c).center().x() - help->pos().x()) <= near)
    text = hover_text_(c.blockNumber() + 1, c.positionInBlock() + 1);
  if (text.isEmpty()) {
    QToolTip::hideText();
    e->ignore();
  } else {
    QToolTip::showText(help->globalPos(), text, viewport());
  }
  return true;
}

}  // namespace tarno::workbench

namespace tarno::workbench {

void CodeEditor::PrettyList(int line) {
  QTextBlock b = document()->findBlockByNumber(line - 1);
  if (!b.isValid()) return;
  static const DeclaredNames none;
  const QString text = b.text();
  const QString pretty = PrettyLine(text, names_ ? names_() : none);
  if (pretty == text) return;
  // One undo step with the typing it follows.
  QTextCursor c(b);
  c.joinPreviousEditBlock();
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  c.insertText(pretty);
  c.endEditBlock();
}

void CodeEditor::SetEditorFont(const QFont& font) {
  setFont(font);
  setTabStopDistance(fontMetrics().horizontalAdvance(u' ') * 4);
  UpdateMargins();
}

}  // namespace tarno::workbench
