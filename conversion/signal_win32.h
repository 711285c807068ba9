#pragma once

#include <windows.h>

#include "thread_tools.h"

// The event a Signal is on Windows, to be waited for with other objects.
HANDLE EventOf(const Signal& signal);
