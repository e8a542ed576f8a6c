// Acting on real widgets while a window runs its modal loop: steps queued
// before the modal Show run inside its loop; message boxes and dialogs that
// a step opens are answered by the next queued responder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <string>

#include "gui/desktop.h"
#include "gui/form_view.h"
#include "platform/vb_text.h"

namespace tarno::gui::test {

// The widget of a control of a shown window.
inline QWidget* W(const ui::Control& c) {
  FormView* v = Desktop::Current()->ViewOf(c.Parent());
  return v ? v->WidgetOf(c) : nullptr;
}

// Waits until the form's window is the active one (it gets the keyboard).
inline bool WaitActive(const ui::Form& f) {
  Desktop::Current()->Sync();  // a modeless Show appears at the next Sync
  FormView* v = Desktop::Current()->ViewOf(f);
  return v && QTest::qWaitForWindowActive(v, 1000);
}

// Fails the test and unloads the modal windows if they are still open after
// `ms` (a step that failed before closing its window would hang the test).
class Watchdog {
 public:
  explicit Watchdog(int ms = 5000) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [] {
      auto modal = ui::ModalStack();
      if (modal.empty() && !QApplication::activeModalWidget()) return;
      ADD_FAILURE() << "modal windows were still open; the watchdog closes them";
      for (auto it = modal.rbegin(); it != modal.rend(); ++it) (*it)->Hide();
      Desktop::Current()->Sync();
      // Message boxes and dialogs in between.
      while (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    timer_.start(ms);
  }

 private:
  QTimer timer_;
};

// Runs `step` once the event loop (a modal Show's) is running.
inline void Later(std::function<void()> step) { QTimer::singleShot(0, qApp, std::move(step)); }

// A message box as the user saw it.
struct SeenBox {
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QStringList buttonTexts;  // in the box's order
};

// Runs `step` once the event loop is back at `level` (a message box's own
// loop has returned and the handler that showed it has finished).
inline void AtLoopLevel(int level, std::function<void()> step) {
  QTimer::singleShot(5, qApp, [=] {
    if (QThread::currentThread()->loopLevel() > level) return AtLoopLevel(level, step);
    step();
  });
}

// Waits (polling the event loop) for a message box, records it and presses
// `button`; `then` runs once the handler that showed the box has returned.
// Fails the test if no box shows within a second.
inline void AnswerBoxAfter(int delay, int tries, int level, QMessageBox::StandardButton button, SeenBox* seen,
                           std::function<void()> then) {
  QTimer::singleShot(delay, qApp, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      if (tries > 0) return AnswerBoxAfter(10, tries - 1, level, button, seen, then);
      ADD_FAILURE() << "no message box showed";
      return;
    }
    if (seen) {
      *seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons(), {}};
      for (QAbstractButton* shown : box->buttons()) seen->buttonTexts << shown->text();
    }
    QAbstractButton* b = box->button(button);
    if (!b) {
      ADD_FAILURE() << "the message box has no such button: " << box->text().toStdString();
      box->reject();
    } else {
      QTest::mouseClick(b, Qt::LeftButton);
    }
    if (then) AtLoopLevel(level, then);
  });
}

inline void AnswerBox(QMessageBox::StandardButton button, SeenBox* seen, std::function<void()> then = {}) {
  AnswerBoxAfter(10, 100, QThread::currentThread()->loopLevel(), button, seen, std::move(then));
}

// Text composed with an input method and committed (how Japanese is typed).
inline void Commit(QWidget* w, const QString& text) {
  QInputMethodEvent e;
  e.setCommitString(text);
  QApplication::sendEvent(w, &e);
}

inline void ClickOn(const ui::Control& c) {
  QWidget* w = W(c);
  ASSERT_NE(w, nullptr) << vb::ToUtf8(c.DisplayName());
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

}  // namespace tarno::gui::test
