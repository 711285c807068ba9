#include "decimal_text.h"

#include <cmath>

std::string FixedPoint(double value, int decimals, bool withSign) {
    double scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    long long scaled = static_cast<long long>(std::floor(value * scale + 0.5));
    std::string text;
    if (scaled < 0 || withSign)
        text += scaled < 0 ? '-' : '+';
    if (scaled < 0)
        scaled = -scaled;
    std::string digits;
    for (int i = 0; i <= decimals || scaled != 0; ++i) {
        if (i == decimals && decimals > 0)
            digits.insert(digits.begin(), '.');
        digits.insert(digits.begin(), static_cast<char>('0' + scaled % 10));
        scaled /= 10;
    }
    return text + digits;
}
