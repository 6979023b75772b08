#pragma once

#include "common/qt/control_table.h"

// Halvard's settings dialog: its caption, size and its 27 controls in tab order.
DialogTemplate halvardTemplate();
