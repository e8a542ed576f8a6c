#include "gui/qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QMimeData>
#include <optional>

#include "gui/desktop.h"
#include "gui/japanese_texts.h"
#include "gui/qt_convert.h"

namespace tarno::gui {

namespace {

void SyncWindows() {
  if (Desktop* d = Desktop::Current()) d->Sync();
}

QWidget* Owner() { return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow(); }

// The window under a box or dialog gets the keyboard back when it closes
// (not every platform gives it back by itself).
void GiveBack(QWidget* owner) {
  if (owner && owner->isVisible()) owner->activateWindow();
}

class QtMessageBoxes : public ui::MessageBoxService {
 public:
  int Show(const std::u16string& prompt, int buttons, const std::u16string& title) override {
    SyncWindows();
    QWidget* owner = Owner();
    JapaneseQtTexts japanese;
    QMessageBox box(owner);
    box.setWindowTitle(ToQ(title));
    box.setText(ToQLines(prompt));
    box.setTextFormat(Qt::PlainText);
    switch (buttons & 0xF0) {
      case ui::vbCritical: box.setIcon(QMessageBox::Critical); break;
      case ui::vbQuestion: box.setIcon(QMessageBox::Question); break;
      case ui::vbExclamation: box.setIcon(QMessageBox::Warning); break;
      case ui::vbInformation: box.setIcon(QMessageBox::Information); break;
      default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct B {
      QMessageBox::StandardButton qt;
      int vb;
    };
    static const std::vector<B> sets[] = {
        {{QMessageBox::Ok, ui::vbOK}},
        {{QMessageBox::Ok, ui::vbOK}, {QMessageBox::Cancel, ui::vbCancel}},
        {{QMessageBox::Abort, ui::vbAbort}, {QMessageBox::Retry, ui::vbRetry}, {QMessageBox::Ignore, ui::vbIgnore}},
        {{QMessageBox::Yes, ui::vbYes}, {QMessageBox::No, ui::vbNo}, {QMessageBox::Cancel, ui::vbCancel}},
        {{QMessageBox::Yes, ui::vbYes}, {QMessageBox::No, ui::vbNo}},
        {{QMessageBox::Retry, ui::vbRetry}, {QMessageBox::Cancel, ui::vbCancel}},
    };
    int set = buttons & 0x0F;
    if (set > 5) set = 0;
    const auto& chosen = sets[set];
    QMessageBox::StandardButtons all;
    for (const B& b : chosen) all |= b.qt;
    box.setStandardButtons(all);
    int answer = ui::DefaultAnswer(buttons);
    for (const B& b : chosen)
      if (b.vb == answer) box.setDefaultButton(b.qt);
    box.exec();
    GiveBack(owner);
    for (const B& b : chosen)
      if (box.clickedButton() == box.button(b.qt)) return b.vb;
    return answer;
  }
};

class QtDialogs : public ui::DialogService {
 public:
  bool ShowOpen(ui::CommonDialog& d) override { return File(d, false); }
  bool ShowSave(ui::CommonDialog& d) override { return File(d, true); }

  bool ShowFont(ui::CommonDialog& d) override {
    SyncWindows();
    ui::StdFont start;
    if (!d.FontName.empty()) start.Name = d.FontName;
    if (d.FontSize > 0) start.Size = d.FontSize;
    start.Bold = d.FontBold;
    start.Italic = d.FontItalic;
    start.Strikethru = d.FontStrikethru;
    start.Underline = d.FontUnderline;
    QWidget* owner = Owner();
    JapaneseQtTexts japanese;
    QFontDialog dialog(ToQFont(start), owner);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (!d.DialogTitle.empty()) dialog.setWindowTitle(ToQ(d.DialogTitle));
    int answer = dialog.exec();
    GiveBack(owner);
    if (answer != QDialog::Accepted) return false;
    QFont f = dialog.selectedFont();
    d.FontName = VbFontNameFor(f.family());
    d.FontSize = f.pointSizeF();
    d.FontBold = f.bold();
    d.FontItalic = f.italic();
    // Strikeout and underline are the dialog's effects (cdlCFEffects).
    d.FontStrikethru = (d.Flags & ui::cdlCFEffects) ? f.strikeOut() : false;
    d.FontUnderline = (d.Flags & ui::cdlCFEffects) ? f.underline() : false;
    return true;
  }

 private:
  bool File(ui::CommonDialog& d, bool save) {
    SyncWindows();
    QWidget* owner = Owner();
    JapaneseQtTexts japanese;
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!d.DialogTitle.empty()) dialog.setWindowTitle(ToQ(d.DialogTitle));
    if (save) {
      dialog.setFileMode(QFileDialog::AnyFile);
      if (!(d.Flags & ui::cdlOFNOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
      dialog.setFileMode((d.Flags & ui::cdlOFNFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    QStringList filters = NameFilters(d.Filter);
    if (!filters.isEmpty()) {
      dialog.setNameFilters(filters);
      int index = d.FilterIndex > 0 ? d.FilterIndex - 1 : 0;
      if (index < filters.size()) dialog.selectNameFilter(filters[index]);
    }
    if (!d.DefaultExt.empty()) dialog.setDefaultSuffix(ToQ(d.DefaultExt));
    if (!d.InitDir.empty()) dialog.setDirectory(ToQ(d.InitDir));
    // A start name that is a pattern ("*.log") is no file to preselect.
    if (!d.FileName.empty() && d.FileName.find_first_of(u"*?") == std::u16string::npos) dialog.selectFile(ToQ(d.FileName));
    int answer = dialog.exec();
    GiveBack(owner);
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    QString path = dialog.selectedFiles().front();
    d.FileName = FromQ(QDir::toNativeSeparators(path));
    d.FileTitle = FromQ(QFileInfo(path).fileName());
    d.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
  }
};

class QtScreen : public ui::ScreenService {
 public:
  ~QtScreen() override {
    if (overridden_ && qApp) QApplication::restoreOverrideCursor();
  }
  int MousePointer() const override { return pointer_; }
  void SetMousePointer(int p) override {
    pointer_ = p;
    bool busy = p == ui::vbHourglass || p == 13;  // hourglass, arrow and hourglass
    if (busy && !overridden_) {
      QApplication::setOverrideCursor(p == 13 ? Qt::BusyCursor : Qt::WaitCursor);
      overridden_ = true;
    } else if (!busy && overridden_) {
      QApplication::restoreOverrideCursor();
      overridden_ = false;
    }
  }

 private:
  int pointer_ = ui::vbDefault;
  bool overridden_ = false;
};

class QtClipboard : public Clipboard {
 public:
  void Clear() override { QGuiApplication::clipboard()->clear(); }
  void SetText(const std::u16string& text) override { QGuiApplication::clipboard()->setText(ToQ(text)); }
  std::optional<std::u16string> GetText() const override {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return FromQ(data->text());
  }
  void SetData(const Picture& picture) override {
    last_ = picture;
    QGuiApplication::clipboard()->setImage(ToImage(picture));
  }
  std::optional<Picture> GetData() const override {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage()) return std::nullopt;
    Picture p = FromImage(QGuiApplication::clipboard()->image());
    // A picture this program put there keeps its name.
    if (last_ && last_->width == p.width && last_->height == p.height && last_->pixels == p.pixels) return last_;
    return p;
  }

 private:
  std::optional<Picture> last_;
};

}  // namespace

QStringList NameFilters(const std::u16string& vbFilter) {
  QStringList parts = ToQ(vbFilter).split(u'|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    QString shown = QStringLiteral("(") + patterns + u')';
    // "Log (*.log)|*.log" already names its patterns.
    out << (parts[i].endsWith(shown) ? parts[i] : parts[i] + u' ' + shown);
  }
  return out;
}

std::shared_ptr<ui::MessageBoxService> MakeMessageBoxes() { return std::make_shared<QtMessageBoxes>(); }
std::shared_ptr<ui::DialogService> MakeDialogs() { return std::make_shared<QtDialogs>(); }
std::shared_ptr<ui::ScreenService> MakeScreen() { return std::make_shared<QtScreen>(); }
std::shared_ptr<Clipboard> MakeClipboard() { return std::make_shared<QtClipboard>(); }

}  // namespace tarno::gui
