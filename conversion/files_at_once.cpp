#include "files_at_once.h"

#include <algorithm>

#include "pipeline.h"

int FilesAtOnce(const ConversionSettings& settings) {
    const AnsiText& text = settings.m_filesAtOnce;
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    int number = 0;
    for (std::size_t i = first; first != AnsiText::npos && i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            number = 0;
            break;
        }
        number = std::min(number * 10 + (text[i] - '0'), kMostFilesAtOnce);
    }
    return std::min(number > 0 ? number : ProcessorCount(), kMostFilesAtOnce);
}
