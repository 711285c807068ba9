#pragma once

// Milliseconds since an arbitrary start, from QueryPerformanceCounter.
double NowMilliseconds();
