#include "ui/services.h"

#include <algorithm>
#include <ctime>
#include <iostream>
#include <mutex>

#include "platform/vb_text.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tarno::ui {

namespace {

class StderrMessageBoxes : public MessageBoxService {
 public:
  int Show(const std::u16string& prompt, int buttons, const std::u16string& title) override {
    std::cerr << vb::ToUtf8(title) << ": " << vb::ToUtf8(prompt) << "\n";
    return DefaultAnswer(buttons);
  }
};

class CancellingDialogs : public DialogService {
 public:
  bool ShowOpen(CommonDialog&) override { return false; }
  bool ShowSave(CommonDialog&) override { return false; }
  bool ShowFont(CommonDialog&) override { return false; }
};

class NoModalLoop : public ModalLoop {
 public:
  void Run(Form& form) override {
    form.Hide();
    throw VbError(err::InvalidCall, "No window front end to show " + vb::ToUtf8(form.Name()) + " modally");
  }
};

class MemoryScreen : public ScreenService {
 public:
  int MousePointer() const override { return pointer_; }
  void SetMousePointer(int p) override { pointer_ = p; }

 private:
  int pointer_ = vbDefault;
};

class SystemClock : public ClockService {
 public:
  DateTime Now() const override {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    {
      // std::localtime shares one result between threads (localtime_r is POSIX only).
      static std::mutex mu;
      std::lock_guard<std::mutex> lock(mu);
      if (const std::tm* local = std::localtime(&t)) tm = *local;
    }
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
};

class NoEvents : public EventService {
 public:
  void DoEvents() override {}
  void Repaint() override {}
};

template <class I, class Default>
struct Slot {
  std::shared_ptr<I> current = std::make_shared<Default>();
  void Set(std::shared_ptr<I> s) { current = s ? std::move(s) : std::make_shared<Default>(); }
};

Slot<MessageBoxService, StderrMessageBoxes>& MsgSlot() {
  static Slot<MessageBoxService, StderrMessageBoxes> s;
  return s;
}
Slot<DialogService, CancellingDialogs>& DialogSlot() {
  static Slot<DialogService, CancellingDialogs> s;
  return s;
}
Slot<ModalLoop, NoModalLoop>& ModalSlot() {
  static Slot<ModalLoop, NoModalLoop> s;
  return s;
}
Slot<ScreenService, MemoryScreen>& ScreenSlot() {
  static Slot<ScreenService, MemoryScreen> s;
  return s;
}
Slot<ClockService, SystemClock>& ClockSlot() {
  static Slot<ClockService, SystemClock> s;
  return s;
}

Slot<EventService, NoEvents>& EventSlot() {
  static Slot<EventService, NoEvents> s;
  return s;
}

// Never destroyed, like the window lists: a static window may hold a timer.
std::vector<Timer*>& Timers() {
  static auto* timers = new std::vector<Timer*>;
  return *timers;
}

}  // namespace

MessageBoxService& MessageBoxes() { return *MsgSlot().current; }
DialogService& Dialogs() { return *DialogSlot().current; }
ModalLoop& Modal() { return *ModalSlot().current; }
ScreenService& Screen() { return *ScreenSlot().current; }
ClockService& Clock() { return *ClockSlot().current; }
EventService& Events() { return *EventSlot().current; }

void SetMessageBoxService(std::shared_ptr<MessageBoxService> s) { MsgSlot().Set(std::move(s)); }
void SetDialogService(std::shared_ptr<DialogService> s) { DialogSlot().Set(std::move(s)); }
void SetModalLoop(std::shared_ptr<ModalLoop> s) { ModalSlot().Set(std::move(s)); }
void SetScreenService(std::shared_ptr<ScreenService> s) { ScreenSlot().Set(std::move(s)); }
void SetClockService(std::shared_ptr<ClockService> s) { ClockSlot().Set(std::move(s)); }
void SetEventService(std::shared_ptr<EventService> s) { EventSlot().Set(std::move(s)); }

void DoEvents() {
  std::shared_ptr<EventService> service = EventSlot().current;
  service->DoEvents();
}

int MsgBox(const std::u16string& prompt, int buttons, const std::u16string& title) {
  // Keep the service alive even if a handler replaces it while the box is up.
  std::shared_ptr<MessageBoxService> service = MsgSlot().current;
  return service->Show(prompt, buttons, title);
}

int DefaultAnswer(int buttons) {
  static const std::vector<int> sets[] = {
      {vbOK}, {vbOK, vbCancel}, {vbAbort, vbRetry, vbIgnore}, {vbYes, vbNo, vbCancel}, {vbYes, vbNo}, {vbRetry, vbCancel}};
  int set = buttons & 0x0F;
  if (set > 5) set = 0;
  size_t which = static_cast<size_t>((buttons & 0xF00) >> 8);
  const auto& answers = sets[set];
  return answers[std::min(which, answers.size() - 1)];
}

DateTime Now() { return Clock().Now(); }

std::u16string FormatDateYmd(const DateTime& d) { return vb::FormatDateYmd(d.year, d.month, d.day); }

// ---- Timer -------------------------------------------------------------------

Timer::Timer(Form& form, std::u16string name, int16_t index) : Control(form, std::move(name), index) {
  SetVisible(false);
  Timers().push_back(this);
}

Timer::~Timer() {
  auto& t = Timers();
  t.erase(std::remove(t.begin(), t.end(), this), t.end());
}

void Timer::SetInterval(int ms) {
  if (ms < 0 || ms > 65535) throw VbError(err::InvalidPropertyValue, "Invalid property value: Interval");
  interval_ = ms;
  elapsed_ = 0;
}

void Timer::SetTimerEnabled(bool v) {
  SetEnabled(v);
  elapsed_ = 0;
}

bool Timer::Running() const { return Parent().Loaded() && Enabled() && interval_ > 0; }

void Timer::DescribeProperties(ControlDescription& d) const {
  d.properties.push_back({"Interval", vb::FromInt(interval_)});
}

void AdvanceTimers(int64_t ms) {
  // Timers of windows that are not loaded do not count time.
  for (Timer* t : Timers())
    if (!t->Running()) t->elapsed_ = 0;
  while (true) {
    Timer* next = nullptr;
    int64_t wait = ms + 1;
    for (Timer* t : Timers()) {
      if (!t->Running()) continue;
      int64_t left = t->interval_ - t->elapsed_;
      if (left < wait) {
        wait = left;
        next = t;
      }
    }
    if (!next) {
      for (Timer* t : Timers())
        if (t->Running()) t->elapsed_ += ms;
      return;
    }
    for (Timer* t : Timers())
      if (t->Running()) t->elapsed_ += wait;
    ms -= wait;
    next->elapsed_ = 0;
    if (next->OnTimer) next->OnTimer();
    for (Timer* t : Timers())
      if (!t->Running()) t->elapsed_ = 0;
  }
}

int64_t NextTimerDue() {
  int64_t due = -1;
  for (Timer* t : Timers())
    if (t->Running()) {
      int64_t left = std::max<int64_t>(0, t->interval_ - t->elapsed_);
      if (due < 0 || left < due) due = left;
    }
  return due;
}

}  // namespace tarno::ui
