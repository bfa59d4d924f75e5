// Saving the drawn curve as CSV, and the question asked before an unsaved curve is lost.
// Interface thread only.
#pragma once

// Asks for a file name and writes the drawn curve there (see model/curve_csv.h); true when it was
// written, false when the user cancelled or the write failed (reported in a message box). A
// written curve counts as saved until new points are drawn.
bool save_results();

// Asked before the drawn curve is lost (what says how, e.g. "before the program ends"): true when
// it may go, that is when nothing is unsaved, the user saved it now, or chose to discard it;
// false when the user cancelled or the save did not happen.
bool may_lose_curve(const char* what);

// The program's confirmation of the end (set_end_confirmation): may_lose_curve before the end.
bool confirm_program_end();
