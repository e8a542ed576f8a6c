// Acting on real widgets while a window runs its modal loop: steps queued
// before the modal Show run inside its loop; message boxes and dialogs that
// a step opens are answered by the next queued responder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
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

// Runs `step` once the event loop (a modal Show's) is running.
inline void Later(std::function<void()> step) { QTimer::singleShot(0, qApp, std::move(step)); }

// A message box as the user saw it.
struct SeenBox {
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Waits (polling the event loop) for a message box, records it and presses
// `button`; then runs `then`. Fails the test if none shows within a second.
inline void AnswerBox(QMessageBox::StandardButton button, SeenBox* seen, std::function<void()> then = {},
                      int tries = 100) {
  QTimer::singleShot(10, qApp, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      if (tries > 0) return AnswerBox(button, seen, then, tries - 1);
      ADD_FAILURE() << "no message box showed";
      return;
    }
    if (seen) *seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
    QAbstractButton* b = box->button(button);
    if (!b) {
      ADD_FAILURE() << "the message box has no such button: " << box->text().toStdString();
      box->reject();
    } else {
      QTest::mouseClick(b, Qt::LeftButton);
    }
    if (then) Later(then);
  });
}

inline void ClickOn(const ui::Control& c) {
  QWidget* w = W(c);
  ASSERT_NE(w, nullptr) << vb::ToUtf8(c.DisplayName());
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

}  // namespace tarno::gui::test
