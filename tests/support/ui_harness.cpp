#include "ui_harness.h"

#include "platform/vb_text.h"

namespace tarno::test {

class UiHarness::Fakes : public ui::MessageBoxService,
                         public ui::DialogService,
                         public ui::ModalLoop,
                         public ui::ScreenService,
                         public ui::ClockService {
 public:
  explicit Fakes(UiHarness& h) : h_(h) {}

  int Show(const std::u16string& prompt, int buttons, const std::u16string& title) override {
    ShownMessage m{prompt, buttons, title, 0};
    if (h_.on_message) h_.on_message(m);
    if (m.ButtonSet() == ui::vbOKOnly) {
      m.answer = ui::vbOK;
    } else if (!h_.answers_.empty()) {
      m.answer = h_.answers_.front();
      h_.answers_.pop_front();
    } else {
      m.answer = ui::DefaultAnswer(buttons);
      ADD_FAILURE() << "message box without a scripted answer: \"" << vb::ToUtf8(prompt) << "\"";
    }
    h_.messages_.push_back(m);
    return m.answer;
  }

  bool ShowOpen(ui::CommonDialog& d) override { return Dialog(d, DialogRequest::Open); }
  bool ShowSave(ui::CommonDialog& d) override { return Dialog(d, DialogRequest::Save); }
  bool ShowFont(ui::CommonDialog& d) override { return Dialog(d, DialogRequest::Font); }

  void Run(ui::Form& form) override {
    h_.modal_shown_.push_back(form.Name());
    auto it = h_.drivers_.find(std::type_index(typeid(form)));
    if (it != h_.drivers_.end()) {
      auto driver = it->second;  // the driver may register others
      driver(form);
      if (form.Loaded() && form.Visible())
        ADD_FAILURE() << vb::ToUtf8(form.Name()) << " is still open after its driver returned";
    }
    if (form.Loaded() && form.Visible() && !form.CloseBox()) form.Hide();
  }

  int MousePointer() const override { return pointer_; }
  void SetMousePointer(int p) override {
    pointer_ = p;
    pointer_history_.push_back(p);
  }

  ui::DateTime Now() const override { return now_; }

  int pointer_ = ui::vbDefault;
  std::vector<int> pointer_history_;
  ui::DateTime now_{2024, 4, 1, 9, 0, 0};

 private:
  bool Dialog(ui::CommonDialog& d, DialogRequest::Kind kind) {
    DialogRequest r{kind, d.DialogTitle, d.Filter, d.FileName, d.InitDir, d.Flags, d.CancelError, false};
    DialogAnswer a;
    if (h_.dialog_answers_.empty()) {
      ADD_FAILURE() << "common dialog without a scripted answer (title \"" << vb::ToUtf8(d.DialogTitle) << "\")";
      a.cancel = true;
    } else {
      a = h_.dialog_answers_.front();
      h_.dialog_answers_.pop_front();
    }
    r.cancelled = a.cancel;
    h_.dialog_requests_.push_back(r);
    if (a.cancel) return false;
    if (kind == DialogRequest::Font) {
      d.FontName = a.font.Name;
      d.FontSize = a.font.Size;
      d.FontBold = a.font.Bold;
      d.FontItalic = a.font.Italic;
      d.FontStrikethru = a.font.Strikethru;
      d.FontUnderline = a.font.Underline;
    } else {
      d.FileName = a.file_name;
      size_t slash = a.file_name.find_last_of(u"\\/");
      d.FileTitle = slash == std::u16string::npos ? a.file_name : a.file_name.substr(slash + 1);
    }
    return true;
  }

  UiHarness& h_;
};

UiHarness::UiHarness()
    : fakes_(std::make_shared<Fakes>(*this)), clipboard_(std::make_shared<MemoryClipboard>()) {
  ui::SetMessageBoxService(fakes_);
  ui::SetDialogService(fakes_);
  ui::SetModalLoop(fakes_);
  ui::SetScreenService(fakes_);
  ui::SetClockService(fakes_);
  SetSystemClipboard(clipboard_);
}

UiHarness::~UiHarness() {
  ui::SetMessageBoxService(nullptr);
  ui::SetDialogService(nullptr);
  ui::SetModalLoop(nullptr);
  ui::SetScreenService(nullptr);
  ui::SetClockService(nullptr);
  SetSystemClipboard(nullptr);
  if (!answers_.empty()) ADD_FAILURE() << answers_.size() << " scripted message box answer(s) were not used";
  if (!dialog_answers_.empty())
    ADD_FAILURE() << dialog_answers_.size() << " scripted dialog answer(s) were not used";
}

std::vector<std::u16string> UiHarness::MessageTexts() const {
  std::vector<std::u16string> out;
  for (const auto& m : messages_) out.push_back(m.text);
  return out;
}

int UiHarness::MousePointer() const { return fakes_->pointer_; }
const std::vector<int>& UiHarness::MousePointerHistory() const { return fakes_->pointer_history_; }
void UiHarness::SetNow(const ui::DateTime& now) { fakes_->now_ = now; }

void UiHarness::AdvanceTime(int64_t ms) {
  // The fake clock follows toolkit time (time of day only; the date stays).
  int64_t total = static_cast<int64_t>(fakes_->now_.hour) * 3600000 + fakes_->now_.minute * 60000 +
                  fakes_->now_.second * 1000 + ms;
  ui::AdvanceTimers(ms);
  total %= 24LL * 3600000;
  fakes_->now_.hour = static_cast<int>(total / 3600000);
  fakes_->now_.minute = static_cast<int>(total / 60000 % 60);
  fakes_->now_.second = static_cast<int>(total / 1000 % 60);
}

}  // namespace tarno::test
