// The views of each control type (control_views.cpp, list_views.cpp); the
// factory MakeControlView picks one.
#pragma once

#include <memory>

#include "gui/control_view.h"

namespace tarno::gui {

std::unique_ptr<ControlView> MakeListView(FormView& form, ui::ListView& view);
std::unique_ptr<ControlView> MakeTreeView(FormView& form, ui::TreeView& tree);

}  // namespace tarno::gui
