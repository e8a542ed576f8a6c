// The Qt front end of the headless windows. A Desktop, created once after the
// QApplication, installs the real window services (message boxes, common
// dialogs, the modal loop, the mouse pointer, DoEvents and Refresh, the
// system clipboard) and shows every loaded, visible ui::Form as a real window
// (FormView). Nothing is per window: each control type has one mapping.
//
//   QApplication app(argc, argv);
//   gui::Desktop desktop;
//   checks::frmHensuFind w;
//   w.Show(ui::vbModal);   // a real window; returns when it is closed
//
// Model and widgets stay in step through Sync(): it runs after every user
// action (Dispatch), before every message box, dialog and nested loop, and
// whenever Qt's event loop is about to wait, so whatever a window's code
// changes shows at once. User actions on the widgets go through ui/input.h,
// so they raise the same events, in the same order, as the test harness.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "ui/ui.h"

class QEventLoop;

namespace tarno::gui {

class FormView;

class Desktop {
 public:
  Desktop();
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // The Desktop alive now, nullptr when none.
  static Desktop* Current();

  // Copies the state of every loaded window to its widgets: creates windows
  // for forms that became visible, hides or drops the others, ends modal
  // loops whose window was hidden or unloaded.
  void Sync();
  // Runs a user's action on the model (a ui/input.h call): due timers first,
  // then the action; a VB run-time error from the window's code is shown in a
  // message box, an action no user could do is ignored; then Sync().
  void Dispatch(const std::function<void()>& action);
  // True while Sync() copies state (widget signals then are no user action).
  bool Syncing() const { return syncing_ > 0; }

  FormView* ViewOf(const ui::Form& form) const;
  std::vector<FormView*> Views() const;

  // Twips to pixels: 15 twips a pixel at 96 DPI, scaled with the screen.
  int Pixels(int twips) const;
  int Twips(int pixels) const;

  // Replaces the nested loop of a modal Show (gallery, tests): the hook runs
  // once the window is on screen and must hide or unload it.
  void SetModalHook(std::function<void(ui::Form&)> hook) { modal_hook_ = std::move(hook); }

  // Runs after every Sync: a view of the model that is no toolkit window
  // (the workbench's form designers) follows what a window's code changed
  // while that window is still open. Empty: nothing.
  void SetAfterSync(std::function<void()> after) { after_sync_ = std::move(after); }

  // Runs the toolkit timers that are due by the wall clock (Qt timers call it).
  void PumpTimers();

 private:
  friend class DesktopModalLoop;
  friend class DesktopEvents;
  struct Entry {
    ui::Form* form;
    QPointer<FormView> view;
  };
  struct ModalRun {
    ui::Form* form;
    QEventLoop* loop;
  };
  void RunModal(ui::Form& form);
  void ScheduleTimers();
  void ShowRunTimeError(const QString& text);

  std::vector<Entry> views_;
  std::vector<ModalRun> modal_runs_;
  std::function<void(ui::Form&)> modal_hook_;
  std::function<void()> after_sync_;
  int syncing_ = 0;
  bool pumping_ = false;
  double pixels_per_twip_ = 1.0 / 15;
  QTimer timer_;
  QElapsedTimer clock_;
  QMetaObject::Connection about_to_block_;
};

}  // namespace tarno::gui
