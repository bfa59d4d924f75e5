// Toolkit view of a shown dialog, for the layer's own toolkit code and its tests.
// Interface thread only.
#pragma once

#include "dialogm/dialog.h"

class QWidget;

// The dialog's window, or null while it is not shown.
QWidget* dialog_widget(const Dialog& dialog);

// The toolkit control of the first item with this id, or null.
QWidget* dialog_control_widget(const Dialog& dialog, int32_t id);
