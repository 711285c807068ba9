#pragma once

#include <string>

// `value` rounded to `decimals` places (0 to 9), with "." for the decimal
// point whatever the locale, and a "+" in front of a positive value when
// `withSign`. The C runtime's "%.2f" would cost the program MinGW's whole
// printf (some 25 KB).
std::string FixedPoint(double value, int decimals, bool withSign = false);
