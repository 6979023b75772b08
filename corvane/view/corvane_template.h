#pragma once

#include "common/qt/control_table.h"

// Corvane's main dialog: its caption, size and every control in tab order, with the
// captions as the operator has always seen them (spelling included).
DialogTemplate corvaneTemplate();
