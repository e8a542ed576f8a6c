#include "gui/desktop.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

#include "gui/form_view.h"
#include "gui/qt_convert.h"
#include "gui/qt_services.h"
#include "platform/vb_text.h"

namespace tarno::gui {

namespace {
Desktop* g_current = nullptr;

bool IsLoaded(const ui::Form* f) {
  auto loaded = ui::LoadedForms();
  return std::find(loaded.begin(), loaded.end(), f) != loaded.end();
}
}  // namespace

// A modal Show: the window on screen, then a nested event loop until it is
// hidden or unloaded.
class DesktopModalLoop : public ui::ModalLoop {
 public:
  explicit DesktopModalLoop(Desktop& d) : d_(d) {}
  void Run(ui::Form& form) override { d_.RunModal(form); }

 private:
  Desktop& d_;
};

class DesktopEvents : public ui::EventService {
 public:
  explicit DesktopEvents(Desktop& d) : d_(d) {}
  void DoEvents() override {
    d_.Sync();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    d_.Sync();
  }
  void Repaint() override {
    d_.Sync();
    for (FormView* v : d_.Views())
      if (v->isVisible()) v->repaint();
  }

 private:
  Desktop& d_;
};

Desktop::Desktop() {
  g_current = this;
  if (QScreen* screen = QGuiApplication::primaryScreen()) pixels_per_twip_ = screen->logicalDotsPerInchX() / 1440.0;
  ui::SetMessageBoxService(MakeMessageBoxes());
  ui::SetDialogService(MakeDialogs());
  ui::SetScreenService(MakeScreen());
  ui::SetModalLoop(std::make_shared<DesktopModalLoop>(*this));
  ui::SetEventService(std::make_shared<DesktopEvents>(*this));
  SetSystemClipboard(MakeClipboard());
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Dispatch([] {}); });
  clock_.start();
  if (auto* dispatcher = QAbstractEventDispatcher::instance())
    about_to_block_ = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this] { Sync(); });
}

Desktop::~Desktop() {
  QObject::disconnect(about_to_block_);
  timer_.stop();
  for (Entry& e : views_) delete e.view.data();
  views_.clear();
  ui::SetMessageBoxService(nullptr);
  ui::SetDialogService(nullptr);
  ui::SetScreenService(nullptr);
  ui::SetModalLoop(nullptr);
  ui::SetEventService(nullptr);
  SetSystemClipboard(nullptr);
  if (g_current == this) g_current = nullptr;
}

Desktop* Desktop::Current() { return g_current; }

int Desktop::Pixels(int twips) const { return static_cast<int>(std::lround(twips * pixels_per_twip_)); }
int Desktop::Twips(int pixels) const { return static_cast<int>(std::lround(pixels / pixels_per_twip_)); }

FormView* Desktop::ViewOf(const ui::Form& form) const {
  for (const Entry& e : views_)
    if (e.form == &form) return e.view.data();
  return nullptr;
}

std::vector<FormView*> Desktop::Views() const {
  std::vector<FormView*> out;
  for (const Entry& e : views_)
    if (e.view) out.push_back(e.view.data());
  return out;
}

void Desktop::Sync() {
  if (syncing_) return;
  ++syncing_;
  // Windows that were unloaded (or destroyed) leave the screen. Their form
  // may be gone: only the pointer is compared.
  for (auto it = views_.begin(); it != views_.end();) {
    if (!it->view || !IsLoaded(it->form)) {
      if (it->view) {
        it->view->Detach();
        it->view->hide();
        it->view->deleteLater();
      }
      it = views_.erase(it);
    } else {
      ++it;
    }
  }
  for (ui::Form* f : ui::LoadedForms()) {
    FormView* view = ViewOf(*f);
    if (!view && f->Visible()) {
      view = new FormView(*this, *f);
      views_.push_back({f, view});
    }
    if (view) view->Sync();
  }
  --syncing_;
  if (after_sync_) after_sync_();
  for (ModalRun& run : modal_runs_)
    if (!IsLoaded(run.form) || !run.form->Visible()) run.loop->quit();
  ScheduleTimers();
}

void Desktop::Dispatch(const std::function<void()>& action) {
  if (syncing_) return;  // widgets being updated: no user action
  PumpTimers();
  try {
    action();
  } catch (const ui::InputRejected&) {
    // Nothing a user could do (a disabled control, a covered window).
  } catch (const ui::VbError& e) {
    ShowRunTimeError(QStringLiteral("実行時エラー '%1':\n\n%2").arg(e.number()).arg(QString::fromUtf8(e.what())));
  } catch (const std::exception& e) {
    ShowRunTimeError(QString::fromUtf8(e.what()));
  }
  Sync();
}

void Desktop::ShowRunTimeError(const QString& text) {
  Sync();
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Tarno Kit"), text);
}

void Desktop::RunModal(ui::Form& form) {
  Sync();
  if (modal_hook_) {
    auto hook = modal_hook_;
    hook(form);
    Sync();
    return;
  }
  QEventLoop loop;
  modal_runs_.push_back({&form, &loop});
  if (IsLoaded(&form) && form.Visible()) loop.exec(QEventLoop::DialogExec);
  modal_runs_.erase(std::remove_if(modal_runs_.begin(), modal_runs_.end(),
                                   [&](const ModalRun& r) { return r.loop == &loop; }),
                    modal_runs_.end());
  Sync();
}

void Desktop::PumpTimers() {
  // Timer handlers that open a modal window or a message box run the event
  // loop again; the timers wait until the handler returns.
  if (pumping_) return;
  int64_t elapsed = clock_.restart();
  pumping_ = true;
  try {
    ui::AdvanceTimers(elapsed);
  } catch (...) {
    pumping_ = false;
    throw;
  }
  pumping_ = false;
}

void Desktop::ScheduleTimers() {
  if (pumping_) return;
  int64_t due = ui::NextTimerDue();
  if (due < 0) {
    timer_.stop();
    clock_.restart();  // time without a running timer counts for none
    return;
  }
  int wait = static_cast<int>(std::max<int64_t>(0, due - clock_.elapsed()));
  if (!timer_.isActive() || timer_.remainingTime() > wait) timer_.start(wait);
}

}  // namespace tarno::gui
