// The headless window toolkit: include this in a window's header.
#pragma once

#include "ui/basics.h"
#include "ui/control.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/input.h"
#include "ui/list_view.h"
#include "ui/services.h"
#include "ui/tree_view.h"
