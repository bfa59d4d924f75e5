// Left adjustment of a fixed-length text: leading blanks moved to the end.
// Pure function over the caller's buffer: any thread may call it.
#pragma once

// Moves the characters of buffer[0..length) left over its leading blanks and
// blank-fills the end, so the length stays the same. Null or length <= 0 does nothing.
void adjust_left(char* buffer, int length);
