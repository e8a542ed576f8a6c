// Draws one designer control as the VB 6 designer shows it under the
// classic Windows scheme: intrinsic controls with their values (captions,
// check and option values, graphical styles, alignment, list items, scroll
// bars, combo buttons), pictures from the binary file, and other controls
// as a labelled box of their size.
#pragma once

#include <QFont>
#include <QRect>
#include <functional>

#include "host/controls.h"

class QPainter;

namespace tarno::workbench {

class FrxValues;

struct PaintSupport {
  FrxValues* frx = nullptr;
  std::function<QFont(const host::MemControl&)> font;
};

void PaintControl(QPainter& p, const host::MemControl& c, const QRect& r, PaintSupport& support);

// Classic 3D edges, two pixels wide.
void DrawRaised(QPainter& p, const QRect& r);
void DrawSunken(QPainter& p, const QRect& r);

// Controls shown in the designer as an icon (invisible at run time: timers,
// common dialogs, image lists): their file gives a place but no size.
bool DrawnAsIcon(const host::MemControl& c);
inline constexpr int kIconSide = 32;

// The size a label with AutoSize takes for its caption.
QSize AutoSizeOfLabel(const host::MemControl& c, const QFont& font, int width);

}  // namespace tarno::workbench
