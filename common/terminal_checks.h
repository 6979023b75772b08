#pragma once

#include <sys/types.h>

#include <string>

#include "common/serial_port.h"

// Facts about device nodes that the termios port needs before and after it opens one.

// Whether the character device rdev is this process's controlling terminal (the
// tty_nr of /proc/self/stat), /dev/tty itself, or the terminal on stdin, stdout or
// stderr. A port open on any of them would take the operator's own terminal.
bool isOwnTerminal(dev_t rdev);

// The name of a group, or its number when it has none.
std::string groupName(gid_t gid);

// What an errno from stat() or open() of a device node means for the operator.
PortProblem::Kind kindForOpenError(int error);
