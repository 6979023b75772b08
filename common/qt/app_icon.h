#pragma once

#include <QIcon>

// The programs' window icon, drawn at start-up: a dialer module's face with a signal
// trace, in the sizes that window managers ask for.
QIcon appIcon();
