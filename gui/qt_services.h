// The window services of ui/services.h and the system clipboard on Qt:
// message boxes, common dialogs, the mouse pointer and QClipboard.
#pragma once

#include <QStringList>
#include <memory>

#include "platform/clipboard.h"
#include "ui/services.h"

namespace tarno::gui {

// Each Show syncs the windows first, so the box sees the state behind it.
std::shared_ptr<ui::MessageBoxService> MakeMessageBoxes();
std::shared_ptr<ui::DialogService> MakeDialogs();
std::shared_ptr<ui::ScreenService> MakeScreen();
std::shared_ptr<Clipboard> MakeClipboard();

// VB's filter text "Text (*.txt)|*.txt|All (*.*)|*.*" as Qt name filters.
QStringList NameFilters(const std::u16string& vbFilter);

}  // namespace tarno::gui
