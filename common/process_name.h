#pragma once

#include <sys/types.h>

#include <string>

// The name a running process goes by ("halvard", "picocom"), as the kernel keeps it:
// at most 15 characters. Empty when the process is gone or its name may not be read.
std::string processName(pid_t pid);
