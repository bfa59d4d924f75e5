// Moving leading blanks of a fixed-length text to its end.
#include "text/adjust_left.h"

#include <cstring>

void adjust_left(char* buffer, int length) {
    if (!buffer || length <= 0) return;
    int lead = 0;
    while (lead < length && buffer[lead] == ' ')
        ++lead;
    if (lead == 0 || lead == length) return;
    std::memmove(buffer, buffer + lead, static_cast<size_t>(length - lead));
    std::memset(buffer + length - lead, ' ', static_cast<size_t>(lead));
}
